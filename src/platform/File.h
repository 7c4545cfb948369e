// Buffered file objects over the process-wide file table: CFile writes and reads
// bytes as they are, CStdioFile is the text-mode file (LF becomes CR LF on
// writing; on reading CR LF becomes LF and a byte 0x1A ends the text).
// Positions are 64-bit. Every failure throws CFileException naming the file.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FilePool.h"
#include "platform/FileSystem.h"

namespace tvk {

class CFilePool;

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,      // with modeWrite: create or truncate
        shareDenyWrite = 0x0020,  // accepted for the callers' sake; Linux has no share modes
    };

    CFile() = default;
    CFile(const std::string& path, unsigned flags) { Open(path, flags); }
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    void Open(const std::string& path, unsigned flags);
    // Writes through `stream` (already open for writing) as the file `path`.
    void Attach(std::unique_ptr<IFileStream> stream, const std::string& path);
    // Opens the file `path` (for writing, its bytes kept) again.
    using Reopener = std::function<std::unique_ptr<IFileStream>()>;
    // Writes through `stream` as `path`, as one of `pool`'s files: the pool
    // may close it while others are in use; `reopen` gives it back when it
    // is used again. `pool` must outlive the file's use of it (Close, Abort,
    // another Attach or the destructor end it).
    void Attach(std::unique_ptr<IFileStream> stream, const std::string& path, CFilePool& pool, Reopener reopen);
    bool IsOpen() const { return stream_ != nullptr || parked_; }
    const std::string& GetFilePath() const { return path_; }

    // Up to `size` bytes; fewer only at the end of the file.
    size_t Read(void* buffer, size_t size);
    void Write(const void* data, size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

    int64_t GetPosition() const { return position_; }
    void Seek(int64_t position);
    int64_t GetLength();
    // Writes the buffered bytes out.
    void Flush();
    // Flushes and closes; throws when the last bytes cannot be written.
    void Close();
    // Closes without throwing (after a failure, before deleting the file).
    void Abort() noexcept;

protected:
    static constexpr size_t kBufferSize = 1 << 18;
    bool FillReadBuffer();
    // Whether there is a stream to use, reopened when the pool closed it.
    bool Ready() {
        if (!pool_) return stream_ != nullptr;
        // Every write comes here: an open pooled file only notes its use.
        if (!stream_) return UsePooled();
        lastUse_ = pool_->Tick();
        return true;
    }

    std::unique_ptr<IFileStream> stream_;
    std::string path_;
    bool writing_ = false;
    int64_t position_ = 0;  // logical position of the next byte read or written
    std::vector<char> buffer_;
    size_t bufStart_ = 0, bufEnd_ = 0;  // unread bytes (reading) / unused (writing: bufEnd_ is the fill)

private:
    friend class CFilePool;
    void Reset(std::unique_ptr<IFileStream> stream, const std::string& path);
    bool UsePooled();
    // Called by the pool to make room: flushes and closes, keeping the position.
    void Park();
    void Resume();
    void Unpool() noexcept;

    CFilePool* pool_ = nullptr;
    Reopener reopen_;
    uint64_t lastUse_ = 0;
    bool parked_ = false;  // closed by the pool, reopened on the next use
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    CStdioFile(const std::string& path, unsigned flags) : CFile(path, flags) {}

    // Writes the text, every "\n" as CR LF.
    void WriteString(std::string_view text);
    // Reads like fgets: at most size - 1 characters, up to and including the
    // next "\n", NUL-terminated. Returns false at the end of the text (end of
    // file or a byte 0x1A) with nothing read. GetPosition() then counts the
    // bytes of the file consumed, CRs included.
    bool ReadString(char* buffer, size_t size);
    // The same, returning the number of characters read (0 at the end of the
    // text): a line may hold NUL bytes, so its length is not strlen's.
    size_t ReadLine(char* buffer, size_t size);

private:
    bool endOfText_ = false;
};

}  // namespace tvk
