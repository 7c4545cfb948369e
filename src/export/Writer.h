// CWriter: the common base of the format writers. It reads a .tlx file as its
// own CTLXReader, derives the export model from the survey model in place
// (PrepareData) and runs one export at a time through the driver
// Export(dir, log), which logs, catches every failure, cleans up and passes
// the failure on.
//
// An export is all or nothing: the writers open their files through
// OpenOutputFile, which writes each under a temporary name in its folder, and
// the driver puts them all in place only when the whole export succeeded.
//
// A format writer overrides the body Export() and FreeExportData(), adds
// `using CWriter::Export;` so the driver stays visible beside its body, and
// calls FreeExportData() from its own destructor (CWriter's destructor can
// reach only CWriter's empty version).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "export/ChangeReport.h"
#include "export/ExportModel.h"
#include "export/FieldText.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/FilePool.h"
#include "platform/OutputTransaction.h"
#include "reader/TLXReader.h"

namespace tvk {

class CWriter : public CTLXReader {
public:
    CWriter();
    ~CWriter() override;

    // The reader's Init: call once before Read.
    void Init();
    // The reader's Read; a successful read ends with PrepareData, so the export
    // model is ready when it returns.
    void Read(const char* file, const char* log);
    // Runs one export into `dir` (a folder; the DXF writer takes its file
    // path). OutputFolder becomes `dir` with one trailing separator: "/" is
    // appended unless it ends with "/" or "\"; an empty `dir` gives "./".
    // Writes the export log through the hooks, resets OverwriteMode, runs the
    // body Export(), completes and closes the files (FreeExportData) and puts
    // them in place. On any failure inside: logs it, sets NeedToClear, calls
    // OnProgressEnd, CloseLog and FreeExportData, discards every file of the
    // run (earlier files stay as they were) and rethrows the same exception.
    // The caller's FreeExportData() afterwards finds nothing left to do.
    // The changes the body made to fit the data into its format end the log;
    // a strict export with any change fails there with CChangesRefusedSignal,
    // before the files are completed, so nothing of it is put in place.
    void Export(const char* dir, const char* log);

    // Empties LayerFileNames and the rest of the export model, calls
    // FreeExportData() and then the reader's Free.
    void Free() override;
    // Builds the export model: coordinates, the two point layers, usage,
    // description column, layer columns and layer file names.
    void PrepareData() override;
    // Completes, closes and releases what one export opened; after a failure
    // (NeedToClear) it only closes. Empty here.
    virtual void FreeExportData();
    // A line the user should see even without a log: a set of files kept
    // because it exists, a wait for another export into the same folder.
    // Writes it to the log; the command line also shows it.
    virtual void ReportToUser(const char* text);

    // The file-name-safe name of every layer slot ("" for a left-out layer).
    std::vector<std::string>& GetLayerFileNames() { return LayerFileNames; }
    // Each stores the new value and returns the previous one.
    int PreserveElev(int value);
    int PreserveNE(int value);
    // Whether any change to the data fails the export (off when built).
    // Returns the previous setting.
    bool SetStrict(bool strict);
    // What the last export changed to fit the data into its format.
    const CChangeReport& GetChanges() const { return Changes; }

    // A survey point: a valid point read from the file. Generated circle points
    // and CIRC0 radius points (negative states) are construction points and
    // false, like left-out points and slots out of range.
    bool IsSurveyPoint(int pointSlot) const { return ValidSlot(pointSlot, PointStates) && PointStates[pointSlot] >= 0; }
    // The values of the generated point feature of a survey point: name, X,
    // Y, H, (control points) the two control flags, relief.
    std::vector<CText> PointFeatureValues(size_t pointSlot) const;

    // --- the export model (declaration order) ---
    std::string OutputFolder;                 // ends with a separator once Export has set it
    std::vector<std::string> LayerFileNames;  // per layer slot
    std::vector<Coord3> PointCoords;          // per point slot
    int OverwriteMode = 0;                    // 0 ask, 1 overwrite all, 2 skip all
    CLayerInfo LayerInfo;

protected:
    // The format's body, run by the driver. Empty here.
    virtual void Export();
    // Makes LayerFileNames safe for file names and unique.
    virtual void ConvertLayerFileNames();

    void SetNeedToClear(bool value) { NeedToClear = value; }
    bool IsNeedToClear() const { return NeedToClear; }

    // Copies `base` (cut after 235 bytes) followed by `n` in decimal into
    // `dst` of `size` bytes, terminated, and returns `dst`: STYLE0, STYLE1...
    static char* GetName(char* dst, int size, const char* base, int n);

