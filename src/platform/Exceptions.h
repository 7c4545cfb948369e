// Failures and signals that travel as exceptions. All are thrown by value and
// caught by reference; running out of memory is std::bad_alloc.
#pragma once
#include <cerrno>
#include <string>

namespace tvk {

// A failed file operation: what went wrong, the OS error code and the file.
class CFileException {
public:
    enum Cause {
        none = 0,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    CFileException(Cause cause, int osError, std::string fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    // Maps an errno value to the nearest cause.
    static Cause CauseFromErrno(int err);
    // Throws for the current errno and the given file.
    [[noreturn]] static void ThrowErrno(const std::string& fileName);
    [[noreturn]] static void ThrowErrno(int err, const std::string& fileName);

    // The system's own wording of the failure, e.g. "No such file or directory".
    std::string SystemReason() const;

    Cause m_cause;
    int m_lOsError;
    std::string m_strFileName;
};

// An output that would be written over a file the run must keep (its input
// or its log): m_strFileName is the output, m_strOtherFile the file kept.
class CSameFileException : public CFileException {
public:
    CSameFileException(std::string output, std::string other)
        : CFileException(accessDenied, EPERM, std::move(output)), m_strOtherFile(std::move(other)) {}
    std::string m_strOtherFile;
};

// A stop was requested through TryToStop().
class CThreadStopSignal {};
// The user cancelled (the overwrite question's Cancel).
class CUserBreakSignal {};
// The preview sink has collected enough lines.
class CFinishWriteSignal {};

}  // namespace tvk
