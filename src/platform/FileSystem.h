// The table of file operations every reader and writer goes through, so that
// tests can run a writer against memory as well as against the disk.
#pragma once
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace tvk {

// The null device: whatever is written to it is discarded.
inline constexpr const char* kNullDevice = "/dev/null";

struct FileStatus {
    int64_t size = 0;
    std::time_t modified = 0;
    bool isDirectory = false;
    // A device, pipe or socket: an export writes into it where it is.
    bool isSpecial = false;
    // The file's identity where the file system has one (both 0 otherwise).
    uint64_t device = 0;
    uint64_t inode = 0;
};

// Held while an export writes into a folder; dropping it lets the next one in.
class IFolderLock {
public:
    virtual ~IFolderLock() = default;
};

// One open file, seen as bytes. Every failure throws CFileException naming the file.
class IFileStream {
public:
    virtual ~IFileStream() = default;
    virtual size_t Read(void* buffer, size_t size) = 0;  // 0 at end of file
    virtual void Write(const void* data, size_t size) = 0;
    virtual void Seek(int64_t position) = 0;  // from the start
    virtual int64_t Length() = 0;
    virtual void Close() = 0;
};

class IFileSystem {
public:
    enum class Mode {
        Read,
        Write,      // create or truncate
        CreateNew,  // create; fails (EEXIST) when the path exists
        Update,     // an existing file for writing, its bytes kept (to reopen one)
    };
    virtual ~IFileSystem() = default;
    virtual std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) = 0;
    // False when nothing exists at the path.
    virtual bool Status(const std::string& path, FileStatus& status) = 0;
    // False when the file could not be removed; never throws.
    virtual bool Remove(const std::string& path) = 0;
    // Creates every missing level; throws CFileException.
    virtual void CreateDirectories(const std::string& path) = 0;

    // What an export needs to put its files in place all at once. Each has a
    // default that writes nothing, for file systems that only read.

    // Puts the file `from` in place of `to` in one step, replacing any file
    // there (both in one folder); throws CFileException. Default: refuses.
    virtual void Rename(const std::string& from, const std::string& to);
    // Swaps the files `a` and `b` (both existing, in one folder) in one step;
    // false when that cannot be done, never throws. Default: false.
    virtual bool Exchange(const std::string& a, const std::string& b);
    // The names in `folder` ("." and ".." left out); empty when it cannot be
    // read. Default: empty.
    virtual std::vector<std::string> List(const std::string& folder);
    // An exclusive advisory lock on `folder` between exports (also two in one
    // process), or nullptr while another holds it. Throws CFileException when
    // the folder does not exist. Default: a lock that guards nothing.
    virtual std::unique_ptr<IFolderLock> TryLockFolder(const std::string& folder);
    // `path` with symbolic links, "." and ".." resolved as far as it exists.
    // Default: the path made lexically normal.
    virtual std::string CanonicalPath(const std::string& path);
};

// What tells two names of one file apart from two files: the same device
// and inode when both exist (and the file system has them), otherwise the
// same canonical path.
struct FileIdentity {
    std::string canonical;
    FileStatus status;
    bool exists = false;
    bool IsSameFile(const FileIdentity& other) const;
};
FileIdentity IdentityOf(IFileSystem& fs, const std::string& path);
bool IsSameFile(IFileSystem& fs, const std::string& a, const std::string& b);

// The table of the calling thread while a CThreadFileSystem scope is open on
// it, else the process-wide table: the disk unless a test installed another.
IFileSystem& FileSystem();
// Installs `fs` (not owned) process-wide; nullptr restores the disk.
void SetFileSystem(IFileSystem* fs);

// Routes FileSystem() on the calling thread alone to `fs` (not owned) while
// the object lives; scopes nest. A host that brings its own file layer (the
// GDAL driver reads through GDAL's virtual files) uses it, so that other
// threads keep the process-wide table.
class CThreadFileSystem {
public:
    explicit CThreadFileSystem(IFileSystem& fs);
    ~CThreadFileSystem();
    CThreadFileSystem(const CThreadFileSystem&) = delete;
    CThreadFileSystem& operator=(const CThreadFileSystem&) = delete;

private:
    IFileSystem* previous_;
};

// Files kept in memory, for tests of the writers.
class CMemoryFileSystem : public IFileSystem {
public:
    std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) override;
    bool Status(const std::string& path, FileStatus& status) override;
    bool Remove(const std::string& path) override;
    void CreateDirectories(const std::string& path) override;
    void Rename(const std::string& from, const std::string& to) override;
    bool Exchange(const std::string& a, const std::string& b) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::unique_ptr<IFolderLock> TryLockFolder(const std::string& folder) override;

    // The bytes of a file, or nullptr when there is none.
    const std::string* Contents(const std::string& path) const;
    void Put(const std::string& path, std::string bytes);
    std::map<std::string, std::string> Files() const;
    // From now on, writing more than `limit` bytes in total fails like a full disk.
    void SetDiskLimit(int64_t limit) { diskLimit_ = limit; }
    // The bytes written so far, as the limit counts them.
    int64_t Written() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return written_;
    }

private:
    friend class CMemoryFileStream;
    friend class CMemoryFolderLock;
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<std::string>> files_;
    int64_t diskLimit_ = -1;
    int64_t written_ = 0;
    std::set<std::string> lockedFolders_;  // lexically normal
};

}  // namespace tvk