    // The overwrite decision for one set of output files that belong
    // together (all in one folder), taken before the first of them is
    // created: true to write the set, false to keep all of its files as they
    // are, which is reported ("kept, exists: ..."). Cancel throws
    // CUserBreakSignal. The folder is locked against other exports first.
    bool DecideOutputSet(const std::vector<std::string>& paths);
    // Opens `file` to write the output `target` of the running export (under
    // a temporary name until the export succeeds), or on the null device
    // when `write` is false. The file is one of the export's pool: with a
    // file per layer, only the most recently used ones hold a handle and a
    // buffer, the others are reopened when written again.
    void OpenOutputFile(CFile& file, const std::string& target, bool write = true);
    // The output files of the running export; throws std::logic_error when
    // no export runs.
    COutputTransaction& OutputFiles();

    // Counts `count` changes of `kind` at `place`: a column of `layer`, or a
    // ChangePlace. `length` is the changed value's length, for the longest
    // one seen. Returns the entry, for the details of a first change.
    ChangeEntry& NoteChange(ChangeKind kind, int layer, int place, long long count = 1, size_t length = 0);
    // Notes a field name that a writer cut or made unique (tagNameChange
    // bits) as `written`; a name numbered after its cut counts as made unique.
    void NoteNameChange(unsigned changes, int layer, int place, const std::string& written);
    // `text` with the bytes no reader takes written as blanks
    // (ReplaceUnwritable), what that replaced counted at (layer, place).
    std::string_view WritableText(std::string_view text, bool tabAllowed, std::string& scratch, int layer, int place) {
        UnwritableCount replaced;
        text = ReplaceUnwritable(text, tabAllowed, scratch, replaced);
        if (replaced.Any()) NoteUnwritable(replaced, layer, place);
        return text;
    }
    // A number fitted into a field of `width` characters (FitNumber), what
    // that changed counted at (layer, place).
    std::string_view FittedNumber(std::string_view text, size_t width, std::string& scratch, int layer, int place);
    // Notes a field's width or decimals (`kind`) written as `written` where
    // the survey declares `declared`; nothing when they are equal.
    void NoteClamp(ChangeKind kind, int layer, int place, int declared, int written);
    // Counts what ReplaceUnwritable replaced.
    void NoteUnwritable(const UnwritableCount& count, int layer, int place);
    // Notes as `kind` (a file or a layer name) how the preparation changed
    // the name of `layer`, unless the caller has renamed the layer since.
    void NoteLayerNameChange(ChangeKind kind, int layer);
    // The column of `layer` that holds schema position `position` of `code`,
    // or kPlaceLayer.
    int ColumnOfPosition(int layer, int code, int position) const;

    // Throws CThreadStopSignal when a stop has been requested.
    void ThrowIfMustDie() const {
        if (IsMustDie()) throw CThreadStopSignal();
    }

    // The steps of PrepareData, in their order. The two virtual ones let a
    // reader that serves the survey points itself (the GDAL driver) make no
    // feature per point and mark the point layers used in their place.
    void CreateCoords();
    virtual void CreatePointLayers();
    void CreateTSPLayer();
    void CreateCPLayer();
    virtual void BuildUsageMap();
    void RemoveUnusedLayers();
    void AddCodeDescription();
    void CreateLayerInfo();
    void CreateLayerFileNames();

    bool NeedToClear = false;
    // Per layer slot: the tagNameChange bits of its prepared name, and that
    // name, so that a name the user edits afterwards is not reported.
    std::vector<unsigned> LayerNameChanges;
    std::vector<std::string> PreparedLayerNames;
    CChangeReport Changes;

private:
    // The export run: the folder, the log and the output files opened; the
    // steps from the log's opening lines to the files put in place; and the
    // clean-up after a failure (which the caller rethrows).
    void BeginExportRun(const char* dir, const char* log);
    void RunExportSteps();
    void FailExportRun(const char* text);
    void WriteChangeSummary();

    // Appends one generated layer with its code, style and schema.
    void AppendPointLayer(const char* layerName, int number, bool controlPoints);
    // What the output files of an export tell the writer: stops, waits, and
    // the leftovers of killed runs.
    COutputTransaction::Hooks TransactionHooks();

    int m_PreserveElev = 1;
    int m_PreserveNE = 1;
    std::unique_ptr<COutputTransaction> outputFiles_;  // while Export(dir, log) runs
    CFilePool outputPool_;                             // outlives the writers' files, members of the subclasses
    bool m_Strict = false;
};

}  // namespace tvk
