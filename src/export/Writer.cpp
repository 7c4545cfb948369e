// CWriter: lifetime, settings and the export driver with its log and its
// failure handling.
#include "export/Writer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "export/ExportStrings.h"
#include "export/OverwriteDecision.h"
#include "export/UniqueNames.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

namespace tvk {
namespace {

constexpr const char* kAbortText = "\nForce current operation to abort...\n";

bool EndsWithSeparator(const std::string& path) { return !path.empty() && (path.back() == '/' || path.back() == '\\'); }

// A file name on disk (UTF-8) as a log text (1251); kept as it is when 1251
// has no room for it.
std::string LogText(const std::string& utf8) {
    std::string text;
    return Cp1251FromUtf8(utf8, text) ? text : utf8;
}

std::string NameOf(const std::string& path) {
    size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

CWriter::CWriter() { RegisterExportStrings(); }

CWriter::~CWriter() { CWriter::Free(); }

void CWriter::Init() { CTLXReader::Init(); }

void CWriter::Read(const char* file, const char* log) { CTLXReader::Read(file, log); }

void CWriter::Free() {
    std::vector<std::string>().swap(LayerFileNames);
    std::vector<std::string>().swap(PreparedLayerNames);
    std::vector<unsigned>().swap(LayerNameChanges);
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

bool CWriter::SetStrict(bool strict) {
    bool previous = m_Strict;
    m_Strict = strict;
    return previous;
}

ChangeEntry& CWriter::NoteChange(ChangeKind kind, int layer, int place, long long count, size_t length) {
    ChangeEntry& entry = Changes.At(kind, layer, place, [this, layer, place](ChangeEntry& e) {
        if (!ValidSlot(layer, Layers)) return;
        e.layer = Layers[layer].Name.Str();
        const auto& names = LayerInfo.ColumnNames;
        if (ValidSlot(layer, names) && ValidSlot(place, names[layer])) e.column = names[layer][place];
    });
    entry.count += count;
    if (length > entry.longest) entry.longest = length;
    return entry;
}

void CWriter::NoteUnwritable(const UnwritableCount& count, int layer, int place) {
    if (count.control) NoteChange(ChangeKind::ControlCharacter, layer, place, static_cast<long long>(count.control));
    if (count.undefined)
        NoteChange(ChangeKind::UndefinedCharacter, layer, place, static_cast<long long>(count.undefined));
}

std::string_view CWriter::FittedNumber(std::string_view text, size_t width, std::string& scratch, int layer,
                                       int place) {
    const size_t length = text.size();
    switch (FitNumber(text, width, scratch)) {
    case NumberFit::Rounded:
        NoteChange(ChangeKind::NumberRounded, layer, place, 1, length).limit = static_cast<int>(width);
        break;
    case NumberFit::Empty: NoteChange(ChangeKind::NumberEmptied, layer, place, 1, length); break;
    default: break;
    }
    return text;
}

void CWriter::NoteClamp(ChangeKind kind, int layer, int place, int declared, int written) {
    if (declared == written) return;
    ChangeEntry& entry = NoteChange(kind, layer, place);
    entry.limit = declared;
    entry.clampedTo = written;
}

void CWriter::NoteNameChange(unsigned changes, int layer, int place, const std::string& written) {
    if (changes & kNameMadeUnique) NoteChange(ChangeKind::FieldNameMadeUnique, layer, place).detail = written;
    else if (changes & kNameCut) NoteChange(ChangeKind::FieldNameCut, layer, place).detail = written;
}

void CWriter::NoteLayerNameChange(ChangeKind kind, int layer) {
    const size_t l = static_cast<size_t>(layer);
    if (layer < 0 || l >= LayerNameChanges.size() || l >= LayerFileNames.size() || !LayerNameChanges[l]) return;
    if (l >= PreparedLayerNames.size() || LayerFileNames[l] != PreparedLayerNames[l]) return;
    NoteChange(kind, layer, kPlaceLayer).detail = LayerFileNames[l];
}

int CWriter::ColumnOfPosition(int layer, int code, int position) const {
    const auto& maps = LayerInfo.ColumnMaps;
    if (!ValidSlot(layer, maps) || !ValidSlot(code, maps[layer])) return kPlaceLayer;
    const std::vector<int>& map = maps[layer][code];
    for (size_t column = 0; column < map.size(); ++column)
        if (map[column] == position) return static_cast<int>(column);
    return kPlaceLayer;
}

void CWriter::WriteChangeSummary() {
    if (Changes.Empty()) return;
    std::string text = "\n" + CChangeReport::Heading() + "\n";
    for (const std::string& line : Changes.Lines()) text += line + "\n";
    WriteToLog(text.c_str());
}

char* CWriter::GetName(char* dst, int size, const char* base, int n) {
    char work[256];
    size_t length = std::min<size_t>(std::strlen(base), 235);
    std::memcpy(work, base, length);
    std::snprintf(work + length, sizeof work - length, "%d", n);
    if (size > 0) std::snprintf(dst, static_cast<size_t>(size), "%s", work);
    return dst;
}

void CWriter::ReportToUser(const char* text) { WriteToLog(text); }

COutputTransaction& CWriter::OutputFiles() {
    if (!outputFiles_) throw std::logic_error("output files are opened only while an export runs");
    return *outputFiles_;
}

bool CWriter::DecideOutputSet(const std::vector<std::string>& paths) {
    if (paths.empty()) return true;
    OutputFiles().LockFolderOf(paths.front());
    if (DecideOverwrite(OverwriteMode, paths)) return true;
    std::string line = "kept, exists: " + LogText(paths.front());
    for (size_t i = 1; i < paths.size(); ++i) line += ", " + LogText(NameOf(paths[i]));
    line += "\n";
    ReportToUser(line.c_str());
    return false;
}

COutputTransaction::Hooks CWriter::TransactionHooks() {
    COutputTransaction::Hooks hooks;
    hooks.stopRequested = [this] { return IsMustDie(); };
    hooks.waiting = [this](const std::string& folder) {
        ReportToUser(("waiting for another export into " + LogText(folder) + " to finish\n").c_str());
    };
    hooks.staleRemoved = [this](const std::string& folder, const std::vector<std::string>& names) {
        std::string line =
            StrFormat("Removed %zu temporary file(s) of an export that did not finish from %s:", names.size(),
                      LogText(folder).c_str());
        for (const std::string& name : names) line += " " + LogText(name);
        line += "\n";
        WriteToLog(line.c_str());
    };
    return hooks;
}

void CWriter::OpenOutputFile(CFile& file, const std::string& target, bool write) {
    if (!write) {
        file.Attach(FileSystem().Open(kNullDevice, IFileSystem::Mode::Write), kNullDevice, outputPool_,
                    [] { return FileSystem().Open(kNullDevice, IFileSystem::Mode::Write); });
        return;
    }
    COutputTransaction& outputs = OutputFiles();
    std::unique_ptr<IFileStream> stream = outputs.Create(target);
    // The temporary is reopened, never the target: the export stays all or nothing.
    if (outputs.CanReopen(target))
        file.Attach(std::move(stream), target, outputPool_, [&outputs, target] { return outputs.Reopen(target); });
    else file.Attach(std::move(stream), target);
}

void CWriter::Export(const char* dir, const char* log) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    BeginExportRun(dir, log);
    try {
        RunExportSteps();
        if (ErrorCount > kMaxReportedErrors) WriteToLog("Too much errors. Not all error messages was printed\n");
        std::string line = StrFormat("Total errors: %d\n", ErrorCount);
        WriteToLog(line.c_str());
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        line = StrFormat("\nTime elapsed: %6.3f seconds\n", seconds);
        WriteToLog(line.c_str());
        WriteToLog("\nEND OF EXPORTING\n\n");
    } catch (CFileException&) {
        FailExportRun("\nCFileException during exporting");
        throw;
    } catch (std::bad_alloc&) {
        FailExportRun("\nCMemoryException during exporting");
        throw;
    } catch (CUserBreakSignal&) {
        FailExportRun("\nUser break during exporting");
        throw;
    } catch (CThreadStopSignal&) {
        FailExportRun("\nUser try to close window during exporting");
        throw;
    } catch (CChangesRefusedSignal&) {
        FailExportRun("\nThe export would change the data and was refused (strict export)");
        throw;
    } catch (...) {
        FailExportRun("\nUnknown exception during exporting");
        throw;
    }

    CloseLog();
    if (OnProgressEnd) OnProgressEnd();
}

void CWriter::BeginExportRun(const char* dir, const char* log) {
    ErrorCount = 0;
    // A run cancelled earlier must not make this one discard its files: the
    // dialog stays open after a failure and may export again.
    NeedToClear = false;

    // No folder means the current one, not the root of the file system.
    OutputFolder = dir && *dir ? dir : ".";
    if (!EndsWithSeparator(OutputFolder)) OutputFolder += '/';

    OpenLog(log);
    outputFiles_ = std::make_unique<COutputTransaction>(FileSystem(), TransactionHooks());
    outputFiles_->Protect(FilePath);
    if (log && *log) outputFiles_->Protect(GetLogFilePath(log));
}

void CWriter::RunExportSteps() {
    WriteToLog("\n\nBEGIN OF EXPORTING\n\n");
    std::string line = StrFormat("TIME: %s\n", FormatLocalTime("%X").c_str());
    WriteToLog(line.c_str());
    line = StrFormat("DATE: %s\n\n", FormatLocalTime("%x").c_str());
    WriteToLog(line.c_str());

    OverwriteMode = 0;
    Changes.Clear();
    Export();
    WriteChangeSummary();
    if (m_Strict && !Changes.Empty()) throw CChangesRefusedSignal();
    // Every file completed and closed before any is put in place.
    FreeExportData();
    outputFiles_->Commit();
    outputFiles_.reset();
}

// Each step logs through a guard of its own, then cleans up in this order;
// the caller rethrows the failure it caught. Whatever failed, the files of
// this run are discarded and the earlier ones stay as they were.
void CWriter::FailExportRun(const char* text) {
    NeedToClear = true;
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
    outputFiles_.reset();
}

}  // namespace tvk
