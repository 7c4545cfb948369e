// The table of file operations every reader and writer goes through, so that
// tests can run a writer against memory as well as against the disk.
#pragma once
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace tvk {

// The null device: whatever is written to it is discarded.
inline constexpr const char* kNullDevice = "/dev/null";

struct FileStatus {
    int64_t size = 0;
    std::time_t modified = 0;
    bool isDirectory = false;
};

// One open file, seen as bytes. Every failure throws CFileException naming the file.
class IFileStream {
public:
    virtual ~IFileStream() = default;
    virtual size_t Read(void* buffer, size_t size) = 0;  // 0 at end of file
    virtual void Write(const void* data, size_t size) = 0;
    virtual void Seek(int64_t position) = 0;              // from the start
    virtual int64_t Length() = 0;
    virtual void Close() = 0;
};

class IFileSystem {
public:
    enum class Mode { Read, Write /* create or truncate */ };
    virtual ~IFileSystem() = default;
    virtual std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) = 0;
    // False when nothing exists at the path.
    virtual bool Status(const std::string& path, FileStatus& status) = 0;
    // False when the file could not be removed; never throws.
    virtual bool Remove(const std::string& path) = 0;
    // Creates every missing level; throws CFileException.
    virtual void CreateDirectories(const std::string& path) = 0;
};

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

    // The bytes of a file, or nullptr when there is none.
    const std::string* Contents(const std::string& path) const;
    void Put(const std::string& path, std::string bytes);
    std::map<std::string, std::string> Files() const;
    // From now on, writing more than `limit` bytes in total fails like a full disk.
    void SetDiskLimit(int64_t limit) { diskLimit_ = limit; }

private:
    friend class CMemoryFileStream;
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<std::string>> files_;
    int64_t diskLimit_ = -1;
    int64_t written_ = 0;
};

}  // namespace tvk
