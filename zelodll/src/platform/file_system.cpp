#include "platform/local_file.hpp"

namespace zelo {

namespace {
FileSystem* g_replacement = nullptr;
}

FileSystem& fileSystem() { return g_replacement ? *g_replacement : platformFileSystem(); }

void replaceFileSystemForTesting(FileSystem* replacement) { g_replacement = replacement; }

}  // namespace zelo
