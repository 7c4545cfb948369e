#include "mif/MIFWriter.h"

#include <cstdint>
#include <utility>

#include "export/UniqueNames.h"
#include "mif/MIFObjects.h"
#include "mif/MIFStyle.h"
#include "msr/msr.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"
#include "reader/FeatureWalk.h"

namespace tvk {
namespace {

// Points an object of each kind needs; 0 for kinds that make no object.
size_t PointsNeeded(int kind) {
    switch (kind) {
    case POINT:
    case POLYLINE:
    case POLYGON: return 1;
    case LINE: return 2;
    case ARC:
    case CIRCLE: return 3;
    default: return 0;
    }
}

}  // namespace

CMIFWriter::CMIFWriter() = default;

CMIFWriter::~CMIFWriter() {
    // CWriter's destructor reaches only its own FreeExportData.
    try {
        CMIFWriter::FreeExportData();
    } catch (...) {
    }
}

char* CMIFWriter::TLXToMIFName(char* name) { return ConvertToMIFName(name); }

void CMIFWriter::PrepareData() {
    CWriter::PrepareData();
    ConvertFieldNames();
}

void CMIFWriter::ConvertFieldNames() {
    // Returns whether the name was cut.
    auto convert = [](CText& name) {
        if (name.IsNull()) return false;
        std::string text = name.Str();
        name.Assign(TLXToMIFName(text.data()));  // the cut shortens the text
        return name.View().size() < text.size();
    };
    for (size_t c = 0; c < PropertySchemas.size() && c < CodeStates.size(); ++c) {
        if (CodeStates[c] == kNone) continue;
        PropertySchema& schema = PropertySchemas[c];
        for (size_t p = 0; p < schema.PropertyDefs.size() && p < schema.PropertyNumbers.size(); ++p)
            if (schema.PropertyNumbers[p] != kNone) convert(schema.PropertyDefs[p].Name);
    }
    // The layer columns hold copies of the definitions. Names that differ
    // only in what the conversion replaces ("A B", "A_B") meet here, and a
    // table may not declare one name twice.
    ColumnNameChanges.assign(LayerInfo.LayerColumns.size(), {});
    for (size_t l = 0; l < LayerInfo.LayerColumns.size(); ++l) {
        std::vector<PropertyDef>& columns = LayerInfo.LayerColumns[l];
        std::vector<unsigned>& changes = ColumnNameChanges[l];
        std::vector<std::string> names;
        for (PropertyDef& def : columns) {
            changes.push_back(convert(def.Name) ? kNameCut : kNameKept);
            names.push_back(def.Name.Str());
        }
        std::vector<bool> numbered = MakeUniqueIgnoringCase(names, kMIFNameLength, "_");
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!numbered[c]) continue;
            columns[c].Name.Assign(names[c].c_str());
            changes[c] |= kNameMadeUnique;
        }
    }
}

void CMIFWriter::Write(CStdioFile* file, const char* text) { file->WriteString(text); }

void CMIFWriter::Write(CStdioFile* file, double value) {
    char buf[64];
    file->WriteString(std::string_view(buf, static_cast<size_t>(FormatGcvt(value, 16, buf))));
}

unsigned long CMIFWriter::GetMIFColor(unsigned long rgb) { return MIFColorFromRGB(rgb); }

int CMIFWriter::GetLine(int index) { return MIFLinePattern(index); }

int CMIFWriter::GetHatch(int index) { return MIFHatchPattern(index); }

void CMIFWriter::Export() {
    MIFFiles.clear();
    MIDFiles.clear();
    MIFFiles.resize(Layers.size());
    MIDFiles.resize(Layers.size());
    pairDecisions_.assign(Layers.size(), -1);
    declared_.assign(Layers.size(), {});
    // Every export declares the bounds of its own drawing, so exporting twice
    // with one writer gives the same files.
    Extents = MIFExtents();
    if (OnProgressBegin) OnProgressBegin(0, static_cast<int>(Features.size()));

    // Only survey points stretch the extents: generated circle points lie on
    // their circle, and a CIRC0 radius point sits at (r, r), anywhere.
    for (size_t i = 0; i < PointCoords.size(); ++i) {
        ThrowIfMustDie();
        if (IsSurveyPoint(static_cast<int>(i))) Extents.Add(PointCoords[i].x, PointCoords[i].y);
    }
    for (size_t i = 0; i < Features.size(); ++i) {
        ThrowIfMustDie();
        if (i >= FeatureStates.size() || FeatureStates[i] == kNone) continue;
        ForEachLeaf(Features[i].get(), [this](CFeature& leaf) {
            if (leaf.Kind == ARC || leaf.Kind == CIRCLE) WidenByCircle(&leaf);
        });
    }
    // The y range grows by 1.25 % at each end, the x range by 6.25 % at its upper end.
    double dy = (Extents.maxY - Extents.minY) * 0.0125;
    double dx = (Extents.maxX - Extents.minX) * 0.0625;
    if (!Extents.IsEmpty()) {
        Extents.Add(Extents.minX, Extents.minY - dy);
        Extents.Add(Extents.maxX + dx, Extents.maxY + dy);
    }

    for (size_t i = 0; i < Features.size(); ++i) {
        ThrowIfMustDie();
        if (OnProgressStep) OnProgressStep(1);
        if (i >= FeatureStates.size() || FeatureStates[i] == kNone) continue;
        int index = static_cast<int>(i);
        ForEachLeaf(Features[i].get(), [this, index](CFeature& leaf) { ExportFeature(&leaf, index); });
    }
}

