// What the transfer tests share: a temporary folder for local files, a file
// layer that counts open files and fails on demand, and scripted terminals
// that serve an upload or take a download through the fake link layer.
#pragma once

#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "crc.hpp"
#include "file_bytes.hpp"
#include "library_fixture.hpp"
#include "platform/local_file.hpp"
#include "temporary_folder.hpp"
#include "terminal_requests.hpp"

namespace transfer_test {

using test_support::ReadAll;
using test_support::WriteAll;

// The platform's files, counted, with writes or reads that fail after a
// given number of successful ones (-1: never).
class CountingFileSystem final : public zelo::FileSystem {
public:
    int openFiles = 0;
    int writesBeforeFailure = -1;
    int readsBeforeFailure = -1;

    std::unique_ptr<zelo::LocalFile> open(const char* path, zelo::OpenMode mode) override {
        auto inner = zelo::platformFileSystem().open(path, mode);
        if (!inner) return nullptr;
        return std::make_unique<CountedFile>(std::move(inner), *this);
    }
    bool exists(const char* path) override { return zelo::platformFileSystem().exists(path); }
    bool replace(const char* from, const char* to) override {
        return zelo::platformFileSystem().replace(from, to);
    }
    bool remove(const char* path) override { return zelo::platformFileSystem().remove(path); }

private:
    class CountedFile final : public zelo::LocalFile {
    public:
        CountedFile(std::unique_ptr<zelo::LocalFile> inner, CountingFileSystem& owner)
            : inner_(std::move(inner)), owner_(owner) {
            ++owner_.openFiles;
        }
        ~CountedFile() override { --owner_.openFiles; }

        int64_t read(void* data, int64_t size) override {
            if (spend(owner_.readsBeforeFailure)) return -1;
            return inner_->read(data, size);
        }
        bool write(const void* data, int64_t size) override {
            if (spend(owner_.writesBeforeFailure)) return false;
            return inner_->write(data, size);
        }
        bool seek(int64_t position) override { return inner_->seek(position); }
        int64_t size() override { return inner_->size(); }
        bool sync() override { return inner_->sync(); }
        int32_t token() const override { return inner_->token(); }

    private:
        // True when this call is the one that fails.
        static bool spend(int& budget) {
            if (budget == 0) return true;
            if (budget > 0) --budget;
            return false;
        }
        std::unique_ptr<zelo::LocalFile> inner_;
        CountingFileSystem& owner_;
    };
};

// The whole-file check that ends a version-2 upload: CRC-32 and length,
// each low byte first.
inline std::string checkOf(const std::string& file) {
    const uint32_t crc =
        pendra::wire::crc32(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const auto length = static_cast<uint32_t>(file.size());
    std::string check;
    for (uint32_t value : {crc, length})
        for (int shift = 0; shift < 32; shift += 8) check += static_cast<char>(value >> shift);
    return check;
}

// A terminal holding one file, which it serves in packets from the position
// the last upload request named.
struct UploadTerminal {
    std::string file;
    std::size_t packetSize = 128;
    std::size_t position = 0;
    int16_t requestResult = 4;
    std::map<int, int16_t> packetFailures;  // packet request number -> result instead
    int packetRequests = 0;
    // Resume number (0 the first) -> result instead; such a resume is not
    // acted on, so the terminal goes on from where it was.
    std::map<int, int16_t> resumeFailures;
    int resumes = 0;
    // Ends the file with its CRC-32 and length, as a terminal speaking
    // version 2 does.
    bool endsWithCheck = false;

    std::optional<fake_pendra::Reply> answer(const fake_pendra::Call& call) {
        using fake_pendra::Fn;
        switch (call.fn) {
            case Fn::ESC_U: {
                const auto offset = fake_pendra::splitResume(call.request).offset;
                if (offset) {
                    const int number = resumes++;
                    if (auto failure = resumeFailures.find(number); failure != resumeFailures.end())
                        return reply(failure->second);
                }
                position = offset.value_or(0);
                return reply(requestResult);
            }
            case Fn::ESC_Y: {
                const int number = packetRequests++;
                if (auto failure = packetFailures.find(number); failure != packetFailures.end())
                    return reply(failure->second);
                if (position >= file.size()) return reply(3, endsWithCheck ? checkOf(file) : "");
                std::string chunk = file.substr(position, packetSize);
                position += chunk.size();
                return reply(1, std::move(chunk));
            }
            case Fn::ACK:
            case Fn::DBG: return reply(4);
            default: return std::nullopt;
        }
    }
};

// A terminal taking one file: data packets are decoded and kept, a resume
// request cuts what it holds back to the offset.
struct DownloadTerminal {
    std::string received;
    std::vector<std::size_t> packetSizes;
    std::vector<long> resumeOffsets;
    int16_t acceptResult = 4;
    std::map<int, int16_t> packetFailures;  // data packet number -> result instead
    int dataPackets = 0;
    // Resume number (0 the first) -> result instead; such a resume is not
    // acted on, so the terminal keeps what it holds.
    std::map<int, int16_t> resumeFailures;
    int resumes = 0;
    bool ended = false;
    bool cancelled = false;

    std::optional<fake_pendra::Reply> answer(const fake_pendra::Call& call) {
        using fake_pendra::Fn;
        if (call.fn == Fn::ACK) return reply(4);
        if (call.fn != Fn::DBG || call.request.empty()) return std::nullopt;
        switch (call.request[0]) {
            case 'L':
                if (auto offset = fake_pendra::splitResume(call.request.substr(1)).offset) {
                    const int number = resumes++;
                    if (auto failure = resumeFailures.find(number); failure != resumeFailures.end())
                        return reply(failure->second);
                    resumeOffsets.push_back(static_cast<long>(*offset));
                    received.resize(*offset);
                }
                return reply(4);
            case 'Y': {
                const int number = dataPackets++;
                if (auto failure = packetFailures.find(number); failure != packetFailures.end())
                    return reply(failure->second);
                const std::string bytes =
                    fake_pendra::unescape(std::string_view(call.request).substr(1));
                packetSizes.push_back(bytes.size());
                received += bytes;
                return reply(acceptResult);
            }
            case 'Z': ended = true; return reply(4);
            case 'z': cancelled = true; return reply(4);
            default: return std::nullopt;
        }
    }
};

// A writable local name buffer of an upload, as the callers pass it.
struct NameBuffer {
    char text[ZELO_LOCAL_NAME_SIZE] = {};
    explicit NameBuffer(const std::string& name) {
        std::strncpy(text, name.c_str(), sizeof text - 1);
    }
};

inline std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// Each test gets its own folder and the counting file layer.
class TransferTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        zelo::replaceFileSystemForTesting(&files);
    }
    void TearDown() override {
        LibraryTest::TearDown();  // closes what a test left open
        zelo::replaceFileSystemForTesting(nullptr);
    }

    std::string path(const std::string& name) const { return folder_.File(name); }

    // Lets `terminal` (an UploadTerminal or a DownloadTerminal) answer the link calls.
    template <typename Terminal>
    void serve(Terminal& terminal) {
        fake_pendra::setResponder(
            [&terminal](const fake_pendra::Call& call) { return terminal.answer(call); });
    }

    // The request texts sent with the generic request, in order.
    static std::vector<std::string> genericRequests() {
        std::vector<std::string> out;
        for (const auto& call : fake_pendra::callsOf(fake_pendra::Fn::DBG))
            out.push_back(call.request);
        return out;
    }

    CountingFileSystem files;

private:
    test_support::TemporaryFolder folder_{"zelo-transfer"};
};

}  // namespace transfer_test
