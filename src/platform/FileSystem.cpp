#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Exceptions.h"

namespace tvk {
namespace {

// A folder path made lexically normal, without a trailing separator ("."
// for the current folder).
std::string NormalFolder(const std::string& folder) {
    std::string s = std::filesystem::path(folder.empty() ? "." : folder).lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s.empty() ? "." : s;
}

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

int OpenFlags(IFileSystem::Mode mode) {
    switch (mode) {
    case IFileSystem::Mode::Read: return O_RDONLY;
    case IFileSystem::Mode::Write: return O_WRONLY | O_CREAT | O_TRUNC;
    case IFileSystem::Mode::CreateNew: return O_WRONLY | O_CREAT | O_EXCL;
    case IFileSystem::Mode::Update: return O_WRONLY;
    }
    return O_RDONLY;
}

// A lock that guards nothing: the file system has no locks to give.
class NoFolderLock : public IFolderLock {};

class DiskFolderLock : public IFolderLock {
public:
    explicit DiskFolderLock(int fd) : fd_(fd) {}
    ~DiskFolderLock() override { ::close(fd_); }  // closing releases the flock

private:
    int fd_;
};

class DiskFileSystem : public IFileSystem {
public:
    std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) override {
        int fd = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
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
        status.isSpecial = S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
        status.device = static_cast<uint64_t>(st.st_dev);
        status.inode = static_cast<uint64_t>(st.st_ino);
        return true;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
    void CreateDirectories(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        if (ec) CFileException::ThrowErrno(ec.value(), path);
    }
    void Rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) CFileException::ThrowErrno(to);
    }
    bool Exchange(const std::string& a, const std::string& b) override {
        return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
    }
    std::vector<std::string> List(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return names;
        while (const dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(std::move(name));
        }
        ::closedir(dir);
        return names;
    }
    std::unique_ptr<IFolderLock> TryLockFolder(const std::string& folder) override {
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT || errno == ENOTDIR) CFileException::ThrowErrno(folder);
            return std::make_unique<NoFolderLock>();  // e.g. a folder we may write but not read
        }
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<DiskFolderLock>(fd);
            if (errno == EINTR) continue;
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            // A file system without locks (some network ones) is written unguarded.
            return held ? nullptr : std::make_unique<NoFolderLock>();
        }
    }
    std::string CanonicalPath(const std::string& path) override {
        std::error_code ec;
        std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
        return ec ? IFileSystem::CanonicalPath(path) : full.string();
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

// ---- defaults for file systems that only read ---------------------------------

void IFileSystem::Rename(const std::string&, const std::string& to) {
    throw CFileException(CFileException::accessDenied, EROFS, to);
}

bool IFileSystem::Exchange(const std::string&, const std::string&) { return false; }

std::vector<std::string> IFileSystem::List(const std::string&) { return {}; }

std::unique_ptr<IFolderLock> IFileSystem::TryLockFolder(const std::string&) { return std::make_unique<NoFolderLock>(); }

std::string IFileSystem::CanonicalPath(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

bool FileIdentity::IsSameFile(const FileIdentity& other) const {
    if (exists && other.exists && status.inode != 0 && other.status.inode != 0)
        return status.device == other.status.device && status.inode == other.status.inode;
    return canonical == other.canonical;
}

FileIdentity IdentityOf(IFileSystem& fs, const std::string& path) {
    FileIdentity identity;
    identity.exists = fs.Status(path, identity.status);
    identity.canonical = fs.CanonicalPath(path);
    return identity;
}

bool IsSameFile(IFileSystem& fs, const std::string& a, const std::string& b) {
    return IdentityOf(fs, a).IsSameFile(IdentityOf(fs, b));
}

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
    if (mode == Mode::Read || mode == Mode::Update) {
        if (it == files_.end()) throw CFileException(CFileException::fileNotFound, ENOENT, path);
        return std::make_unique<CMemoryFileStream>(this, it->second, path);
    }
    if (mode == Mode::CreateNew && it != files_.end()) CFileException::ThrowErrno(EEXIST, path);
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

void CMemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = files_.find(from);
    if (it == files_.end()) CFileException::ThrowErrno(ENOENT, from);
    std::shared_ptr<std::string> data = it->second;
    files_.erase(it);
    files_[to] = std::move(data);
}

bool CMemoryFileSystem::Exchange(const std::string& a, const std::string& b) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto first = files_.find(a), second = files_.find(b);
    if (first == files_.end() || second == files_.end()) return false;
    std::swap(first->second, second->second);
    return true;
}

std::vector<std::string> CMemoryFileSystem::List(const std::string& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string wanted = NormalFolder(folder);
    std::vector<std::string> names;
    for (const auto& entry : files_) {
        const std::string& path = entry.first;
        size_t cut = path.rfind('/');
        if (NormalFolder(cut == std::string::npos ? "" : path.substr(0, cut)) == wanted)
            names.push_back(path.substr(cut == std::string::npos ? 0 : cut + 1));
    }
    return names;
}

class CMemoryFolderLock : public IFolderLock {
public:
    CMemoryFolderLock(CMemoryFileSystem& fs, std::string folder) : fs_(fs), folder_(std::move(folder)) {}
    ~CMemoryFolderLock() override {
        std::lock_guard<std::mutex> lock(fs_.mutex_);
        fs_.lockedFolders_.erase(folder_);
    }

private:
    CMemoryFileSystem& fs_;
    std::string folder_;
};

std::unique_ptr<IFolderLock> CMemoryFileSystem::TryLockFolder(const std::string& folder) {
    std::string key = NormalFolder(folder);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!lockedFolders_.insert(key).second) return nullptr;
    return std::make_unique<CMemoryFolderLock>(*this, std::move(key));
}

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
