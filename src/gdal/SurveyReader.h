// CSurveyReader: the driver's reading object. It is a CWriter, so its layers,
// columns and values are the export model that every writer sees. Reading
// reports become CPLError warnings; an optional log file receives the whole
// reading log in UTF-8.
#pragma once
#include <string>
#include <string_view>

#include "cpl_vsi.h"
#include "export/Writer.h"

namespace tlxgdal {

class CSurveyReader : public tvk::CWriter {
public:
    // The table sizes as reading and validation left them, before the export
    // model was added: the figures `tlxexport check` prints.
    struct FileCounts {
        size_t points = 0, layers = 0, codes = 0, features = 0;
    };

    // Point features' values are made when a feature is read
    // (PointFeatureValues), not for all points at open.
    CSurveyReader() { DeferPointValues = true; }
    ~CSurveyReader() override;

    // Reads `path` through GDAL's virtual files; `logPath` "" writes no log
    // file. Reads run one at a time in the process. Throws what CWriter::Read
    // throws, and CFileException when the log cannot be written.
    void ReadSurvey(const std::string& path, const std::string& logPath);
    const FileCounts& Counts() const { return counts_; }

protected:
    void PrepareData() override;
    void OpenLog(const char* log) override;
    void WriteToLog(const char* text) override;
    void CloseLog() override;

private:
    // Every reading report reaches GDAL through here, as "FILE:LINE: E0005 ..."
    // (a report that has no line, and the totals, as "FILE: ...").
    void Warn(std::string_view text, tvk::LineNo line) const;
    // Model texts are 1251; the input path inside a log text is UTF-8 already.
    std::string ToUtf8(std::string_view text) const;

    std::string logPath_;
    VSILFILE* log_ = nullptr;
    FileCounts counts_;
};

}  // namespace tlxgdal
