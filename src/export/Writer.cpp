// CWriter: lifetime, settings and the export driver with its log and its
// failure handling.
#include "export/Writer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

#include "export/ExportStrings.h"
#include "export/OverwriteDecision.h"
#include "platform/Text.h"

namespace tvk {
namespace {

constexpr const char* kAbortText = "\nForce current operation to abort...\n";

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

}  // namespace

CWriter::CWriter() { RegisterExportStrings(); }

CWriter::~CWriter() { CWriter::Free(); }

void CWriter::Init() { CTLXReader::Init(); }

void CWriter::Read(const char* file, const char* log) { CTLXReader::Read(file, log); }

void CWriter::Free() {
    std::vector<std::string>().swap(LayerFileNames);
    std::vector<Coord3>().swap(PointCoords);
    LayerInfo.Clear();
    FreeExportData();
    CTLXReader::Free();
}

void CWriter::FreeExportData() {}

void CWriter::Export() {}

int CWriter::PreserveElev(int value) {
    int previous = m_PreserveElev;
    m_PreserveElev = value;
    return previous;
}

int CWriter::PreserveNE(int value) {
    int previous = m_PreserveNE;
    m_PreserveNE = value;
    return previous;
}

char* CWriter::GetName(char* dst, int size, const char* base, int n) {
    char work[256];
    size_t length = std::min<size_t>(std::strlen(base), 235);
    std::memcpy(work, base, length);
    std::snprintf(work + length, sizeof work - length, "%d", n);
    if (size > 0) std::snprintf(dst, static_cast<size_t>(size), "%s", work);
    return dst;
}

bool CWriter::VerifyOverwrite(const std::string& path) { return DecideOverwrite(OverwriteMode, path); }

void CWriter::Export(const char* dir, const char* log) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    ErrorCount = 0;
    // A run cancelled earlier must not make this one delete its files: the
    // dialog stays open after a failure and may export again.
    NeedToClear = false;

    // No folder means the current one, not the root of the file system.
    OutputFolder = dir && *dir ? dir : ".";
    if (!EndsWithSeparator(OutputFolder)) OutputFolder += '/';

    OpenLog(log);

    // Each handler logs through a guard of its own, then cleans up in this
    // order and rethrows the failure it caught.
    auto fail = [this](const char* text, bool clear) {
        if (clear) NeedToClear = true;
        try {
            WriteToLog(text);
            WriteToLog(kAbortText);
        } catch (CFileException&) {
        }
        if (OnProgressEnd) OnProgressEnd();
        // A file failure while cleaning up must not hide the one being passed on.
        try {
            CloseLog();
        } catch (CFileException&) {
        }
        try {
            FreeExportData();
        } catch (CFileException&) {
        }
    };

    try {
        WriteToLog("\n\nBEGIN OF EXPORTING\n\n");
        std::string line = StrFormat("TIME: %s\n", FormatLocalTime("%X").c_str());
        WriteToLog(line.c_str());
        line = StrFormat("DATE: %s\n\n", FormatLocalTime("%x").c_str());
        WriteToLog(line.c_str());

        OverwriteMode = 0;
        Export();

        if (ErrorCount > kMaxReportedErrors) WriteToLog("Too much errors. Not all error messages was printed\n");
        line = StrFormat("Total errors: %d\n", ErrorCount);
        WriteToLog(line.c_str());
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        line = StrFormat("\nTime elapsed: %6.3f seconds\n", seconds);
        WriteToLog(line.c_str());
        WriteToLog("\nEND OF EXPORTING\n\n");
    } catch (CFileException&) {
        fail("\nCFileException during exporting", false);
        throw;
    } catch (std::bad_alloc&) {
        fail("\nCMemoryException during exporting", false);
        throw;
    } catch (CUserBreakSignal&) {
        fail("\nUser break during exporting", true);
        throw;
    } catch (CThreadStopSignal&) {
        fail("\nUser try to close window during exporting", true);
        throw;
    } catch (...) {
        fail("\nUnknown exception during exporting", true);
        throw;
    }

    CloseLog();
    if (OnProgressEnd) OnProgressEnd();
}

}  // namespace tvk
