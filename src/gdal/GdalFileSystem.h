// The reader's file table over GDAL's virtual file layer (VSIFOpenL ...), so
// that /vsizip/, /vsigzip/, /vsimem/ and /vsicurl/ paths read like files on
// disk with no change to the reader. The driver only reads: writing and
// changing files fail as on a read-only medium.
#pragma once
#include "platform/FileSystem.h"

namespace tlxgdal {

class CGdalFileSystem : public tvk::IFileSystem {
public:
    // Mode::Write throws CFileException (read-only).
    std::unique_ptr<tvk::IFileStream> Open(const std::string& path, Mode mode) override;
    bool Status(const std::string& path, tvk::FileStatus& status) override;
    // Removes nothing: false.
    bool Remove(const std::string& path) override;
    // Throws CFileException (read-only).
    void CreateDirectories(const std::string& path) override;
};

}  // namespace tlxgdal
