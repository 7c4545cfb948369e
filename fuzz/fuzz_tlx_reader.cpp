// libFuzzer target: any bytes read as a .tlx file must give a model whose
// references the writers can follow blindly (every index of an item that is
// not left out is a valid slot), and never crash, hang or leak. The writers
// then follow them: the same bytes are read and exported by the DXF, MIF,
// shapefile and text writers into memory. An export either puts complete
// files in place (their lengths, counts and pairs agreeing) or fails with a
// file error and leaves nothing behind; anything else it throws is a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "dxf/DXFWriter.h"
#include "mif/MIFWriter.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/OutputTransaction.h"
#include "reader/TLXReader.h"
#include "shp/SHPWriter.h"
#include "universal/UEOutput.h"
#include "universal/UETemplate.h"
#include "universal/UEWriter.h"

namespace {

using tvk::kNone;

// Aborts, naming the line of the check that failed.
void Require(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_tlx_reader.cpp:%d: check failed\n", line);
    std::abort();
}

using tvk::ValidSlot;

void CheckFeature(const tvk::CTLXReader& r, const tvk::CFeature& f) {
    Require(ValidSlot(f.Code, r.FeatureCodes.size()));
    Require(f.Line >= 1);  // every feature names the line it was read from
    if (auto* list = dynamic_cast<const tvk::CPointListFeature*>(&f)) {
        Require(f.Kind >= tvk::POINT && f.Kind <= tvk::CIRCLE);
        Require(!list->Points.empty());
        if (f.Kind == tvk::CIRCLE) Require(list->Points.size() == 3);
        for (int p : list->Points) {
            Require(ValidSlot(p, r.Points.size()));
            Require(r.PointStates[static_cast<size_t>(p)] != kNone);
        }
    } else if (auto* multiple = dynamic_cast<const tvk::CMultipleFeature*>(&f)) {
        Require(f.Kind == tvk::MULTIPLE);  // one without parts draws nothing
        for (const auto& part : multiple->Parts) CheckFeature(r, *part);
    } else {
        std::abort();
    }
}

// A writer's preparation (CodeUsed filled) leaves out the layers no feature
// uses; every used code keeps its layer.
void CheckModel(const tvk::CTLXReader& r) {
    const bool prepared = !r.CodeUsed.empty();
    if (prepared) Require(r.CodeUsed.size() == r.FeatureCodes.size() && r.LayerUsed.size() == r.Layers.size());
    Require(r.GeoCoords.size() == r.Points.size() && r.PointStates.size() == r.Points.size());
    Require(r.FeatureStyles.size() == r.FeatureCodes.size() && r.PropertySchemas.size() == r.FeatureCodes.size());
    Require(r.LayerStates.size() == r.Layers.size() && r.CodeStates.size() == r.FeatureCodes.size());
    Require(r.FeatureValues.size() == r.Features.size() && r.FeatureStates.size() == r.Features.size());
    Require(r.FeatureData.empty());
    Require(r.PointLines.size() == r.Points.size() && r.CodeLines.size() == r.FeatureCodes.size() &&
            r.LayerLines.size() == r.Layers.size());
    for (size_t i = 0; i < r.Points.size(); ++i) {
        if (r.PointStates[i] == kNone) continue;
        int ref = r.Points[i].RefPoint;
        Require(ref == kNone || ValidSlot(ref, r.Points.size()));
        Require(!r.Points[i].X.IsBlank() && !r.Points[i].Y.IsBlank());
        // No infinity or NaN reaches the writers.
        for (const tvk::CText* t : {&r.Points[i].X, &r.Points[i].Y, &r.Points[i].H})
            Require(t->IsNull() || std::isfinite(tvk::AtoF(t->Get())));
    }
    for (const tvk::LayerRec& layer : r.Layers)
        Require(layer.Parent == kNone || ValidSlot(layer.Parent, r.Layers.size()));
    for (size_t c = 0; c < r.FeatureCodes.size(); ++c) {
        const int layer = r.FeatureCodes[c].Layer;
        Require(ValidSlot(layer, r.Layers.size()));
        if (!prepared || r.CodeUsed[c]) Require(r.LayerStates[static_cast<size_t>(layer)] != kNone);
    }
    for (const tvk::PropertySchema& schema : r.PropertySchemas) {
        Require(schema.PropertyNumbers.size() == schema.PropertyDefs.size());
        Require(schema.Map.GetCount() == schema.PropertyDefs.size());
    }
    for (size_t i = 0; i < r.Features.size(); ++i) {
        if (r.FeatureStates[i] == kNone) continue;
        Require(r.Features[i] != nullptr);
        CheckFeature(r, *r.Features[i]);
        if (prepared) Require(r.CodeUsed[static_cast<size_t>(r.Features[i]->Code)] != 0);
        Require(r.FeatureValues[i].size() ==
                r.PropertySchemas[static_cast<size_t>(r.Features[i]->Code)].PropertyDefs.size());
    }
}

constexpr const char* kInput = "/fuzz/in.tlx";
constexpr const char* kOutputFolder = "/fuzz/out";
// Bytes an export may write before the disk is "full": small outputs keep
// the runs fast, and the failures of a full disk are exercised too.
constexpr int64_t kOutputLimit = 1 << 20;

uint32_t Big32(const std::string& b, size_t at) {
    Require(at + 4 <= b.size());
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t Little(const std::string& b, size_t at, int bytes) {
    Require(at + static_cast<size_t>(bytes) <= b.size());
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

const std::string& FileOf(const std::map<std::string, std::string>& files, const std::string& path) {
    auto it = files.find(path);
    Require(it != files.end());
    return it->second;
}

// A shapefile set agrees with itself: the main file's declared length, one
// index entry per record pointing into the main file, one table row each.
void CheckShapefileSet(const std::map<std::string, std::string>& files, const std::string& base) {
    const std::string& shp = FileOf(files, base + ".SHP");
    const std::string& shx = FileOf(files, base + ".SHX");
    const std::string& dbf = FileOf(files, base + ".DBF");
    Require(shp.size() >= 100 && shx.size() >= 100 && (shx.size() - 100) % 8 == 0);
    Require(size_t(Big32(shp, 24)) * 2 == shp.size() && size_t(Big32(shx, 24)) * 2 == shx.size());
    const size_t records = (shx.size() - 100) / 8;
    size_t next = 100;
    for (size_t r = 0; r < records; ++r) {
        const size_t offset = size_t(Big32(shx, 100 + 8 * r)) * 2, length = size_t(Big32(shx, 104 + 8 * r)) * 2;
        Require(offset == next && Big32(shp, offset) == r + 1 && size_t(Big32(shp, offset + 4)) * 2 == length);
        next = offset + 8 + length;
    }
    Require(next == shp.size());
    Require(dbf.size() >= 33 && Little(dbf, 4, 4) == records);
    const size_t header = Little(dbf, 8, 2), row = Little(dbf, 10, 2);
    Require(dbf.size() == header + records * row + 1 && dbf.back() == 0x1A);
}

void CheckOutputs(const tvk::CMemoryFileSystem& fs, bool exported) {
    const std::map<std::string, std::string> files = fs.Files();
    if (!exported) {
        // All or nothing: a failed export leaves the folder as it found it.
        Require(files.size() == 1 && files.count(kInput));
        return;
    }
    for (const auto& [path, bytes] : files) {
        Require(!tvk::COutputTransaction::IsTemporaryName(path.substr(path.rfind('/') + 1)));
        if (EndsWith(path, ".SHP")) CheckShapefileSet(files, path.substr(0, path.size() - 4));
        if (EndsWith(path, ".MIF")) FileOf(files, path.substr(0, path.size() - 4) + ".MID");
        if (EndsWith(path, ".dxf")) Require(EndsWith(bytes, "\r\nEOF\r\n"));
    }
}

// Reads the input with `writer`, checks the model it derived, exports it and
// checks what the export left.
template <class Writer, class Setup>
void ReadAndExport(Writer& writer, const std::string& input, const char* target, Setup setup) {
    tvk::CMemoryFileSystem fs;
    tvk::CThreadFileSystem scope(fs);
    writer.Init();
    fs.Put(kInput, input);
    writer.Read(kInput, nullptr);
    CheckModel(writer);
    setup(writer);
    fs.SetDiskLimit(fs.Written() + kOutputLimit);
    bool exported = true;
    try {
        writer.Export(target, nullptr);
        writer.FreeExportData();
    } catch (const tvk::CFileException&) {
        exported = false;  // a full disk, a table too wide for its format
    }
    CheckOutputs(fs, exported);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        {
            tvk::CMemoryFileSystem fs;
            fs.Put(kInput, input);
            tvk::CThreadFileSystem scope(fs);
            tvk::CTLXReader reader;
            reader.Init();
            reader.Read(kInput, nullptr);
            CheckModel(reader);
        }
        // Each writer is a reader of its own: the model is read again by each.
        auto none = [](auto&) {};
        {
            tvk::CDXFWriter dxf;
            ReadAndExport(dxf, input, "/fuzz/out/out.dxf", none);
        }
        {
            tvk::CMIFWriter mif;
            ReadAndExport(mif, input, kOutputFolder, none);
        }
        {
            tvk::CSHPWriter shp;
            ReadAndExport(shp, input, kOutputFolder, none);
        }
        {
            tvk::CUEWriter text;
            const tvk::CUETemplate layout = tvk::CUETemplate::Internal();
            tvk::CUEFileOutput sink;
            ReadAndExport(text, input, kOutputFolder, [&](tvk::CUEWriter& w) {
                sink.Open("/fuzz/out/out.txt");
                w.SetTemplate(&layout);
                w.SetOutput(&sink);
            });
        }
    } catch (const tvk::CFileException&) {
        std::abort();  // the input is in memory: reading it may not fail
    }
    return 0;
}
