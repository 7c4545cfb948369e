// A bound on the output files an export holds open at once. A writer with a
// file per layer (MIF/MID pairs, shapefile sets) may have thousands of them;
// each one attached to the pool keeps its handle and its write buffer only
// while it is among the most recently used. The least recently used one is
// flushed and closed to make room, and opened again (its bytes kept, at its
// position) the next time it is written, sought or closed. The bytes written
// are the same as with every file open.
#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace tvk {

class CFile;

class CFilePool {
public:
    // At most `maxOpen` files of the pool open at once (at least 1).
    explicit CFilePool(size_t maxOpen = DefaultMaxOpen());
    // Files still attached are left as they are, open or closed, without the pool.
    ~CFilePool();
    CFilePool(const CFilePool&) = delete;
    CFilePool& operator=(const CFilePool&) = delete;

    // The write buffer of a file of the pool: smaller than a lone file's, as
    // many are held at once; 64 KB still takes a system call per 64 KB.
    static constexpr size_t kBufferSize = size_t(1) << 16;

    // A quarter of the process's limit of open files, between 4 and 256:
    // room for the rest of the process, and at most 16 MB of write buffers.
    // Surveys of up to about a hundred layers never have a file closed.
    static size_t DefaultMaxOpen();

    size_t MaxOpen() const { return maxOpen_; }
    // Files of the pool holding an open handle now.
    size_t OpenCount() const { return open_.size(); }
    // How many times a file was closed to make room (for tests and benchmarks).
    uint64_t Parked() const { return parked_; }

private:
    friend class CFile;
    // `file` is about to hold an open handle: the least recently used other
    // one is closed first when the pool is full. Throws what closing it throws.
    void Admit(CFile& file);
    // `file` holds no handle any more (closed, aborted or attached elsewhere).
    void Release(CFile& file) noexcept;
    void Join(CFile& file) { members_.insert(&file); }
    void Leave(CFile& file) noexcept;
    uint64_t Tick() { return ++clock_; }
    // A write buffer of `size` bytes, the one a closed file gave back if any.
    std::vector<char> TakeBuffer(size_t size);
    void GiveBack(std::vector<char>&& buffer) noexcept;

    size_t maxOpen_;
    uint64_t clock_ = 0;
    uint64_t parked_ = 0;
    std::vector<CFile*> open_;  // at most maxOpen_, so a scan is cheap
    std::unordered_set<CFile*> members_;
    std::vector<char> spare_;
};

}  // namespace tvk
