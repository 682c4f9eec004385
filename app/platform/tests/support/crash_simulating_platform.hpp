// The system's files as a crash leaves them, for tests of what survives a
// power cut: every file written through this platform is remembered as it
// was when last made durable (a flush of an open file, a whole file written
// with WriteNewFile, a replacement). Crash() puts every such file back to
// that state, dropping whatever was written but not synced, and a file that
// was never made durable disappears. Real files underneath, so the code
// under test and the checks read them as usual.
//
// A crash can also be set to come at the n-th change to the disk
// (CrashAtChange): from there on the process counts as dead, and every
// write, flush, replacement and open fails without touching anything.
// A replacement counts as durable at once; so does an emptied file only
// when it is flushed.
#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.hpp"

namespace zelo::platform::testing {

class CrashSimulatingPlatform : public SystemPlatform {
public:
    // Dies just before the `n`-th change to the disk (1 = the first);
    // 0 never.
    void CrashAtChange(long n) { crashAt_ = n; }
    // The changes to the disk so far (writes, flushes, whole files,
    // replacements, files opened for writing).
    long Changes() const { return changes_; }
    bool Dead() const { return dead_; }

    // The power goes: every file this platform wrote goes back to what was
    // last made durable. The process comes back alive.
    void Crash() {
        for (const auto& [path, durable] : durable_) {
            if (durable) {
                std::ofstream(path, std::ios::binary | std::ios::trunc) << *durable;
            } else {
                std::remove(path.c_str());
            }
        }
        dead_ = false;
        crashAt_ = 0;
    }

    bool WriteNewFile(const std::string& path, std::string_view contents) override {
        if (!Change()) return false;
        Track(path);
        if (!SystemPlatform::WriteNewFile(path, contents)) return false;
        durable_[path] = std::string(contents);
        return true;
    }
    bool ReplaceFile(const std::string& from, const std::string& to) override {
        if (!Change()) return false;
        Track(from);
        Track(to);
        if (!SystemPlatform::ReplaceFile(from, to)) return false;
        durable_[to] = durable_[from];
        durable_[from].reset();
        return true;
    }
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) override {
        if (!Change()) return nullptr;
        Track(path);
        auto file = SystemPlatform::OpenForAppend(path);
        if (!file) return nullptr;
        return std::make_unique<File>(*this, path, std::move(file));
    }
    std::unique_ptr<AppendFile> CreateEmpty(const std::string& path) override {
        if (!Change()) return nullptr;
        Track(path);
        auto file = SystemPlatform::CreateEmpty(path);
        if (!file) return nullptr;
        return std::make_unique<File>(*this, path, std::move(file));
    }

private:
    class File final : public AppendFile {
    public:
        File(CrashSimulatingPlatform& owner, std::string path, std::unique_ptr<AppendFile> inner)
            : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
        bool Write(std::string_view bytes) override {
            return owner_.Change() && inner_->Write(bytes);
        }
        bool Flush() override {
            if (!owner_.Change() || !inner_->Flush()) return false;
            owner_.durable_[path_] = Contents(path_);
            return true;
        }

    private:
        CrashSimulatingPlatform& owner_;
        std::string path_;
        std::unique_ptr<AppendFile> inner_;
    };

    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The first time a file is touched, what it held before counts as
    // durable (it was there before the test's run began).
    void Track(const std::string& path) {
        if (durable_.contains(path)) return;
        std::ifstream in(path, std::ios::binary);
        durable_[path] = in ? std::optional<std::string>(Contents(path)) : std::nullopt;
    }

    bool Change() {
        if (dead_) return false;
        ++changes_;
        if (crashAt_ > 0 && changes_ >= crashAt_) dead_ = true;
        return !dead_;
    }

    std::map<std::string, std::optional<std::string>> durable_;
    long changes_ = 0;
    long crashAt_ = 0;
    bool dead_ = false;
};

}  // namespace zelo::platform::testing
