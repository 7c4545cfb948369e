#include "platform/File.h"

#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/FilePool.h"

namespace tvk {

CFile::~CFile() { Abort(); }

void CFile::Open(const std::string& path, unsigned flags) {
    const bool writing = (flags & modeWrite) != 0;
    Attach(FileSystem().Open(path, writing ? IFileSystem::Mode::Write : IFileSystem::Mode::Read), path);
    writing_ = writing;
}

void CFile::Reset(std::unique_ptr<IFileStream> stream, const std::string& path) {
    Abort();
    writing_ = true;
    stream_ = std::move(stream);
    path_ = path;
    position_ = 0;
    bufStart_ = bufEnd_ = 0;
}

void CFile::Attach(std::unique_ptr<IFileStream> stream, const std::string& path) {
    Reset(std::move(stream), path);
    buffer_.resize(kBufferSize);
}

void CFile::Attach(std::unique_ptr<IFileStream> stream, const std::string& path, CFilePool& pool, Reopener reopen) {
    Reset(std::move(stream), path);
    pool_ = &pool;
    reopen_ = std::move(reopen);
    pool.Join(*this);
    if (buffer_.size() != CFilePool::kBufferSize) buffer_ = pool.TakeBuffer(CFilePool::kBufferSize);
    lastUse_ = pool.Tick();
    pool.Admit(*this);
}

bool CFile::UsePooled() {
    if (!stream_) {
        if (!parked_) return false;
        Resume();
    }
    lastUse_ = pool_->Tick();
    return true;
}

void CFile::Park() {
    try {
        Flush();
        stream_->Close();
    } catch (...) {
        // The file is failed: later uses throw, and the export with them.
        stream_.reset();
        bufStart_ = bufEnd_ = 0;
        throw;
    }
    stream_.reset();
    parked_ = true;
    pool_->GiveBack(std::move(buffer_));
    bufStart_ = bufEnd_ = 0;
}

void CFile::Resume() {
    pool_->Admit(*this);
    try {
        std::unique_ptr<IFileStream> stream = reopen_();
        if (position_ != 0) stream->Seek(position_);
        stream_ = std::move(stream);
    } catch (...) {
        pool_->Release(*this);
        throw;
    }
    parked_ = false;
    buffer_ = pool_->TakeBuffer(CFilePool::kBufferSize);
    bufStart_ = bufEnd_ = 0;
}

void CFile::Unpool() noexcept {
    if (!pool_) return;
    pool_->Leave(*this);
    if (!buffer_.empty()) pool_->GiveBack(std::move(buffer_));
    pool_ = nullptr;
    reopen_ = nullptr;
    parked_ = false;
}

bool CFile::FillReadBuffer() {
    bufStart_ = 0;
    bufEnd_ = stream_->Read(buffer_.data(), buffer_.size());
    return bufEnd_ > 0;
}

size_t CFile::Read(void* buffer, size_t size) {
    if (!Ready()) throw CFileException(CFileException::invalidFile, EBADF, path_);
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < size) {
        if (bufStart_ == bufEnd_ && !FillReadBuffer()) break;
        size_t n = std::min(size - done, bufEnd_ - bufStart_);
        std::memcpy(out + done, buffer_.data() + bufStart_, n);
        bufStart_ += n;
        done += n;
    }
    position_ += static_cast<int64_t>(done);
    return done;
}

void CFile::Write(const void* data, size_t size) {
    if (!Ready()) throw CFileException(CFileException::invalidFile, EBADF, path_);
    const char* p = static_cast<const char*>(data);
    position_ += static_cast<int64_t>(size);
    if (size >= buffer_.size()) {
        Flush();
        stream_->Write(p, size);
        return;
    }
    if (bufEnd_ + size > buffer_.size()) Flush();
    std::memcpy(buffer_.data() + bufEnd_, p, size);
    bufEnd_ += size;
}

void CFile::Flush() {
    if (!stream_ || !writing_ || bufEnd_ == 0) return;
    size_t n = bufEnd_;
    bufEnd_ = 0;
    stream_->Write(buffer_.data(), n);
}

void CFile::Seek(int64_t position) {
    if (!Ready()) throw CFileException(CFileException::invalidFile, EBADF, path_);
    if (position < 0) throw CFileException(CFileException::badSeek, EINVAL, path_);
    Flush();
    bufStart_ = bufEnd_ = 0;
    stream_->Seek(position);
    position_ = position;
}

int64_t CFile::GetLength() {
    if (!Ready()) throw CFileException(CFileException::invalidFile, EBADF, path_);
    Flush();
    return stream_->Length();
}

void CFile::Close() {
    // A file the pool closed was flushed and closed then: nothing is left to write.
    if (!stream_) {
        Unpool();
        return;
    }
    try {
        Flush();
        stream_->Close();
    } catch (...) {
        stream_.reset();
        Unpool();
        throw;
    }
    stream_.reset();
    Unpool();
}

void CFile::Abort() noexcept {
    if (stream_) {
        try {
            stream_->Close();
        } catch (...) {
        }
        stream_.reset();
    }
    bufStart_ = bufEnd_ = 0;
    Unpool();
}

void CStdioFile::WriteString(std::string_view text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!nl) {
            Write(p, static_cast<size_t>(end - p));
            return;
        }
        Write(p, static_cast<size_t>(nl - p));
        Write("\r\n", 2);
        p = nl + 1;
    }
}

bool CStdioFile::ReadString(char* buffer, size_t size) { return ReadLine(buffer, size) > 0; }

size_t CStdioFile::ReadLine(char* buffer, size_t size) {
    if (!stream_) throw CFileException(CFileException::invalidFile, EBADF, path_);
    if (size == 0) return 0;
    size_t room = size - 1;
    size_t got = 0;
    while (got < room && !endOfText_) {
        if (bufStart_ == bufEnd_ && !FillReadBuffer()) break;
        const char* start = buffer_.data() + bufStart_;
        size_t avail = std::min(bufEnd_ - bufStart_, room - got);
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
        size_t span = nl ? static_cast<size_t>(nl - start) + 1 : avail;
        // Fast path: nothing special in this span but, at most, the CR of a
        // CR LF that ends it (every line of a file written on Windows).
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', span));
        if ((!cr || (nl && cr + 1 == nl)) && !std::memchr(start, 0x1A, span)) {
            const size_t copied = cr ? span - 2 : span;
            std::memcpy(buffer + got, start, copied);
            got += copied;
            if (cr) buffer[got++] = '\n';
            bufStart_ += span;
            position_ += static_cast<int64_t>(span);
            if (nl) break;
            continue;
        }
        // Slow path, byte by byte.
        bool lineDone = false;
        while (got < room && !lineDone) {
            if (bufStart_ == bufEnd_ && !FillReadBuffer()) break;
            char c = buffer_[bufStart_];
            if (c == 0x1A) {
                endOfText_ = true;
                break;
            }
            ++bufStart_;
            ++position_;
            if (c == '\r') {
                if (bufStart_ == bufEnd_ && !FillReadBuffer()) {
                    buffer[got++] = c;
                    break;
                }
                if (buffer_[bufStart_] == '\n') {
                    ++bufStart_;
                    ++position_;
                    c = '\n';
                }
            }
            buffer[got++] = c;
            if (c == '\n') lineDone = true;
        }
        if (lineDone) break;
    }
    buffer[got] = 0;
    return got;
}

}  // namespace tvk
