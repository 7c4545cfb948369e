// CSurveyReader: the driver's reading object. It is a CWriter, so its layers,
// columns and values are the export model that every writer sees, but for the
// survey points' features, which the point layers make from the point table.
// Reading reports become CPLError warnings; an optional log file receives the
// whole reading log in UTF-8.
#pragma once
#include <string>
#include <string_view>
#include <vector>

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

    // One of the two generated point layers. The driver serves its features
    // straight from the point table, feature i being the point at slot
    // points[i], so the model holds no feature object for a survey point.
    struct PointLayer {
        int layer = tvk::kNone, code = tvk::kNone;
        std::vector<int> points;  // ascending
    };

    ~CSurveyReader() override;

    // Reads `path` through GDAL's virtual files; `logPath` "" writes no log
    // file. Reads run one at a time in the process. Throws what CWriter::Read
    // throws, and CFileException when the log cannot be written.
    void ReadSurvey(const std::string& path, const std::string& logPath);
    const FileCounts& Counts() const { return counts_; }
    // The point layer of `layerSlot`, or nullptr for any other layer.
    const PointLayer* PointLayerAt(int layerSlot) const;

protected:
    void PrepareData() override;
    void CreatePointLayers() override;
    void BuildUsageMap() override;
    void OpenLog(const char* log) override;
    void WriteToLog(const char* text) override;
    void CloseLog() override;

private:
    // The point layers' slot lists, and their layers and codes marked used.
    void CollectPointLayers();

    // Every reading report reaches GDAL through here, as "FILE:LINE: E0005 ..."
    // (a report that has no line, and the totals, as "FILE: ...").
    void Warn(std::string_view text, tvk::LineNo line) const;
    // Model texts are 1251; the input path inside a log text is UTF-8 already.
    std::string ToUtf8(std::string_view text) const;

    std::string logPath_;
    VSILFILE* log_ = nullptr;
    FileCounts counts_;
    PointLayer pointLayers_[2];  // tacheometry, control
};

}  // namespace tlxgdal
