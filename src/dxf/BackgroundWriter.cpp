#include "dxf/BackgroundWriter.h"

#include <utility>

namespace tvk {

CBackgroundWriter::~CBackgroundWriter() {
    {
        std::unique_lock lock(mutex_);
        WaitIdle(lock);
        stop_ = true;
    }
    work_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void CBackgroundWriter::WaitIdle(std::unique_lock<std::mutex>& lock) {
    idle_.wait(lock, [this] { return !busy_; });
}

void CBackgroundWriter::Write(CFile* file, std::vector<char>& chunk, size_t length) {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    job_.swap(chunk);
    jobLength_ = length;
    file_ = file;
    busy_ = true;
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    lock.unlock();
    work_.notify_one();
}

void CBackgroundWriter::Wait() {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void CBackgroundWriter::Cancel() noexcept {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    failure_ = nullptr;
}

void CBackgroundWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return busy_ || stop_; });
        if (!busy_) return;  // stopped
        lock.unlock();
        std::exception_ptr failure;
        try {
            file_->Write(job_.data(), jobLength_);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        busy_ = false;
        idle_.notify_all();
    }
}

}  // namespace tvk