void CMIFWriter::WidenByCircle(const CFeature* feature) {
    const std::vector<int>* points = PointsOf(feature, 3);
    if (!points) return;
    msr::CPoint2d p[3];
    for (int k = 0; k < 3; ++k) p[k] = ToLibraryPoint(PointCoords[(*points)[k]]);
    msr::CCircle circle(p[0], p[1], p[2]);
    const Coord3 centre = FromLibraryPoint(circle.centre);
    double cx = centre.x, cy = centre.y, r = circle.radius;
    Extents.Add(cx - r, cy - r);
    Extents.Add(cx + r, cy + r);
}

int CMIFWriter::LayerOfFeature(const CFeature* feature) const {
    int code = feature->Code;
    if (!ValidSlot(code, FeatureCodes) || CodeStates[code] == kNone) return -1;
    int layer = FeatureCodes[code].Layer;
    if (!ValidSlot(layer, Layers) || LayerStates[layer] == kNone) return -1;
    return layer;
}

const std::vector<int>* CMIFWriter::PointsOf(const CFeature* feature, size_t count) const {
    auto* list = dynamic_cast<const CPointListFeature*>(feature);
    if (!list || list->Points.size() < count) return nullptr;
    for (int slot : list->Points)
        if (!ValidSlot(slot, PointCoords)) return nullptr;
    return &list->Points;
}

void CMIFWriter::ExportFeature(CFeature* feature, int index) {
    size_t needed = PointsNeeded(feature->Kind);
    int layer = LayerOfFeature(feature);
    const std::vector<int>* points = needed ? PointsOf(feature, needed) : nullptr;
    if (layer < 0 || !points) return;
    const FeatureStyleRec& style = FeatureStyles[feature->Code];
    auto xy = [this, points](size_t k) -> const Coord3& { return PointCoords[(*points)[k]]; };

    text_.clear();
    switch (feature->Kind) {
    case POINT:
        AppendPointObject(text_, xy(0).x, xy(0).y);
        if (const SymbolStyle* s = style.Symbol.get())
            AppendSymbolClause(text_, s->Shape, GetMIFColor(static_cast<unsigned long>(s->Color)), s->Size,
                               WritableFont(s->Font, layer), s->Style);
        else AppendDefaultSymbolClause(text_);
        break;
    case LINE:
        AppendLineObject(text_, xy(0).x, xy(0).y, xy(1).x, xy(1).y);
        AppendStyle(text_, style, true, false);
        break;
    case POLYLINE:
    case POLYGON: AppendPolyObject(feature, *points, style, layer); break;
    case ARC: {
        msr::CArc arc(ToLibraryPoint(xy(0)), ToLibraryPoint(xy(1)), ToLibraryPoint(xy(2)));
        const Coord3 centre = FromLibraryPoint(arc.centre);
        // Degrees with the digits of the coordinates: two decimals put the
        // ends of a 10 km arc 24 cm off its surveyed points.
        AppendArcObject(text_, centre.x, centre.y, arc.radius, arc.start.Degrees(), arc.end.Degrees());
        AppendStyle(text_, style, true, false);
        break;
    }
    case CIRCLE: {
        msr::CCircle circle(ToLibraryPoint(xy(0)), ToLibraryPoint(xy(1)), ToLibraryPoint(xy(2)));
        const Coord3 centre = FromLibraryPoint(circle.centre);
        AppendEllipseObject(text_, centre.x, centre.y, circle.radius);
        AppendStyle(text_, style, true, true);
        break;
    }
    default: return;
    }
    GetMIFFile(layer)->WriteString(text_);

    text_.clear();
    AppendRow(text_, layer, feature->Code, index);
    GetMIDFile(layer)->WriteString(text_);
}

