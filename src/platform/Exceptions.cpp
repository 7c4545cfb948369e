#include "platform/Exceptions.h"

#include <cerrno>
#include <cstring>

namespace tvk {

CFileException::Cause CFileException::CauseFromErrno(int err) {
    switch (err) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE:
    case EOVERFLOW: return badSeek;
    case EIO: return hardIO;
    case ETXTBSY:
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    default: return generic;
    }
}

void CFileException::ThrowErrno(const std::string& fileName) { ThrowErrno(errno, fileName); }

void CFileException::ThrowErrno(int err, const std::string& fileName) {
    throw CFileException(CauseFromErrno(err), err, fileName);
}

std::string CFileException::SystemReason() const {
    if (m_lOsError != 0) return std::strerror(m_lOsError);
    switch (m_cause) {
    case endOfFile: return "Unexpected end of file";
    case badSeek: return "Bad seek";
    default: return "File error";
    }
}

}  // namespace tvk
