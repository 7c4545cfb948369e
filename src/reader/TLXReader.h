// CTLXReader: reads a .tlx survey exchange file into the survey model and
// validates it. Every format writer derives from it, so the model's tables are
// plain members that writers read and extend in place.
//
// Numbers and slots: the file names every item by a number; the model keeps
// items at slots (0-based, in order of first mention) and maps numbers to
// slots. After validation every index field holds a slot and the state arrays
// hold each item's file number, or -10 (kNone) for an item left out.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/File.h"
#include "reader/Features.h"
#include "reader/IntMap.h"
#include "reader/ProgressScale.h"
#include "reader/SurveyModel.h"
#include "reader/TlxColumns.h"

namespace tvk {

// State of the generated "_UNDEF_" layer. Not -1 or -2, which mark the
// generated point layers of the export model.
inline constexpr int kUndefLayerState = -3;

// Error numbers of the reading log (E0000 .. E0014).
enum tagReadError : int {
    ERR_BEGIN_SECTION = 0,
    ERR_END_SECTION = 1,
    ERR_END_OF_FILE = 2,
    ERR_SYNTAX = 3,
    ERR_BODY_OF_SECTION = 4,
    ERR_INDEX = 5,
    ERR_DESCRIPTOR = 6,
    ERR_POINT_INDEX = 7,
    ERR_CODE_INDEX = 8,
    ERR_LAYER_INDEX = 9,
    ERR_FEATURE_INDEX = 10,
    ERR_PROPERTY_INDEX = 11,
    ERR_POINT = 12,
    ERR_LAYER_NAME = 13,
    ERR_PROPERTY_NAME = 14,
};

class CTLXReader {
public:
    // One input line with its length (a view into the line buffer).
    using CStr = std::string_view;
    using ProgressBeginFn = std::function<void(int low, int high)>;
    using ProgressStepFn = std::function<void(int delta)>;
    using ProgressEndFn = std::function<void()>;

    static constexpr int kLineBufferSize = 1024;
    static constexpr int kMaxReportedErrors = 100;
    static constexpr int kTableGrowth = 102400;
    static constexpr size_t kMapBuckets = 1000;

    CTLXReader();

    // --- virtual operations, in slot order ---
    virtual ~CTLXReader();
    // Empties the model, the maps, the callbacks and the open-feature state.
    virtual void Free();
    // Gives each of the four maps 1000 empty buckets.
    virtual void InitMaps();
    // Empties the eight main tables.
    virtual void InitArrays();
    // Appends the message string id of each error number.
    virtual void InitErrorMessages();
    // Appends the keyword tables of the file syntax.
    virtual void InitTokens();
    // Builds the export model after validation; nothing in the reader.
    virtual void PrepareData();
    // Validates one feature (or part) of feature slot `slot`.
    virtual void ConvertIndex_Feature(CFeature* feature, int slot);
    // A new empty feature of the class for `kind` (kind field -1), or null.
    virtual std::unique_ptr<CFeature> CreateFeature(int kind);
    virtual void ClearLog();
    // Gives every code without properties the property 0 "DATA", Char(10).
    virtual void AppendEmptyTables();
    virtual void ConvertIndex_TempData();
    virtual void ConvertIndex_Features();
    virtual void ConvertIndex_FeatureCodes();
    virtual void ConvertIndex_Layers();
    virtual void ConvertIndex_Points();
    // The whole validation: states, property numbers, the five conversions.
    virtual void ConvertIndex_All();
    // Before validation: the code and layer slots of a feature; 0 with a report when missing.
    virtual int GetFeatureLayerIndex(int featureSlot, int& codeSlot, int& layerSlot);
    // The section state machine over all lines of InputFile.
    virtual void ReadTLX();
    // The log file path for the log argument (null: export.log beside the input).
    virtual std::string GetLogFilePath(const char* log);
    // Drops the FEATURE_DATA pairs.
    virtual void FreeTemp();
    // Moves the data values into FeatureValues by property position.
    virtual void AssignPropertyData();
    // Counts an error and writes its numbered message (the first 100 only).
    virtual void WriteErrorMessage(int error, const char* text);
    virtual void WriteToLog(const char* text);
    // The next non-blank line into `buffer` (at most size - 1 characters); 0 at end of file.
    virtual int ReadFromFile(char* buffer, int size);
    virtual void OpenLog(const char* log);
    virtual void CloseLog();
    // Opens InputFile; throws CFileException. Starts progress and sizes the maps.
    virtual void OpenFile(const char* path);
    virtual void CloseFile();
    virtual void Parse_FeatureData(CStr line);
    virtual void Parse_Features(CStr line);
    virtual void ParseLine_Features(CStr line);
    virtual void Parse_FeatureProperties(CStr line);
    virtual void Parse_Layers(CStr line);
    virtual void Parse_FeatureAttributes(CStr line);
    virtual void Parse_FeatureCodes(CStr line);
    virtual void Parse_GdsCoords(CStr line);
    virtual void Parse_Points(CStr line);
    // Number-to-slot lookups that create the item when the number is new.
    virtual int GetItem_Features(int number, int kind);
    virtual int GetItem_Layers(int number);
    virtual int GetItem_FeatureCodes(int number);
    virtual int GetItem_Points(int number);

