#include "dxf/DXFWriter.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "dxf/DXFLineTypes.h"
#include "dxf/DXFNames.h"
#include "dxf/DXFPalette.h"
#include "dxf/DXFStrings.h"
#include "export/LayerFileNames.h"
#include "export/UniqueNames.h"
#include "msr/msr.h"
#include "platform/Exceptions.h"
#include "platform/StringTable.h"
#include "reader/FeatureWalk.h"

namespace tvk {

namespace {
// DXF layer names from file names: the longest kept before numbering.
constexpr size_t kDXFLayerCut = 30;

unsigned long RgbOf(int colour) { return static_cast<unsigned long>(static_cast<unsigned>(colour)); }
}  // namespace

CDXFWriter::CDXFWriter() { RegisterDXFStrings(); }

CDXFWriter::~CDXFWriter() {
    // The base destructor's Free() can no longer reach this class's version.
    try {
        FreeExportData();
    } catch (const CFileException&) {
    }
}

void CDXFWriter::Read(const char* file, const char* log) {
    CWriter::Read(file, log);
    ConvertLayerNames();
}

bool CDXFWriter::SetExportSemantic(bool on) {
    bool previous = ExportSemantic;
    ExportSemantic = on;
    return previous;
}

bool CDXFWriter::SetDeclareCodePage(bool on) {
    bool previous = DeclareCodePage;
    DeclareCodePage = on;
    return previous;
}

char* CDXFWriter::TLXToDXFName(char* name) { return MakeDXFSymbolName(name); }

const char* CDXFWriter::GetLine(int i) const { return DXFLineTypeName(i); }

int CDXFWriter::GetACI(unsigned long rgb) { return NearestColourIndex(rgb); }

// --- group encoding ---

void CDXFWriter::WriteAligned(int n, int width) { Output.Aligned(n, width); }

void CDXFWriter::WriteGroup(int code, int value) {
    WriteAligned(code, 3);
    Output.NewLine();
    WriteAligned(value, 6);
    Output.NewLine();
}

void CDXFWriter::WriteGroup(int code, const char* text) {
    WriteAligned(code, 3);
    Output.NewLine();
    Output.Text(text ? text : "");
    Output.NewLine();
}

void CDXFWriter::WriteGroup(int code, double value) {
    WriteAligned(code, 3);
    Output.NewLine();
    Output.Number(value);
    Output.NewLine();
}

// --- preparation during Read ---

void CDXFWriter::PrepareData() {
    CWriter::PrepareData();
    StyleNames.assign(FeatureStyles.size(), std::string());
    int styleCounter = 0;
    char name[256];
    for (size_t c = 0; c < FeatureStyles.size(); ++c) {
        if (c < CodeStates.size() && CodeStates[c] == kNone) continue;
        FeatureStyleRec& style = FeatureStyles[c];
        if (style.Symbol) {
            style.Symbol->Color = GetACI(RgbOf(style.Symbol->Color));
            StyleNames[c] = GetName(name, sizeof name, "STYLE", styleCounter++);
        }
        if (style.Pen) style.Pen->Color = GetACI(RgbOf(style.Pen->Color));
        if (style.Brush) {
            style.Brush->ForeColor = GetACI(RgbOf(style.Brush->ForeColor));
            style.Brush->BackColor = GetACI(RgbOf(style.Brush->BackColor));
        }
    }
}

void CDXFWriter::ConvertLayerFileNames() {
    std::vector<bool> cut(LayerFileNames.size(), false);
    for (size_t l = 0; l < LayerFileNames.size() && l < LayerStates.size(); ++l) {
        if (LayerStates[l] == kNone) continue;
        std::string& name = LayerFileNames[l];
        cut[l] = name.size() > kDXFLayerCut;
        if (cut[l]) name.erase(kDXFLayerCut - 1, name.size() - kDXFLayerCut);
    }
    CWriter::ConvertLayerFileNames();
    for (size_t l = 0; l < cut.size() && l < LayerNameChanges.size(); ++l)
        if (cut[l]) LayerNameChanges[l] |= kNameCut;
}

void CDXFWriter::ConvertLayerNames() {
    char buffer[256];
    for (size_t l = 0; l < LayerFileNames.size() && l < LayerStates.size(); ++l) {
        if (LayerStates[l] == kNone) continue;
        std::string& name = LayerFileNames[l];
        size_t n = std::min(name.size(), sizeof buffer - 1);
        std::memcpy(buffer, name.data(), n);
        buffer[n] = 0;
        name = TLXToDXFName(buffer);
    }
    // Every DXF reader takes layer names without regard to case.
    std::vector<bool> skip(LayerFileNames.size(), true);
    for (size_t l = 0; l < skip.size() && l < LayerStates.size(); ++l) skip[l] = LayerStates[l] == kNone;
    std::vector<bool> numbered = MakeUniqueIgnoringCase(LayerFileNames, kDXFNameLength, "", skip);
    for (size_t l = 0; l < numbered.size() && l < LayerNameChanges.size(); ++l)
        if (numbered[l]) LayerNameChanges[l] |= kNameMadeUnique;
    PreparedLayerNames = LayerFileNames;
}

// --- the document ---

void CDXFWriter::WriteHeader() {
    Output.Text("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n");
    if (DeclareCodePage) Output.Text("  9\n$DWGCODEPAGE\n  3\nANSI_1251\n");
}

void CDXFWriter::WriteLTypeHeader() {
    WriteGroup(0, "TABLE");
    WriteGroup(2, "LTYPE");
    WriteGroup(70, 3);  // what the original drawings say, though 16 follow
    for (int i = 0; i < kDXFLineTypeCount; ++i) {
        const DXFLineType& t = DXFEXPORT_LTYPE_Table[i];
        WriteGroup(0, "LTYPE");
        WriteGroup(2, DXFEXPORT_LTYPE_Names[i]);
        WriteGroup(70, 0);
        WriteGroup(3, t.description);
        WriteGroup(72, 65);
        WriteGroup(73, t.dashCount);
        WriteGroup(40, t.length);
        for (int d = 0; d < t.dashCount; ++d) WriteGroup(49, t.dashes[d]);
    }
    WriteGroup(0, "ENDTAB");
}

void CDXFWriter::WriteLayers() {
    int kept = 0;
    for (size_t l = 0; l < LayerStates.size(); ++l)
        if (LayerStates[l] != kNone) ++kept;
    WriteGroup(0, "TABLE");
    WriteGroup(2, "LAYER");
    WriteGroup(70, kept + 2);
    auto writeLayer = [this](const char* name) {
        WriteGroup(0, "LAYER");
        WriteGroup(2, name);
        WriteGroup(6, "CONTINUOUS");
        WriteGroup(70, 0);
        WriteGroup(62, 255);
    };
    for (size_t l = 0; l < LayerStates.size(); ++l) {
        if (LayerStates[l] == kNone) continue;
        writeLayer(l < LayerFileNames.size() ? LayerFileNames[l].c_str() : "");
        NoteLayerNameChange(ChangeKind::LayerNameChanged, int(l));
    }

    RegisterDXFStrings();
    MakeTextLayerNames(LayerFileNames, LayerStates, CStringTable::Load(IDS_DXF_NAMES_LAYER),
                       CStringTable::Load(IDS_DXF_ELEVATIONS_LAYER), NamesLayer, ElevationsLayer);
    writeLayer(NamesLayer.c_str());
    writeLayer(ElevationsLayer.c_str());
    WriteGroup(0, "ENDTAB");
}

void CDXFWriter::WriteStyles() {
    auto hasStyle = [this](size_t c) {
        return (c >= CodeStates.size() || CodeStates[c] != kNone) && FeatureStyles[c].Symbol;
    };
    int count = 0;
    for (size_t c = 0; c < FeatureStyles.size(); ++c)
        if (hasStyle(c)) ++count;
    WriteGroup(0, "TABLE");
    WriteGroup(2, "STYLE");
    WriteGroup(70, count);
    for (size_t c = 0; c < FeatureStyles.size(); ++c) {
        if (!hasStyle(c)) continue;
        const SymbolStyle& symbol = *FeatureStyles[c].Symbol;
        WriteGroup(0, "STYLE");
        WriteGroup(2, c < StyleNames.size() ? StyleNames[c].c_str() : "");
        WriteGroup(70, 0);
        WriteGroup(40, 0.0);
        WriteGroup(41, 1.0);
        WriteGroup(50, 0.0);
        WriteGroup(71, 0);
        WriteGroup(42, 2.5);
        WriteTextGroup(3, symbol.Font ? symbol.Font.c_str() : "txt", LayerSlotOfCode(int(c)), kPlaceSymbols);
        WriteGroup(4, "");
    }
    WriteGroup(0, "ENDTAB");
}

void CDXFWriter::WidenExtents(double x, double y, double z) {
    if (x < Extents[0]) Extents[0] = x;
    if (x > Extents[2]) Extents[2] = x;
    if (y < Extents[1]) Extents[1] = y;
    if (y > Extents[3]) Extents[3] = y;
    if (z < Extents[4]) Extents[4] = z;
    if (z > Extents[5]) Extents[5] = z;
}

void CDXFWriter::WidenByCircles(const CFeature* feature) {
    ForEachLeaf(feature, [this](const CFeature& leaf) { WidenByCircle(leaf); });
}

void CDXFWriter::WidenByCircle(const CFeature& feature) {
    if (feature.Kind != ARC && feature.Kind != CIRCLE) return;
    const auto* list = dynamic_cast<const CPointListFeature*>(&feature);
    if (!list) return;
    const auto& points = list->Points;
    const Coord3* p0 = PointAt(points, 0);
    const Coord3* p1 = PointAt(points, 1);
    const Coord3* p2 = PointAt(points, 2);
    if (!p0 || !p1 || !p2) return;
    msr::CCircle circle(ToLibraryPoint(*p0), ToLibraryPoint(*p1), ToLibraryPoint(*p2));
    const Coord3 centre = FromLibraryPoint(circle.centre);
    double cx = centre.x, cy = centre.y, r = circle.radius;
    WidenExtents(cx - r, cy - r, 0.0);
    WidenExtents(cx + r, cy + r, 0.0);
}

void CDXFWriter::ComputeExtents() {
    // Survey points only: generated circle and radius points are construction points.
    for (size_t i = 0; i < PointCoords.size(); ++i) {
        if (!IsSurveyPoint(int(i))) continue;
        const Coord3& p = PointCoords[i];
        WidenExtents(p.x, p.y, p.z);
    }
    for (size_t f = 0; f < Features.size(); ++f) {
        if (IsMustDie()) throw CThreadStopSignal();
        if (FeatureStates[f] == kNone) continue;
        WidenByCircles(Features[f].get());
    }
}

void CDXFWriter::WriteExtentsAndLimits() {
    const double minX = Extents[0], minY = Extents[1], maxX = Extents[2], maxY = Extents[3];
    WriteGroup(9, "$EXTMIN");
    WriteGroup(10, minX);
    WriteGroup(20, minY);
    WriteGroup(30, Extents[4]);
    WriteGroup(9, "$EXTMAX");
    WriteGroup(10, maxX);
    WriteGroup(20, maxY);
    WriteGroup(30, Extents[5]);
    // An empty drawing's range overflows to infinity, which is no DXF number:
    // no margin then.
    auto margin = [](double a, double b) {
        double range = std::fabs(a - b);
        return std::isfinite(range) ? range * 0.001 : 0.0;
    };
    const double mx = margin(minX, maxX), my = margin(minY, maxY);
    WriteGroup(9, "$LIMMIN");
    WriteGroup(10, minX - mx);
    WriteGroup(20, minY - my);
    WriteGroup(9, "$LIMMAX");
    WriteGroup(10, maxX + mx);
    WriteGroup(20, maxY + my);
    WriteGroup(0, "ENDSEC");
}

void CDXFWriter::StepFeature() {
    if (IsMustDie()) throw CThreadStopSignal();
    if (OnProgressStep) OnProgressStep(1);
}

void CDXFWriter::Export() {
    // A failure of an earlier run must not delete the file of this one.
    SetNeedToClear(false);
    Completed = false;
    writingBlocks_ = false;  // a run stopped inside the blocks left it set
    const size_t featureCount = Features.size();
    if (OnProgressBegin) {
        long long high = ExportSemantic ? 2LL * (long long)featureCount : (long long)featureCount;
        OnProgressBegin(0, int(std::min<long long>(high, INT_MAX)));
    }

    std::string path = OutputFolder;
    if (!path.empty()) path.pop_back();  // the separator the driver appended
    OutputFile = std::make_unique<CStdioFile>();
    // No question: the user named this very file (a save dialog already asked).
    OpenOutputFile(*OutputFile, path);
    Output.Discard();
    Output.Attach(OutputFile.get());

    WriteHeader();
    ComputeExtents();
    WriteExtentsAndLimits();

    WriteGroup(0, "SECTION");
    WriteGroup(2, "TABLES");
    WriteLTypeHeader();
    WriteLayers();
    WriteStyles();
    WriteGroup(0, "ENDSEC");

    if (ExportSemantic) {
        WriteGroup(0, "SECTION");
        WriteGroup(2, "BLOCKS");
        writingBlocks_ = true;
        for (size_t f = 0; f < featureCount; ++f) {
            StepFeature();
            if (FeatureStates[f] != kNone) WriteBlock(int(f));
        }
        writingBlocks_ = false;
        WriteGroup(0, "ENDSEC");
    }

    WriteGroup(0, "SECTION");
    WriteGroup(2, "ENTITIES");
    for (size_t f = 0; f < featureCount; ++f) {
        StepFeature();
        if (FeatureStates[f] != kNone) WriteFeatureEntities(int(f));
    }
    WriteGroup(0, "ENDSEC");
    WriteGroup(0, "EOF");

    // Written out here, so that a full disk fails the export, not the closing.
    Output.Flush();
    OutputFile->Flush();
    Completed = true;
}

void CDXFWriter::FreeExportData() {
    Output.Discard();
    Output.Attach(nullptr);
    if (OutputFile) {
        std::unique_ptr<CStdioFile> file = std::move(OutputFile);
        // A file that is not complete is never put in place: the driver discards it.
        if (Completed && !IsNeedToClear()) file->Close();
        else file->Abort();
    }
    Completed = false;
    CWriter::FreeExportData();
}

}  // namespace tvk
