// Writes chunks of bytes to a file on a thread of its own, one chunk at a
// time, so that the system's copying of one chunk overlaps the making of the
// next. Only this thread touches the file between Write and Wait.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/File.h"

namespace tvk {

class CBackgroundWriter {
public:
    CBackgroundWriter() = default;
    ~CBackgroundWriter();
    CBackgroundWriter(const CBackgroundWriter&) = delete;
    CBackgroundWriter& operator=(const CBackgroundWriter&) = delete;

    // Contract: waits for the chunk before, rethrows its failure (the
    // CFileException of the file), then takes the first `length` bytes of
    // `chunk` for writing to `file` and gives back in `chunk` a buffer of its
    // own (empty at first) for the caller to fill next.
    void Write(CFile* file, std::vector<char>& chunk, size_t length);
    // Contract: returns when every chunk is written; rethrows a failure.
    void Wait();
    // Waits for the chunk being written and forgets any failure (after a
    // failure elsewhere, before the file is closed or deleted).
    void Cancel() noexcept;

private:
    void Run();
    void WaitIdle(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable work_, idle_;
    std::thread thread_;
    CFile* file_ = nullptr;
    std::vector<char> job_;
    size_t jobLength_ = 0;
    bool busy_ = false, stop_ = false;
    std::exception_ptr failure_;
};

}  // namespace tvk
