// The commit of a shapefile export of 100 layers, for the benchmark: the
// renames that put its 1 200 files (a point, a polyline and a polygon set per
// layer, each with its .CPG) in place once the export has succeeded. Timed
// through the real export driver, into an empty folder and over the files of
// the first run, and after that the removal of the files it replaced.
//   commit_shapefiles FOLDER
// prints "FILES new MS replace MS removal MS".
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "export/OverwriteDecision.h"
#include "shp/SHPWriter.h"
#include "support/TlxText.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tvk::test;

constexpr int kLayers = 100;

std::string Survey() {
    std::string points, layers, codes, features;
    for (int p = 1; p <= 4; ++p)
        points += PointLine(p, "P" + std::to_string(p), std::to_string(p * 10) + ".0", std::to_string(p * p) + ".0");
    for (int l = 1; l <= kLayers; ++l) {
        const int code = 10 * l, number = 1000 * l;
        layers += LayerLine(l, 0, "Layer" + std::to_string(l));
        codes += CodeLine(code, l, "C" + std::to_string(l), "Code " + std::to_string(l));
        features += FeatureLine(number, "POINT", code, {1}) + FeatureLine(number + 1, "LINE", code, {1, 2}) +
                    FeatureLine(number + 2, "POLYGON", code, {4}) + VertexLine(1) + VertexLine(2) + VertexLine(3) +
                    VertexLine(1);
    }
    return Section("POINTS", points) + Section("LAYERS", layers) + Section("FEATURE_CODES", codes) +
           Section("FEATURES", features);
}

// The disk, with the time of the commit's calls noted: from the first
// exchange or rename to the last every file is put in place; the removals
// that follow drop the files replaced.
class TimedDisk : public tvk::IFileSystem {
public:
    explicit TimedDisk(tvk::IFileSystem& disk) : disk_(disk) {}
    std::unique_ptr<tvk::IFileStream> Open(const std::string& path, Mode mode) override {
        return disk_.Open(path, mode);
    }
    bool Status(const std::string& path, tvk::FileStatus& status) override { return disk_.Status(path, status); }
    bool Remove(const std::string& path) override {
        bool removed = disk_.Remove(path);
        if (start_) removedUntil_ = Clock::now();
        return removed;
    }
    void CreateDirectories(const std::string& path) override { disk_.CreateDirectories(path); }
    void Rename(const std::string& from, const std::string& to) override {
        Begin();
        disk_.Rename(from, to);
        placedUntil_ = Clock::now();
    }
    bool Exchange(const std::string& a, const std::string& b) override {
        Begin();
        bool exchanged = disk_.Exchange(a, b);
        placedUntil_ = Clock::now();
        return exchanged;
    }
    std::vector<std::string> List(const std::string& folder) override { return disk_.List(folder); }
    std::unique_ptr<tvk::IFolderLock> TryLockFolder(const std::string& folder) override {
        return disk_.TryLockFolder(folder);
    }
    std::string CanonicalPath(const std::string& path) override { return disk_.CanonicalPath(path); }

    // Milliseconds of the last commit: putting in place, removing the replaced.
    std::pair<double, double> Take() {
        auto ms = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double, std::milli>(b - a).count();
        };
        std::pair<double, double> result{ms(*start_, placedUntil_),
                                         removedUntil_ ? ms(placedUntil_, *removedUntil_) : 0.0};
        start_.reset();
        removedUntil_.reset();
        return result;
    }

private:
    void Begin() {
        if (!start_) start_ = Clock::now();
    }
    tvk::IFileSystem& disk_;
    std::optional<Clock::time_point> start_, removedUntil_;
    Clock::time_point placedUntil_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: commit_shapefiles FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "out");
    const std::string tlx = (folder / "layers.tlx").string();
    std::ofstream(tlx, std::ios::binary) << Survey();
    tvk::SetOverwriteQuestion(
        [](const tvk::ExistingFileStatus&, const std::string&) { return int(tvk::kAnswerYesToAll); });

    TimedDisk disk(tvk::FileSystem());
    tvk::SetFileSystem(&disk);
    tvk::CSHPWriter writer;
    writer.Init();
    std::pair<double, double> ms[2];
    try {
        writer.Read(tlx.c_str(), nullptr);
        for (auto& m : ms) {
            writer.Export((folder / "out").c_str(), nullptr);
            writer.FreeExportData();
            m = disk.Take();
        }
    } catch (const tvk::CFileException& e) {
        std::fprintf(stderr, "commit_shapefiles: %s: %s\n", e.m_strFileName.c_str(), e.SystemReason().c_str());
        return 1;
    }
    tvk::SetFileSystem(nullptr);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "out")) files += entry.is_regular_file();
    std::printf("%zu new %.1f replace %.1f removal %.1f\n", files, ms[0].first, ms[1].first, ms[1].second);
    return files == 12 * kLayers ? 0 : 1;
}