// A PLINE or a REGION of one ring with its pen, brush and smoothing.
void CMIFWriter::AppendPolyObject(const CFeature* feature, const std::vector<int>& points, const FeatureStyleRec& style,
                                  int layer) {
    // An object of one vertex is no valid MIF (readers stop at it and lose
    // the rest of the layer): a single point is written twice.
    size_t count = points.size(), vertices = count < 2 ? 2 : count;
    if (vertices != count) NoteChange(ChangeKind::ShapeRepeated, layer, kPlaceLayer);
    if (feature->Kind == POLYLINE) AppendPlineHead(text_, static_cast<int>(vertices));
    else AppendRegionHead(text_, static_cast<int>(vertices));
    for (size_t k = 0; k < vertices; ++k) {
        const Coord3& c = PointCoords[points[k < count ? k : count - 1]];
        AppendVertex(text_, c.x, c.y);
    }
    AppendStyle(text_, style, true, feature->Kind == POLYGON);
    if (auto* polyline = dynamic_cast<const CPolylineFeature*>(feature); polyline && polyline->Smooth)
        AppendSmoothClause(text_);
}

void CMIFWriter::AppendStyle(std::string& out, const FeatureStyleRec& style, bool pen, bool brush) {
    if (pen && style.Pen)
        AppendPenClause(out, style.Pen->Width, GetLine(style.Pen->Pattern),
                        GetMIFColor(static_cast<unsigned long>(style.Pen->Color)));
    if (brush && style.Brush) {
        unsigned long fore = GetMIFColor(static_cast<unsigned long>(style.Brush->ForeColor));
        unsigned long back = GetMIFColor(static_cast<unsigned long>(style.Brush->BackColor));
        // MapInfo paints a solid brush with its first colour: a solid fill shows the back colour.
        if (style.Brush->Pattern == 0) std::swap(fore, back);
        AppendBrushClause(out, GetHatch(style.Brush->Pattern), fore, back);
    }
}

const char* CMIFWriter::WritableFont(const CText& font, int layer) {
    if (font.IsNull()) return nullptr;
    std::string_view written = WritableText(font.View(), false, valueScratch_, layer, kPlaceSymbols);
    return written.data() == valueScratch_.data() ? valueScratch_.c_str() : font.c_str();
}

const std::vector<MIFColumn>& CMIFWriter::DeclaredColumns(int layer) {
    const size_t l = static_cast<size_t>(layer);
    if (declared_.size() <= l) declared_.resize(l + 1);
    std::vector<MIFColumn>& declared = declared_[l];
    if (declared.empty() && l < LayerInfo.LayerColumns.size())
        for (const PropertyDef& def : LayerInfo.LayerColumns[l])
            declared.push_back(DeclaredMIFColumn({def.Name.c_str(), def.Type, def.Width, def.Precision}));
    return declared;
}

void CMIFWriter::AppendRow(std::string& out, int layer, int code, int index) {
    size_t columns =
        static_cast<size_t>(layer) < LayerInfo.LayerColumns.size() ? LayerInfo.LayerColumns[layer].size() : 0;
    const std::vector<int>* map = nullptr;
    if (static_cast<size_t>(layer) < LayerInfo.ColumnMaps.size() &&
        static_cast<size_t>(code) < LayerInfo.ColumnMaps[layer].size())
        map = &std::as_const(LayerInfo.ColumnMaps[layer])[code];  // a lookup: no row is made
    const std::vector<CText>* values =
        static_cast<size_t>(index) < FeatureValues.size() ? &FeatureValues[index] : nullptr;
    const std::vector<MIFColumn>& declared = DeclaredColumns(layer);
    for (size_t column = 0; column < columns; ++column) {
        int position = map && column < map->size() ? (*map)[column] : kNone;
        const CText* value = nullptr;
        if (position >= 0 && values && static_cast<size_t>(position) < values->size()) value = &(*values)[position];
        if (value && !value->IsNull())
            AppendMIDValue(out, FittedValue(value->View(), declared[column], layer, static_cast<int>(column)));
        else AppendMIDValue(out, nullptr);
    }
    out += '\n';
}