    // --- non-virtual interface ---
    // Free, InitMaps, InitArrays, InitErrorMessages, InitTokens. Call once before Read.
    void Init();
    // Reads, validates and prepares `path`. Throws CFileException when the
    // file cannot be opened (model untouched); on a read error, out of memory
    // or a stop it writes the abort texts, empties the model and rethrows.
    void Read(const char* path, const char* log);
    // Asks a running read or export to stop (any thread).
    void TryToStop() { MustDie.store(true, std::memory_order_relaxed); }
    bool IsMustDie() const { return MustDie.load(std::memory_order_relaxed); }

    // atoi of the text; 0 only for "0"-only texts, -1 for blank/null/non-numbers.
    static int GetIndex(const char* text);
    // GetIndex of the columns from..to of the line (-1 when the field is empty).
    static int GetIndex(CStr line, int from, int to);
    // Splits "(a,b,c)" into ArgList (strtok at commas); null when the brackets
    // are missing. The pieces point into the returned copy.
    static std::unique_ptr<char[]> ParseToken(std::string_view text, std::vector<char*>& argList);
    // The text between the first two double quotes, or absent.
    static CText GetQuotedString(const char* text);

    // The number text form of the C runtime's _gcvt with 32 digits (circle points).
    static CText Gcvt32(double value);

    // Process-wide counters of generated point numbers (never reset). Radius
    // points take numbers from [-100000000, -50000000), circle points from
    // [-50000000, 0); a counter that reaches the end of its range starts again
    // at the beginning, skipping numbers the model already holds.
    static int RadiusPointCounter;
    static int CirclePointCounter;
    static constexpr int kRadiusPointFirst = -100000000;
    static constexpr int kCirclePointFirst = -50000000;

    // The file line of the report or warning being written (0: none), for
    // log hooks that show it; the log texts themselves do not carry it.
    LineNo ReportLine = 0;
    // True while WriteToLog receives an error report or a warning.
    bool WritingReport = false;
    // Warnings written in the current Read: things read as they stand that
    // the user should look at (a file without any section, a flat circle).
    int WarningCount = 0;

