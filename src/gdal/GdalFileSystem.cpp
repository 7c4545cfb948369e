#include "gdal/GdalFileSystem.h"

#include <cerrno>

#include "cpl_vsi.h"
#include "platform/Exceptions.h"

namespace tlxgdal {
namespace {

using tvk::CFileException;

[[noreturn]] void ThrowReadOnly(const std::string& path) { CFileException::ThrowErrno(EROFS, path); }

class CGdalFileStream : public tvk::IFileStream {
public:
    CGdalFileStream(VSILFILE* file, std::string path) : file_(file), path_(std::move(path)) {}
    ~CGdalFileStream() override {
        if (file_) VSIFCloseL(file_);
    }
    size_t Read(void* buffer, size_t size) override {
        // Some virtual files return short before their end; a read that
        // returns nothing short of the end failed (a broken download, a
        // damaged archive).
        char* out = static_cast<char*>(buffer);
        size_t done = 0;
        while (done < size) {
            size_t n = VSIFReadL(out + done, 1, size - done, file_);
            if (n == 0) {
                if (!VSIFEofL(file_)) CFileException::ThrowErrno(EIO, path_);
                break;
            }
            done += n;
        }
        return done;
    }
    void Write(const void*, size_t) override { ThrowReadOnly(path_); }
    void Seek(int64_t position) override {
        if (position < 0 || VSIFSeekL(file_, static_cast<vsi_l_offset>(position), SEEK_SET) != 0)
            CFileException::ThrowErrno(ESPIPE, path_);
    }
    int64_t Length() override {
        vsi_l_offset here = VSIFTellL(file_);
        if (VSIFSeekL(file_, 0, SEEK_END) != 0) CFileException::ThrowErrno(ESPIPE, path_);
        vsi_l_offset end = VSIFTellL(file_);
        if (VSIFSeekL(file_, here, SEEK_SET) != 0) CFileException::ThrowErrno(ESPIPE, path_);
        return static_cast<int64_t>(end);
    }
    void Close() override {
        VSILFILE* file = file_;
        file_ = nullptr;
        if (file && VSIFCloseL(file) != 0) CFileException::ThrowErrno(EIO, path_);
    }

private:
    VSILFILE* file_;
    std::string path_;
};

}  // namespace

std::unique_ptr<tvk::IFileStream> CGdalFileSystem::Open(const std::string& path, Mode mode) {
    if (mode != Mode::Read) ThrowReadOnly(path);
    VSIStatBufL stat;
    if (VSIStatExL(path.c_str(), &stat, VSI_STAT_EXISTS_FLAG | VSI_STAT_NATURE_FLAG) == 0 && VSI_ISDIR(stat.st_mode))
        CFileException::ThrowErrno(EISDIR, path);
    errno = 0;
    VSILFILE* file = VSIFOpenExL(path.c_str(), "rb", FALSE);
    // Local files set errno; the virtual ones mostly do not: "not found" then.
    if (!file) CFileException::ThrowErrno(errno ? errno : ENOENT, path);
    return std::make_unique<CGdalFileStream>(file, path);
}

bool CGdalFileSystem::Status(const std::string& path, tvk::FileStatus& status) {
    VSIStatBufL stat;
    if (VSIStatExL(path.c_str(), &stat, VSI_STAT_EXISTS_FLAG | VSI_STAT_NATURE_FLAG | VSI_STAT_SIZE_FLAG) != 0)
        return false;
    status.size = static_cast<int64_t>(stat.st_size);
    status.modified = stat.st_mtime;
    status.isDirectory = VSI_ISDIR(stat.st_mode);
    return true;
}

bool CGdalFileSystem::Remove(const std::string&) { return false; }

void CGdalFileSystem::CreateDirectories(const std::string& path) { ThrowReadOnly(path); }

}  // namespace tlxgdal
