#include "gdal/SurveyReader.h"

#include <cerrno>
#include <mutex>

#include "cpl_error.h"
#include "gdal/GdalFileSystem.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tlxgdal {

CSurveyReader::~CSurveyReader() {
    if (log_) VSIFCloseL(log_);
}

void CSurveyReader::ReadSurvey(const std::string& path, const std::string& logPath) {
    // The reader's scratch buffer and its counters of generated points are
    // shared by the whole process, and GDAL hosts open files on several
    // threads at once.
    static std::mutex readMutex;
    std::lock_guard<std::mutex> lock(readMutex);
    // Only this thread reads through GDAL's files; other users of the core in
    // the process keep their own file table.
    CGdalFileSystem files;
    tvk::CThreadFileSystem route(files);
    logPath_ = logPath;
    Init();
    Read(path.c_str(), nullptr);
}

void CSurveyReader::PrepareData() {
    counts_ = {Points.size(), Layers.size(), FeatureCodes.size(), Features.size()};
    CWriter::PrepareData();
}

// The two point layers without a feature object per survey point.
void CSurveyReader::CreatePointLayers() {
    CreateTSPLayer();
    CreateCPLayer();
}

// The point layers are marked used as their features would mark them.
void CSurveyReader::BuildUsageMap() {
    CWriter::BuildUsageMap();
    CollectPointLayers();
}

void CSurveyReader::CollectPointLayers() {
    const int states[2] = {tvk::kTSPLayerState, tvk::kCPLayerState};
    for (int k = 0; k < 2; ++k) {
        PointLayer& layer = pointLayers_[k];
        layer = PointLayer();
        if (CodeMap.Lookup(states[k], layer.code)) layer.layer = FeatureCodes[static_cast<size_t>(layer.code)].Layer;
    }
    auto layerOf = [this](size_t i) { return PointStates[i] < 0 ? -1 : Points[i].RefPoint == tvk::kNone ? 1 : 0; };
    size_t counts[2] = {0, 0};
    for (size_t i = 0; i < Points.size(); ++i)
        if (int k = layerOf(i); k >= 0) ++counts[k];
    for (int k = 0; k < 2; ++k) pointLayers_[k].points.reserve(counts[k]);
    for (size_t i = 0; i < Points.size(); ++i)
        if (int k = layerOf(i); k >= 0) pointLayers_[k].points.push_back(static_cast<int>(i));
    for (PointLayer& layer : pointLayers_) {
        if (layer.points.empty() || !tvk::ValidSlot(layer.layer, Layers)) continue;
        CodeUsed[static_cast<size_t>(layer.code)] = 1;
        LayerUsed[static_cast<size_t>(layer.layer)] = 1;
    }
}

const CSurveyReader::PointLayer* CSurveyReader::PointLayerAt(int layerSlot) const {
    for (const PointLayer& layer : pointLayers_)
        if (layer.layer == layerSlot && layer.layer != tvk::kNone) return &layer;
    return nullptr;
}

void CSurveyReader::OpenLog(const char*) {
    if (logPath_.empty() || log_) return;
    errno = 0;
    log_ = VSIFOpenL(logPath_.c_str(), "wb");
    if (!log_) tvk::CFileException::ThrowErrno(errno ? errno : EACCES, logPath_);
}

void CSurveyReader::WriteToLog(const char* text) {
    if (!text) return;
    std::string_view view(text);
    if (WritingReport) Warn(view, ReportLine);
    else if (view.starts_with("Too much errors") || (view.starts_with("Total errors:") && ErrorCount > 0))
        Warn(view, 0);
    if (!log_) return;
    std::string out = tvk::Utf8From1251Keeping(view, FilePath);
    if (VSIFWriteL(out.data(), 1, out.size(), log_) != out.size()) tvk::CFileException::ThrowErrno(EIO, logPath_);
}

void CSurveyReader::CloseLog() {
    VSILFILE* log = log_;
    log_ = nullptr;
    if (log && VSIFCloseL(log) != 0) tvk::CFileException::ThrowErrno(EIO, logPath_);
}

void CSurveyReader::Warn(std::string_view text, tvk::LineNo line) const {
    if (text.ends_with('\n')) text.remove_suffix(1);
    std::string place = line > 0 ? FilePath + ":" + std::to_string(line) : FilePath;
    CPLError(CE_Warning, CPLE_AppDefined, "%s: %s", place.c_str(), tvk::Utf8From1251(text).c_str());
}

}  // namespace tlxgdal
