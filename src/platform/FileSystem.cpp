#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Exceptions.h"

namespace tvk {
namespace {

class DiskFileStream : public IFileStream {
public:
    DiskFileStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~DiskFileStream() override {
        if (fd_ >= 0) ::close(fd_);
    }
    size_t Read(void* buffer, size_t size) override {
        for (;;) {
            ssize_t n = ::read(fd_, buffer, size);
            if (n >= 0) return static_cast<size_t>(n);
            if (errno != EINTR) CFileException::ThrowErrno(path_);
        }
    }
    void Write(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                CFileException::ThrowErrno(path_);
            }
            p += n;
            size -= static_cast<size_t>(n);
        }
    }
    void Seek(int64_t position) override {
        if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) CFileException::ThrowErrno(path_);
    }
    int64_t Length() override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) CFileException::ThrowErrno(path_);
        return st.st_size;
    }
    void Close() override {
        int fd = fd_;
        fd_ = -1;
        if (fd >= 0 && ::close(fd) != 0) CFileException::ThrowErrno(path_);
    }

private:
    int fd_;
    std::string path_;
};

class DiskFileSystem : public IFileSystem {
public:
    std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) override {
        int flags = mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
        int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (fd < 0) CFileException::ThrowErrno(path);
        struct stat st;
        if (mode == Mode::Read && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            CFileException::ThrowErrno(EISDIR, path);
        }
        return std::make_unique<DiskFileStream>(fd, path);
    }
    bool Status(const std::string& path, FileStatus& status) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return false;
        status.size = st.st_size;
        status.modified = st.st_mtime;
        status.isDirectory = S_ISDIR(st.st_mode);
        return true;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
    void CreateDirectories(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        if (ec) CFileException::ThrowErrno(ec.value(), path);
    }
};

DiskFileSystem g_disk;
std::atomic<IFileSystem*> g_current{&g_disk};
thread_local IFileSystem* t_current = nullptr;

}  // namespace

IFileSystem& FileSystem() { return t_current ? *t_current : *g_current.load(); }
void SetFileSystem(IFileSystem* fs) { g_current.store(fs ? fs : &g_disk); }

CThreadFileSystem::CThreadFileSystem(IFileSystem& fs) : previous_(t_current) { t_current = &fs; }
CThreadFileSystem::~CThreadFileSystem() { t_current = previous_; }

// ---- memory -----------------------------------------------------------------

class CMemoryFileStream : public IFileStream {
public:
    CMemoryFileStream(CMemoryFileSystem* fs, std::shared_ptr<std::string> data, std::string path)
        : fs_(fs), data_(std::move(data)), path_(std::move(path)) {}
    size_t Read(void* buffer, size_t size) override {
        if (!data_ || pos_ >= data_->size()) return 0;
        size_t n = std::min(size, data_->size() - static_cast<size_t>(pos_));
        std::memcpy(buffer, data_->data() + pos_, n);
        pos_ += n;
        return n;
    }
    void Write(const void* data, size_t size) override {
        if (!data_) return;  // the null device
        {
            std::lock_guard<std::mutex> lock(fs_->mutex_);
            if (fs_->diskLimit_ >= 0 && fs_->written_ + static_cast<int64_t>(size) > fs_->diskLimit_)
                throw CFileException(CFileException::diskFull, ENOSPC, path_);
            fs_->written_ += static_cast<int64_t>(size);
        }
        if (data_->size() < pos_ + size) data_->resize(pos_ + size);
        std::memcpy(data_->data() + pos_, data, size);
        pos_ += size;
    }
    void Seek(int64_t position) override {
        if (position < 0) throw CFileException(CFileException::badSeek, EINVAL, path_);
        pos_ = static_cast<size_t>(position);
    }
    int64_t Length() override { return data_ ? static_cast<int64_t>(data_->size()) : 0; }
    void Close() override {}

private:
    CMemoryFileSystem* fs_;
    std::shared_ptr<std::string> data_;
    std::string path_;
    size_t pos_ = 0;
};

std::unique_ptr<IFileStream> CMemoryFileSystem::Open(const std::string& path, Mode mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (path == kNullDevice) return std::make_unique<CMemoryFileStream>(this, nullptr, path);
    auto it = files_.find(path);
    if (mode == Mode::Read) {
        if (it == files_.end()) throw CFileException(CFileException::fileNotFound, ENOENT, path);
        return std::make_unique<CMemoryFileStream>(this, it->second, path);
    }
    auto data = std::make_shared<std::string>();
    files_[path] = data;
    return std::make_unique<CMemoryFileStream>(this, data, path);
}

bool CMemoryFileSystem::Status(const std::string& path, FileStatus& status) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(path);
    if (it == files_.end()) return false;
    status.size = static_cast<int64_t>(it->second->size());
    status.modified = 0;
    status.isDirectory = false;
    return true;
}

bool CMemoryFileSystem::Remove(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return files_.erase(path) > 0;
}

void CMemoryFileSystem::CreateDirectories(const std::string&) {}

const std::string* CMemoryFileSystem::Contents(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(path);
    return it == files_.end() ? nullptr : it->second.get();
}

void CMemoryFileSystem::Put(const std::string& path, std::string bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[path] = std::make_shared<std::string>(std::move(bytes));
}

std::map<std::string, std::string> CMemoryFileSystem::Files() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::map<std::string, std::string> out;
    for (const auto& [path, data] : files_) out[path] = *data;
    return out;
}

}  // namespace tvk
