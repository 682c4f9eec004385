#include "file_check.hpp"

#include "crc.hpp"

namespace pendra {

void FileCheck::start() {
    known_ = true;
    length_ = 0;
    crc_ = 0;
    checkpoints_.clear();
    checkpoints_[0] = 0;
}

void FileCheck::forget() {
    known_ = false;
    checkpoints_.clear();
}

void FileCheck::add(std::string_view bytes) {
    if (!known_) return;
    crc_ = wire::crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), crc_);
    length_ += bytes.size();
    checkpoints_[length_] = crc_;
    while (checkpoints_.size() > kMaxCheckpoints) checkpoints_.erase(checkpoints_.begin());
}

bool FileCheck::cutTo(uint64_t offset) {
    if (!known_) return false;
    const auto at = checkpoints_.find(offset);
    if (at == checkpoints_.end()) {
        forget();
        return false;
    }
    length_ = offset;
    crc_ = at->second;
    checkpoints_.erase(std::next(at), checkpoints_.end());
    return true;
}

}  // namespace pendra
