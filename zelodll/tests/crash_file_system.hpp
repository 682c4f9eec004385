// Files in memory that can show, after any step, what a crash would leave:
// a kill keeps everything written so far; a power cut keeps only the bytes
// a file had when it was last synced, and only the names the folder had
// when it was last made durable (a replace makes it so, as the platform's
// does). Each file operation is one step; `onStep` sees every one.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/local_file.hpp"

namespace transfer_test {

class CrashFileSystem final : public zelo::FileSystem {
public:
    using Files = std::map<std::string, std::string>;

    std::function<void()> onStep = [] {};

    void put(const std::string& path, const std::string& bytes) {
        auto node = std::make_shared<Node>();
        node->bytes = node->synced = bytes;
        names_[path] = node;
        durable_ = names_;
    }

    Files afterKill() const {
        Files files;
        for (const auto& [name, node] : names_) files[name] = node->bytes;
        return files;
    }
    Files afterPowerCut() const {
        Files files;
        for (const auto& [name, node] : durable_) files[name] = node->synced;
        return files;
    }

    std::unique_ptr<zelo::LocalFile> open(const char* path, zelo::OpenMode mode) override {
        using zelo::OpenMode;
        auto found = names_.find(path);
        const bool existing = mode == OpenMode::ExistingRead || mode == OpenMode::ExistingReadWrite;
        const bool createNew =
            mode == OpenMode::CreateNewWrite || mode == OpenMode::CreateNewReadWrite;
        if (existing && found == names_.end()) return nullptr;
        if (createNew && found != names_.end()) return nullptr;
        if (found == names_.end()) found = names_.emplace(path, std::make_shared<Node>()).first;
        if (mode == OpenMode::CreateWrite || mode == OpenMode::CreateReadWrite)
            found->second->bytes.clear();
        onStep();
        return std::make_unique<File>(found->second, *this);
    }
    bool exists(const char* path) override { return names_.count(path) != 0; }
    bool replace(const char* from, const char* to) override {
        auto found = names_.find(from);
        if (found == names_.end()) return false;
        names_[to] = found->second;
        names_.erase(from);
        durable_ = names_;
        onStep();
        return true;
    }
    bool remove(const char* path) override {
        const bool removed = names_.erase(path) != 0;
        onStep();
        return removed;
    }

private:
    struct Node {
        std::string bytes;
        std::string synced;
    };

    class File final : public zelo::LocalFile {
    public:
        File(std::shared_ptr<Node> node, CrashFileSystem& owner)
            : node_(std::move(node)), owner_(owner) {}
        ~File() override { owner_.onStep(); }

        int64_t read(void* data, int64_t size) override {
            const auto count = std::min<int64_t>(
                size, std::max<int64_t>(0, static_cast<int64_t>(node_->bytes.size()) - position_));
            node_->bytes.copy(static_cast<char*>(data), static_cast<std::size_t>(count),
                              static_cast<std::size_t>(position_));
            position_ += count;
            return count;
        }
        bool write(const void* data, int64_t size) override {
            const auto end = static_cast<std::size_t>(position_ + size);
            if (node_->bytes.size() < end) node_->bytes.resize(end);
            node_->bytes.replace(static_cast<std::size_t>(position_),
                                 static_cast<std::size_t>(size), static_cast<const char*>(data),
                                 static_cast<std::size_t>(size));
            position_ += size;
            owner_.onStep();
            return true;
        }
        bool seek(int64_t position) override {
            position_ = position;
            return true;
        }
        int64_t size() override { return static_cast<int64_t>(node_->bytes.size()); }
        bool sync() override {
            node_->synced = node_->bytes;
            owner_.onStep();
            return true;
        }
        int32_t token() const override { return 1; }

    private:
        std::shared_ptr<Node> node_;
        CrashFileSystem& owner_;
        int64_t position_ = 0;
    };

    std::map<std::string, std::shared_ptr<Node>> names_;
    std::map<std::string, std::shared_ptr<Node>> durable_;
};

}  // namespace transfer_test
