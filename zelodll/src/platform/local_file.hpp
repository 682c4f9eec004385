// Local files of the transfers, behind a small interface so that the
// platform's own file calls sit in one place and tests can inject faults
// (a full disk, a read error in the middle of a file).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zelo {

// How a local file is opened. Every mode opens the file not shared: no other
// opener gets it while the transfer holds it (advisory on POSIX).
enum class OpenMode {
    CreateWrite,         // create, replacing any file of that name; write
    CreateReadWrite,     // create, replacing any file of that name; read and write
    ExistingReadWrite,   // open an existing file for reading and writing
    CreateNewWrite,      // create only if no file of that name exists; write
    CreateNewReadWrite,  // create only if no file of that name exists; read and write
    ExistingRead,        // open an existing file for reading
};

class LocalFile {
public:
    virtual ~LocalFile() = default;  // closes the file

    // Reads up to `size` bytes. Returns the count read, 0 at the end of the
    // file, -1 on an error.
    virtual int64_t read(void* data, int64_t size) = 0;
    // Writes all `size` bytes; false when any of them could not be written.
    virtual bool write(const void* data, int64_t size) = 0;
    // Sets the position from the start of the file.
    virtual bool seek(int64_t position) = 0;
    // The file's length in bytes, -1 when it cannot be told.
    virtual int64_t size() = 0;
    // Puts what was written on stable storage; false when that failed.
    virtual bool sync() = 0;
    // A number that identifies the open file to the caller (never 0).
    virtual int32_t token() const = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // nullptr when the file cannot be opened in that mode.
    virtual std::unique_ptr<LocalFile> open(const char* path, OpenMode mode) = 0;
    virtual bool exists(const char* path) = 0;
    // Puts the file `from` in place of `to` in one step, replacing any file
    // of that name, and makes the new name last across a power cut. Both in
    // one folder. False when it did not happen (`to` is then as it was).
    virtual bool replace(const char* from, const char* to) = 0;
    // Removes the file; false when it could not.
    virtual bool remove(const char* path) = 0;
};

// The platform's file system, or the one a test put in its place.
FileSystem& fileSystem();

// Puts `replacement` in place of the platform's file system; nullptr puts the
// platform's back. For tests only.
void replaceFileSystemForTesting(FileSystem* replacement);

// The platform's own file system.
FileSystem& platformFileSystem();

// The system's reason, in its own words ("Permission denied"), for the file
// call of this thread that failed last; empty when the system gave none.
// Read it straight after the failure: any later system call may replace it.
std::string lastSystemErrorText();

// Whether `c` separates folders in a path on this platform.
bool isPathSeparator(char c);

}  // namespace zelo