std::string_view CMIFWriter::FittedValue(std::string_view text, const MIFColumn& declared, int layer, int place) {
    text = WritableText(text, true, valueScratch_, layer, place);  // a tab stays: the value is quoted then
    switch (declared.type) {
    case kTypeChar:
        if (text.size() > static_cast<size_t>(declared.width)) {
            NoteChange(ChangeKind::ValueCut, layer, place, 1, text.size()).limit = declared.width;
            text = text.substr(0, static_cast<size_t>(declared.width));
        }
        break;
    case kTypeSmallint:
    case kTypeInteger: {
        const bool small = declared.type == kTypeSmallint;
        if (IsWholeNumberOutside(text, small ? -32768 : INT32_MIN, small ? 32767 : INT32_MAX)) {
            NoteChange(ChangeKind::NumberEmptied, layer, place, 1, text.size());
            text = {};
        }
        break;
    }
    case kTypeDecimal:
        text = FittedNumber(text, static_cast<size_t>(declared.width), numberScratch_, layer, place);
        break;
    case kTypeFloat:
        if (IsNonFiniteNumber(text)) {
            NoteChange(ChangeKind::NumberEmptied, layer, place, 1, text.size());
            text = {};
        }
        break;
    default: break;
    }
    return text;
}

void CMIFWriter::NoteDeclarations(int layer) {
    NoteLayerNameChange(ChangeKind::FileNameChanged, layer);
    if (static_cast<size_t>(layer) >= LayerInfo.LayerColumns.size()) return;
    const std::vector<PropertyDef>& columns = LayerInfo.LayerColumns[layer];
    for (size_t c = 0; c < columns.size(); ++c) {
        const int place = static_cast<int>(c);
        const unsigned changes =
            static_cast<size_t>(layer) < ColumnNameChanges.size() && c < ColumnNameChanges[layer].size()
                ? ColumnNameChanges[layer][c]
                : kNameKept;
        NoteNameChange(changes, layer, place, columns[c].Name.Str());
        const MIFColumn& declared = DeclaredColumns(layer)[c];
        const PropertyDef& def = columns[c];
        if (declared.type == kTypeChar || declared.type == kTypeDecimal)
            NoteClamp(ChangeKind::WidthClamped, layer, place, def.Width, declared.width);
        if (declared.type == kTypeDecimal)
            NoteClamp(ChangeKind::DecimalsClamped, layer, place, def.Precision, declared.precision);
    }
}

CStdioFile* CMIFWriter::GetMIFFile(int layer) {
    LayerFile& slot = MIFFiles[layer];
    if (slot.file) return slot.file.get();
    CStdioFile* file = OpenLayerFile(MIFFiles, layer, ".MIF");
    NoteDeclarations(layer);
    std::string header;
    AppendMIFHeader(header, Extents, DeclaredColumns(layer));
    file->WriteString(header);
    return file;
}

CStdioFile* CMIFWriter::GetMIDFile(int layer) {
    LayerFile& slot = MIDFiles[layer];
    if (slot.file) return slot.file.get();
    return OpenLayerFile(MIDFiles, layer, ".MID");
}

CStdioFile* CMIFWriter::OpenLayerFile(std::vector<LayerFile>& files, int layer, const char* extension) {
    const std::string& name =
        static_cast<size_t>(layer) < LayerFileNames.size() ? LayerFileNames[layer] : Layers[layer].Name.Str();
    // Names of the model are 1251; names on disk are UTF-8.
    const std::string base = OutputFolder + Utf8From1251(name);
    // One decision for the pair, taken when the first of its files opens:
    // never an old MIF beside a new MID.
    signed char& decision = pairDecisions_[layer];
    if (decision < 0) decision = DecideOutputSet({base + ".MIF", base + ".MID"}) ? 1 : 0;
    auto file = std::make_unique<CStdioFile>();
    OpenOutputFile(*file, base + extension, decision == 1);
    files[layer].file = std::move(file);
    return files[layer].file.get();
}

void CMIFWriter::FreeExportData() {
    bool failed = false;
    CFileException failure(CFileException::none, 0, "");
    for (auto* files : {&MIFFiles, &MIDFiles}) {
        for (LayerFile& slot : *files) {
            if (!slot.file) continue;
            if (NeedToClear) {
                slot.file->Abort();  // the driver discards the files of the run
            } else {
                try {
                    slot.file->Close();
                } catch (CFileException& e) {
                    if (!failed) failure = e;
                    failed = true;
                }
            }
            slot.file.reset();
        }
    }
    std::vector<LayerFile>().swap(MIFFiles);
    std::vector<LayerFile>().swap(MIDFiles);
    pairDecisions_.clear();
    CWriter::FreeExportData();
    if (failed) throw failure;
}

}  // namespace tvk
