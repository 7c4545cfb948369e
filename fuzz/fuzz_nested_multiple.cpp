// libFuzzer target: MULTIPLE features nested deep. The bytes give a nesting
// depth and a few leaf parts placed at chosen levels; the target builds the
// survey, reads it, checks the tree the reader made, and exports it through
// the DXF, MIF, shapefile and text writers into memory. Nothing may crash,
// leak, exhaust the stack or fail.
//
// Input: byte 0 picks the depth's power of two (1 .. 2^14), bytes 1-2 the
// depth within it; then 3 bytes per part (at most 8): the object word, the
// level (a 256th of the depth) and the point numbers (3 bits each; 7 names
// no point).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dxf/DXFWriter.h"
#include "export/OverwriteDecision.h"
#include "mif/MIFWriter.h"
#include "platform/FileSystem.h"
#include "reader/FeatureWalk.h"
#include "shp/SHPWriter.h"
#include "universal/UEOutput.h"
#include "universal/UETemplate.h"
#include "universal/UEWriter.h"

namespace {

constexpr int kMaxPowerOfTwo = 14;  // the deepest input stays well within the timeout of a run
constexpr size_t kMaxParts = 8;
const char* const kWords[] = {"POINT", "LINE",  "POLYLINE", "POLYGON", "ARC",
                              "CIRC0", "CIRC1", "CIRC2",    "CIRC3",   "MULTIPLE"};

struct Part {
    int word = 0;
    int level = 0;
    int points[3] = {1, 2, 3};
};

struct Plan {
    int depth = 1;
    std::vector<Part> parts;  // in order of level, then of the input
};

Plan Decode(const uint8_t* data, size_t size) {
    Plan plan;
    if (size >= 3) {
        int power = data[0] % (kMaxPowerOfTwo + 1);
        int within = (data[1] | data[2] << 8) % (1 << power);
        plan.depth = (1 << power) + within;
    }
    for (size_t at = 3; at + 3 <= size && plan.parts.size() < kMaxParts; at += 3) {
        Part part;
        part.word = data[at] % 10;
        part.level = static_cast<int>(int64_t{data[at + 1]} * plan.depth / 256);
        for (int k = 0; k < 3; ++k) part.points[k] = (data[at + 2] >> (3 * k) & 7) + 1;  // 1..8; 7 and 8 are no points
        plan.parts.push_back(part);
    }
    std::stable_sort(plan.parts.begin(), plan.parts.end(),
                     [](const Part& a, const Part& b) { return a.level < b.level; });
    return plan;
}

// `text` placed at `column` of `line`.
void Put(std::string& line, size_t column, const std::string& text) {
    if (line.size() < column) line.resize(column, ' ');
    line.replace(column, text.size(), text);
}

std::string Number(int value) {
    std::string text = std::to_string(value);
    return std::string(text.size() < 8 ? 8 - text.size() : 0, ' ') + text;
}

std::string FeatureHead(int number, const char* word, int count) {
    std::string line;
    Put(line, 0, Number(number));
    Put(line, 9, word);
    Put(line, 26, Number(1));
    Put(line, 35, Number(count));
    return line + "\n";
}

void AppendPart(std::string& out, const Part& part) {
    const char* word = kWords[part.word];
    const int* p = part.points;
    std::string line;
    Put(line, 0, Number(0));
    Put(line, 9, word);
    Put(line, 26, Number(1));
    switch (part.word) {
    case 2:  // POLYLINE of two points
        Put(line, 35, Number(2));
        out += line + "\n" + Number(p[0]) + "\n" + Number(p[1]) + "\n";
        return;
    case 3:  // POLYGON p0 p1 p2 p0
        Put(line, 35, Number(4));
        out += line + "\n" + Number(p[0]) + "\n" + Number(p[1]) + "\n" + Number(p[2]) + "\n" + Number(p[0]) + "\n";
        return;
    case 5:  // CIRC0: centre and radius text
        Put(line, 35, Number(p[0]));
        Put(line, 44, std::to_string(p[1]) + ".5");
        out += line + "\n";
        return;
    case 9:  // a MULTIPLE that is not the last part: an empty, faulty part
        Put(line, 35, Number(p[0]));
        out += line + "\n";
        return;
    default:
        for (int k = 0; k < 3; ++k) Put(line, 35 + 9 * static_cast<size_t>(k), Number(p[k]));
        out += line + "\n";
        return;
    }
}

std::string BuildSurvey(const Plan& plan) {
    std::string out = "BEGIN POINTS\n";
    static const char* const kXY[6][2] = {{"100.0", "200.0"}, {"110.0", "205.0"}, {"104.0", "214.0"},
                                          {"95.5", "209.25"}, {"120.0", "190.0"}, {"100.0", "200.0"}};
    for (int n = 1; n <= 6; ++n) {
        std::string line;
        Put(line, 0, Number(n));
        Put(line, 9, "P" + std::to_string(n));
        Put(line, 35, kXY[n - 1][0]);
        Put(line, 52, kXY[n - 1][1]);
        if (n != 3) Put(line, 69, "12.5");
        out += line + "\n";
    }
    out += "END POINTS\nBEGIN LAYERS\n" + Number(1) + " " + Number(0) + " Nest\nEND LAYERS\n";
    out += "BEGIN FEATURE_CODES\n" + Number(1) + " " + Number(1) + " NEST     Nested\nEND FEATURE_CODES\n";
    out += "BEGIN FEATURE_PROPERTIES\n" + Number(1) + "    1 Label            Char(12)\nEND FEATURE_PROPERTIES\n";
    out += "BEGIN FEATURES\n";
    size_t next = 0;
    for (int level = 0; level < plan.depth; ++level) {
        size_t first = next;
        while (next < plan.parts.size() && plan.parts[next].level == level) ++next;
        const bool last = level + 1 == plan.depth;
        int count = static_cast<int>(next - first) + (last ? 0 : 1);
        bool filler = count == 0;  // the deepest MULTIPLE needs a part
        out += FeatureHead(level == 0 ? 100 : 0, "MULTIPLE", filler ? 1 : count);
        for (size_t i = first; i < next; ++i) AppendPart(out, plan.parts[i]);
        if (filler) AppendPart(out, Part{});
    }
    out += "END FEATURES\nBEGIN FEATURE_DATA\n" + Number(100) + "    1 deep\nEND FEATURE_DATA\n";
    return out;
}

// The tree the reader made of the feature (slot 0; the export model adds the
// point features after it): one MULTIPLE per level plus the faulty inner
// ones, and every other part as a leaf.
void CheckTree(const tvk::CTLXReader& reader, const Plan& plan) {
    if (reader.Features.empty() || !reader.Features[0]) std::abort();
    size_t multiples = 0, leaves = 0;
    tvk::ForEachFeatureNode(static_cast<const tvk::CFeature*>(reader.Features[0].get()),
                            [&](const tvk::CFeature& node) {
                                if (node.Kind == tvk::MULTIPLE) ++multiples;
                                else ++leaves;
                            });
    size_t innerMultiples = 0;
    for (const Part& part : plan.parts) innerMultiples += part.word == 9;
    size_t expectedLeaves = plan.parts.size() - innerMultiples;
    if (plan.parts.empty() || plan.parts.back().level + 1 < plan.depth) ++expectedLeaves;  // the filler
    if (multiples != static_cast<size_t>(plan.depth) + innerMultiples || leaves != expectedLeaves) std::abort();
}

template <class Writer>
void ReadAndExport(Writer& writer, const char* target, const Plan& plan) {
    writer.Init();
    writer.Read("/fuzz/nested.tlx", nullptr);
    CheckTree(writer, plan);
    writer.Export(target, nullptr);
    writer.FreeExportData();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Plan plan = Decode(data, size);
    tvk::CMemoryFileSystem files;
    tvk::CThreadFileSystem scope(files);
    files.Put("/fuzz/nested.tlx", BuildSurvey(plan));
    files.CreateDirectories("/out/mif");
    files.CreateDirectories("/out/shp");
    try {
        {
            tvk::CDXFWriter dxf;
            ReadAndExport(dxf, "/out/nested.dxf", plan);
        }
        {
            tvk::CMIFWriter mif;
            ReadAndExport(mif, "/out/mif", plan);
        }
        {
            tvk::CSHPWriter shp;
            ReadAndExport(shp, "/out/shp", plan);
        }
        tvk::CUETemplate tmpl = tvk::CUETemplate::Internal();
        tvk::CUEFileOutput sink;
        sink.Open("/out/nested.txt");
        tvk::CUEWriter text;
        text.SetTemplate(&tmpl);
        text.SetOutput(&sink);
        ReadAndExport(text, "/out/nested.txt", plan);
        text.SetOutput(nullptr);
    } catch (...) {
        std::abort();  // everything is in memory and nothing is asked: nothing may fail
    }
    if (!files.Contents("/out/nested.dxf") || !files.Contents("/out/nested.txt")) std::abort();
    return 0;
}