    // --- the model (declaration order) ---
    int64_t LastFilePos = 0;
    std::atomic<bool> MustDie{false};
    std::vector<const char*> KeywordHits;
    std::vector<char*> ArgList;
    std::string FilePath;
    std::string LogFilePath;
    int ErrorCount = 0;
    int UndefLayer = kNone;
    CPointListFeature* OpenFeature = nullptr;
    int OpenPointCount = 0;
    CMultipleFeature* OpenMultiple = nullptr;
    int OpenPartCount = 0;
    LineNo LineNumber = 0;     // the file line of the line being parsed
    bool LineTooLong = false;  // that line has text past the buffer: only its start is in it
    size_t LineLead = 0;       // the white space that line starts with, counted once for every use
    std::vector<std::string> SectionDelimiters;
    std::vector<std::string> SectionNames;
    std::vector<std::string> PointFlagWords;
    std::vector<std::string> StyleWords;
    std::vector<std::string> PropertyTypeWords;
    std::vector<std::string> ObjectWords;
    std::vector<std::string> LineOptionWords;
    std::vector<unsigned> ErrorMessageIds;
    CStdioFile LogFile;    // reserved for a log-writing subclass
    CStdioFile InputFile;  // the exchange file while it is read
    CIntMap PointMap{kMapBuckets};
    CIntMap CodeMap{kMapBuckets};
    CIntMap LayerMap{kMapBuckets};
    CIntMap FeatureMap{kMapBuckets};
    std::vector<PointRec> Points;
    std::vector<GeoCoordRec> GeoCoords;  // parallel to Points
    std::vector<FeatureCodeRec> FeatureCodes;
    std::vector<FeatureStyleRec> FeatureStyles;  // parallel to FeatureCodes
    std::vector<LayerRec> Layers;
    std::vector<PropertySchema> PropertySchemas;      // parallel to FeatureCodes
    std::vector<std::unique_ptr<CFeature>> Features;  // null: named only by FEATURE_DATA
    std::vector<std::vector<CText>> FeatureValues;    // parallel to Features, by property position
    std::vector<std::vector<DataPair>> FeatureData;   // parallel to Features; emptied by FreeTemp
    std::vector<LineNo> PointLines;                   // parallel to Points: the line that defines (or first names) each
    std::vector<LineNo> CodeLines;                    // parallel to FeatureCodes
    std::vector<LineNo> LayerLines;                   // parallel to Layers
    std::vector<int> PointStates;
    std::vector<int> CodeStates;
    std::vector<int> LayerStates;
    std::vector<int> FeatureStates;
    std::vector<int> LayerUsed;  // filled by the writers
    std::vector<int> CodeUsed;   // filled by the writers
    ProgressBeginFn OnProgressBegin;
    ProgressStepFn OnProgressStep;
    ProgressEndFn OnProgressEnd;

protected:
    // Columns from..to of the line, trimmed; absent when `from` is at or after its end.
    CText GetSubstring(CStr line, int from, int to);
    CText GetSubstring(CStr line, tlxcol::Columns c) { return GetSubstring(line, c.from, c.to); }
    static int GetIndex(CStr line, tlxcol::Columns c) { return GetIndex(line, c.from, c.to); }

    // Scales file positions for the int progress callbacks.
    CProgressScale ProgressScale;

private:
    struct HeadLine;

    // Line reading and the section machine.
    size_t ReadChunk(char* buffer, int size);
    bool SkipRestOfLine();
    void ReadDelimiter(CStr line, const char* delimiter, int word, int& section, bool& anySection);
    void ParseSectionLine(int section, CStr line);
    void RefuseLongLine(CStr line, int section);
    // Reports the line being parsed with its file line.
    void ReportBadLine(int error, CStr line);
    // The item number of columns 0-7; false, with error 5, when it is invalid.
    bool TakeNumber(CStr line, int& number);

    void ParseStyle(FeatureStyleRec& styles, size_t style, CStr line, const char* keyword);
    bool ParseTypeField(CStr line, int& type, int& width, int& precision);

    bool ReadObjectWord(CStr line, HeadLine& head);
    int ReadHeadColumns(CStr line, HeadLine& head);
    void ReadLineOptions(CStr line, HeadLine& head);
    void TakeFeature(int number, CStr line, HeadLine& head);
    void TakePart(CStr line, HeadLine& head);
    void StoreHeadColumns(CFeature* feature, const HeadLine& head);
    int NextGeneratedNumber(int& counter, int first, int end);

    bool NormaliseCircle(CPointListFeature* feature);
    bool CheckPointNumbers(size_t pointSlot);
    void WarnIfFlat(const CPointListFeature* list, int number);
    void ConvertFeatureTree(CFeature* feature, int slot);
    int FeatureNumber(size_t slot) const;
    void Report(LineNo line, int error, const char* format, ...) __attribute__((format(printf, 4, 5)));
    void WriteWarning(LineNo line, const char* text);
    void WriteReportText(const char* text);
    void WriteAbortTexts(const char* first) noexcept;

    // The file number of each feature slot, kept through validation so that
    // reports name the feature after its state has become -10.
    std::vector<int> FeatureNumbers;
};

}  // namespace tvk
