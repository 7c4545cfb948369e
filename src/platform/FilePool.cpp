#include "platform/FilePool.h"

#include <sys/resource.h>

#include <algorithm>

#include "platform/File.h"

namespace tvk {

CFilePool::CFilePool(size_t maxOpen) : maxOpen_(std::max<size_t>(maxOpen, 1)) {}

CFilePool::~CFilePool() {
    for (CFile* file : members_) {
        file->pool_ = nullptr;
        file->parked_ = false;
    }
}

size_t CFilePool::DefaultMaxOpen() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 256;
    return std::clamp<size_t>(static_cast<size_t>(limit.rlim_cur) / 4, 4, 256);
}

void CFilePool::Admit(CFile& file) {
    if (std::find(open_.begin(), open_.end(), &file) != open_.end()) return;
    if (open_.size() >= maxOpen_) {
        auto oldest = std::min_element(open_.begin(), open_.end(),
                                       [](const CFile* a, const CFile* b) { return a->lastUse_ < b->lastUse_; });
        CFile* victim = *oldest;
        open_.erase(oldest);
        ++parked_;
        victim->Park();  // may throw: the victim is then closed and failed
    }
    open_.push_back(&file);
}

void CFilePool::Release(CFile& file) noexcept {
    auto it = std::find(open_.begin(), open_.end(), &file);
    if (it != open_.end()) open_.erase(it);
}

void CFilePool::Leave(CFile& file) noexcept {
    Release(file);
    members_.erase(&file);
}

std::vector<char> CFilePool::TakeBuffer(size_t size) {
    std::vector<char> buffer;
    if (spare_.size() == size) buffer.swap(spare_);
    else buffer.resize(size);
    return buffer;
}

void CFilePool::GiveBack(std::vector<char>&& buffer) noexcept {
    if (spare_.empty()) spare_.swap(buffer);
    std::vector<char>().swap(buffer);
}

}  // namespace tvk
