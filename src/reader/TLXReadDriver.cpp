// CTLXReader::Read: open, parse, validate and prepare one file with the
// reading log, the error reports and the abort paths.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/Exceptions.h"
#include "platform/StringTable.h"
#include "platform/Text.h"
#include "reader/ReaderStrings.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

namespace {

// The message format with each "%s" replaced by the next argument in turn.
std::string FillMessage(const std::string& format, const std::string& code, const std::string& item) {
    std::string out;
    out.reserve(format.size() + code.size() + item.size());
    const std::string* args[2] = {&code, &item};
    int next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next < 2) out += *args[next++];
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

struct SplitPath {
    std::string drive, dir, name, ext;
};

// _splitpath: an optional "X:" drive, the directory up to the last / or \,
// and the name with its extension from the last dot.
SplitPath Split(const std::string& path) {
    SplitPath s;
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        s.drive = path.substr(0, 2);
        pos = 2;
    }
    size_t slash = path.find_last_of("/\\");
    if (slash != std::string::npos && slash >= pos) {
        s.dir = path.substr(pos, slash + 1 - pos);
        pos = slash + 1;
    }
    std::string file = path.substr(pos);
    size_t dot = file.find_last_of('.');
    if (dot == std::string::npos) {
        s.name = file;
    } else {
        s.name = file.substr(0, dot);
        s.ext = file.substr(dot);
    }
    return s;
}

}  // namespace

void CTLXReader::ClearLog() {}
void CTLXReader::OpenLog(const char*) {}
void CTLXReader::WriteToLog(const char*) {}
void CTLXReader::CloseLog() {}

void CTLXReader::WriteErrorMessage(int error, const char* text) {
    if (++ErrorCount > kMaxReportedErrors) return;
    char code[16];
    std::snprintf(code, sizeof code, "E%04d", error);
    std::string item;
    if (text) {
        item = "[";
        item += text;
        if (item.back() == '\n') item.back() = ']';
        else item += ']';
    }
    std::string format;
    if (error >= 0 && static_cast<size_t>(error) < ErrorMessageIds.size())
        format = CStringTable::Load(ErrorMessageIds[static_cast<size_t>(error)]);
    if (format.empty()) format = "%s %s";
    std::string message = FillMessage(format, code, item);
    message += '\n';
    WriteReportText(message.c_str());
}

void CTLXReader::WriteReportText(const char* text) {
    struct Flag {
        bool& on;
        explicit Flag(bool& f) : on(f) { on = true; }
        ~Flag() { on = false; }
    } flag(WritingReport);
    WriteToLog(text);
}

std::string CTLXReader::GetLogFilePath(const char* log) {
    SplitPath input = Split(FilePath);
    std::string folder = input.drive + input.dir;
    std::string fileName = CStringTable::Load(IDS_LOG_FILE_NAME);
    if (fileName.empty()) fileName = "export.log";
    if (!log) return folder + fileName;
    SplitPath given = Split(log);
    if (!IsBlank(given.drive) || !IsBlank(given.dir)) folder = given.drive + given.dir;
    if (!IsBlank(given.name)) fileName = given.name + given.ext;
    return folder + fileName;
}

// Warnings are written like error reports, one line each, the first
// kMaxReportedErrors of them; they do not count as errors.
void CTLXReader::WriteWarning(LineNo line, const char* text) {
    if (++WarningCount > kMaxReportedErrors) return;
    ReportLine = line;
    WriteReportText((std::string(text) + "\n").c_str());
}

void CTLXReader::WriteAbortTexts(const char* first) noexcept {
    // The texts go through a buffer of their own: no allocation after a
    // failure, and no state shared with a reader in another thread.
    char buffer[10240];
    for (const char* text : {first, "\nForce current operation to abort...\n"}) {
        std::snprintf(buffer, sizeof buffer, "%s", text);
        try {
            WriteToLog(buffer);
        } catch (const CFileException&) {
        } catch (const std::bad_alloc&) {
        }
    }
}

void CTLXReader::Read(const char* path, const char* log) {
    // A steady clock: the time the reading took, whatever else the process or
    // the system clock did meanwhile.
    const auto start = std::chrono::steady_clock::now();
    ErrorCount = 0;
    WarningCount = 0;
    ReportLine = 0;
    FilePath = path ? path : "";
    LogFilePath = GetLogFilePath(log);
    ClearLog();
    OpenLog(log);
    OpenFile(path);
    try {
        WriteToLog("\n\nBEGIN OF TLX FILE READING\n\n");
        WriteToLog(StrFormat("TIME: %s\n", FormatLocalTime("%X").c_str()).c_str());
        WriteToLog(StrFormat("DATE: %s\n\n", FormatLocalTime("%x").c_str()).c_str());
        WriteToLog(("Begin of reading file: " + FilePath + "\n").c_str());
        ReadTLX();
        WriteToLog(("End of reading file: " + FilePath + "\n").c_str());
        WriteToLog("\nBegin of data validation\n");
        ConvertIndex_All();
        AssignPropertyData();
        FreeTemp();
        PrepareData();
        WriteToLog("End of data validation\n\n");
        if (ErrorCount > kMaxReportedErrors) WriteToLog("Too much errors. Not all error messages was printed\n");
        WriteToLog(StrFormat("Total errors: %d\n", ErrorCount).c_str());
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        WriteToLog(StrFormat("\nTime elapsed: %6.3f seconds\n", seconds).c_str());
        WriteToLog("\nEND OF TLX FILE READING\n\n");
    } catch (const CFileException&) {
        WriteAbortTexts("\nCFileException during reading");
        CloseFile();
        CloseLog();
        Free();
        throw;
    } catch (const std::bad_alloc&) {
        WriteAbortTexts("\nCMemoryException during reading");
        CloseFile();
        CloseLog();
        Free();
        throw;
    } catch (const CThreadStopSignal&) {
        WriteAbortTexts("\nUser try to close window during reading");
        CloseFile();
        CloseLog();
        Free();
        throw;
    }
    CloseFile();
    CloseLog();
}

}  // namespace tvk
