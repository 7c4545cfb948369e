// gen-tlx: writes a large, valid .tlx survey deterministically from a seed, and
// optionally the same survey as CSV for GDAL (see CsvFileWriter.h).
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "CsvFileWriter.h"
#include "SurveyGenerator.h"
#include "TlxFileWriter.h"

namespace {

const char kUsage[] =
    "Usage: gen-tlx [--points N] [--features N] [--seed N] [--geo PERCENT] [--layers N] [--csv] OUT.tlx\n"
    "  --points N     survey points (default 100000)\n"
    "  --features N   features (default a tenth of the points)\n"
    "  --seed N       the same seed and sizes give the same bytes (default 1)\n"
    "  --geo PERCENT  share of the survey points with GDS_COORDS (default 5)\n"
    "  --layers N     layers (default 12; more are numbered, with three feature codes each)\n"
    "  --csv          also write the survey as CSV with WKT into OUT.csv/ for ogr2ogr\n";

bool ParseNumber(const char* text, long long& value) {
    const char* end = text + std::strlen(text);
    auto r = std::from_chars(text, end, value);
    return r.ec == std::errc() && r.ptr == end && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    gentlx::GeneratorOptions options;
    bool csv = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--csv") {
            csv = true;
            continue;
        }
        if (arg == "--points" || arg == "--features" || arg == "--seed" || arg == "--geo" || arg == "--layers") {
            long long value = 0;
            if (i + 1 >= argc || !ParseNumber(argv[i + 1], value) || (arg == "--geo" && value > 100) ||
                (arg == "--layers" && (value < 12 || value > 30000))) {
                std::fprintf(stderr, "gen-tlx: %s needs a number%s\n%s", arg.c_str(),
                             arg == "--geo"      ? " from 0 to 100"
                             : arg == "--layers" ? " from 12 to 30000"
                                                 : "",
                             kUsage);
                return 2;
            }
            ++i;
            if (arg == "--points") options.points = value;
            if (arg == "--features") options.features = value;
            if (arg == "--seed") options.seed = static_cast<uint64_t>(value);
            if (arg == "--geo") options.geoPercent = static_cast<int>(value);
            if (arg == "--layers") options.layers = static_cast<int>(value);
            continue;
        }
        if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "gen-tlx: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
        if (!path.empty()) {
            std::fprintf(stderr, "gen-tlx: one output file only\n%s", kUsage);
            return 2;
        }
        path = arg;
    }
    if (path.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        gentlx::GeneratedSurvey survey = gentlx::CSurveyGenerator(options).Generate();
        uint64_t bytes = gentlx::CTlxFileWriter(survey).Write(path);
        std::printf("%s: %zu points, %zu features, %llu bytes\n", path.c_str(), survey.points.size(),
                    survey.features.size(), static_cast<unsigned long long>(bytes));
        if (csv) {
            std::string dir = path.size() > 4 && path.compare(path.size() - 4, 4, ".tlx") == 0
                                  ? path.substr(0, path.size() - 4) + ".csv"
                                  : path + ".csv";
            uint64_t csvBytes = gentlx::CCsvFileWriter(survey).Write(dir);
            std::printf("%s/: %llu bytes of CSV\n", dir.c_str(), static_cast<unsigned long long>(csvBytes));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen-tlx: %s\n", e.what());
        return 1;
    }
    return 0;
}
