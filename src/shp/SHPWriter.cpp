#include "shp/SHPWriter.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <exception>
#include <memory>
#include <utility>

#include "export/UniqueNames.h"
#include "msr/msr.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "reader/FeatureWalk.h"

namespace tvk {

namespace {

// The suffixes of the three sets, in 1251 like every model text.
const std::string& PointSuffix() {
    static const std::string s = Cp1251("(Точки)");
    return s;
}
const std::string& PolylineSuffix() {
    static const std::string s = Cp1251("(Ломаные)");
    return s;
}
const std::string& PolygonSuffix() {
    static const std::string s = Cp1251("(Полигоны)");
    return s;
}

constexpr const char* kCodePageText = "1251";

}  // namespace

CSHPWriter::CSHPWriter() = default;

CSHPWriter::~CSHPWriter() {
    try {
        Free();
    } catch (...) {
        // A destructor cannot report that the last bytes did not reach the disk.
    }
}

bool CSHPWriter::WriteCodePageFiles(bool write) {
    bool previous = m_writeCodePage;
    m_writeCodePage = write;
    return previous;
}

// ---- the export pass ---------------------------------------------------------

void CSHPWriter::Export() {
    const size_t layers = Layers.size();
    m_pointBlocks.clear();
    m_polylineBlocks.clear();
    m_polygonBlocks.clear();
    m_pointBlocks.resize(layers);
    m_polylineBlocks.resize(layers);
    m_polygonBlocks.resize(layers);
    m_layouts.assign(layers, CDBFLayout());
    m_layoutBuilt.assign(layers, false);

    if (OnProgressBegin) OnProgressBegin(0, static_cast<int>(std::min<size_t>(Features.size(), INT_MAX)));
    for (size_t i = 0; i < Features.size(); ++i) {
        if (IsMustDie()) throw CThreadStopSignal();
        if (OnProgressStep) OnProgressStep(1);
        if (FeatureStates[i] == kNone || !Features[i]) continue;
        CFeature* feature = Features[i].get();
        if (feature->Kind == MULTIPLE) {
            int part = 0;
            ExportParts(feature, static_cast<int>(i), part);
        } else {
            ExportFeature(feature, static_cast<int>(i), 0);
        }
    }
}

// The parts of a MULTIPLE in order, those of inner MULTIPLEs in turn, numbered
// as they come.
void CSHPWriter::ExportParts(CFeature* feature, int index, int& part) {
    if (!AsMultiple(feature)) return;
    ForEachLeaf(feature, [this, index, &part](CFeature& leaf) { ExportFeature(&leaf, index, part++); });
}

bool CSHPWriter::CollectPoints(const CPointListFeature& feature, size_t minimum) {
    if (feature.Points.size() < minimum) return false;
    m_points.clear();
    for (int slot : feature.Points) {
        if (!ValidSlot(slot, PointCoords)) return false;
        m_points.push_back({PointCoords[slot].x, PointCoords[slot].y});
    }
    return true;
}

bool CSHPWriter::CollectTrace(const CPointListFeature& feature, bool circle) {
    if (!CollectPoints(feature, 3)) return false;
    msr::CPoint2d p[3];
    for (int k = 0; k < 3; ++k) p[k] = ToLibraryPoint({m_points[k].x, m_points[k].y});
    long count = 0;
    std::unique_ptr<msr::CPoint3d[]> trace(circle ? msr::CCircle(p[0], p[1], p[2]).GetTrace(count, nullptr)
                                                  : msr::CArc(p[0], p[1], p[2]).GetTrace(count, nullptr));
    m_points.clear();
    auto add = [this](const msr::CPoint3d& t) {
        Coord3 q = FromLibraryPoint(t);
        m_points.push_back({q.x, q.y});
    };
    if (trace && count > 0) {
        if (circle) {
            // From the last trace point to the first, then the last once more.
            for (long k = count - 1; k >= 0; --k) add(trace[k]);
            add(trace[count - 1]);
        } else {
            for (long k = 0; k < count; ++k) add(trace[k]);
        }
    }
    return !m_points.empty();
}

void CSHPWriter::ExportFeature(CFeature* feature, int index, int part) {
    if (!feature) return;
    if (feature->Kind == MULTIPLE) {  // never written as a record of its own
        ExportParts(feature, index, part);
        return;
    }
    const int code = feature->Code;
    if (!ValidSlot(code, FeatureCodes)) return;
    const int layer = FeatureCodes[code].Layer;
    if (!ValidSlot(layer, Layers)) return;
    auto* list = dynamic_cast<CPointListFeature*>(feature);
    if (!list) return;

    m_record.clear();
    switch (feature->Kind) {
    case POINT: {
        if (!CollectPoints(*list, 1)) return;
        tagSHPCtrlBlock& block = GetPointCtrlBlock(layer);
        AppendPointRecord(m_record, block.RecordCount + 1, m_points[0]);
        ShapeBox box;
        box.Extend(m_points[0]);
        PutRecord(block, PointContentWords(), box, index);
        return;
    }
    case LINE:
    case POLYLINE:
    case ARC: {
        if (feature->Kind == ARC ? !CollectTrace(*list, false) : !CollectPoints(*list, 1)) return;
        if (RepeatLastPoint(m_points, 2)) NoteChange(ChangeKind::ShapeRepeated, layer, kPlaceLayer);
        tagSHPCtrlBlock& block = GetPolylineCtrlBlock(layer);
        ShapeBox box =
            AppendPartRecord(m_record, block.RecordCount + 1, kShapePolyline, m_points.data(), m_points.size());
        PutRecord(block, static_cast<int32_t>(PartContentWords(m_points.size())), box, index);
        return;
    }
    case POLYGON:
    case CIRCLE: {
        if (feature->Kind == CIRCLE ? !CollectTrace(*list, true) : !CollectPoints(*list, 1)) return;
        if (RepeatLastPoint(m_points, 4)) NoteChange(ChangeKind::ShapeRepeated, layer, kPlaceLayer);
        MakeRingClockwise(m_points);  // an outer ring, as the format wants it
        tagSHPCtrlBlock& block = GetPolygonCtrlBlock(layer);
        ShapeBox box =
            AppendPartRecord(m_record, block.RecordCount + 1, kShapePolygon, m_points.data(), m_points.size());
        PutRecord(block, static_cast<int32_t>(PartContentWords(m_points.size())), box, index);
        return;
    }
    default: return;
    }
}

void CSHPWriter::PutRecord(tagSHPCtrlBlock& block, int32_t contentWords, const ShapeBox& box, int index) {
    CFile& main = *block.MainFile;
    const int64_t offset = main.GetPosition() / 2;
    // Offsets and lengths are 32-bit word counts: a main file may not pass 4 GiB.
    if (offset + 4 + static_cast<int64_t>(contentWords) > INT32_MAX)
        throw CFileException(CFileException::generic, EFBIG, main.GetFilePath());
    ++block.RecordCount;
    main.Write(m_record);
    uint32_t entry[2];
    GetBigOrderInt(static_cast<uint32_t>(offset), &entry[0]);
    GetBigOrderInt(static_cast<uint32_t>(contentWords), &entry[1]);
    block.IndexFile->Write(entry, sizeof entry);
    WriteData(block.TableFile.get(), index, 0, 0);

    double* e = block.Extents;
    if (box.minX < e[0]) e[0] = box.minX;
    if (box.minY < e[1]) e[1] = box.minY;
    if (box.maxX > e[2]) e[2] = box.maxX;
    if (box.maxY > e[3]) e[3] = box.maxY;
    if (0.0 < e[4]) e[4] = 0.0;  // the z range only ever takes in 0
    if (0.0 > e[5]) e[5] = 0.0;
}

// ---- opening a set -----------------------------------------------------------

tagSHPCtrlBlock& CSHPWriter::GetPointCtrlBlock(int layer) {
    return OpenBlock(m_pointBlocks, layer, kShapePoint, PointSuffix().c_str());
}

tagSHPCtrlBlock& CSHPWriter::GetPolylineCtrlBlock(int layer) {
    return OpenBlock(m_polylineBlocks, layer, kShapePolyline, PolylineSuffix().c_str());
}

tagSHPCtrlBlock& CSHPWriter::GetPolygonCtrlBlock(int layer) {
    return OpenBlock(m_polygonBlocks, layer, kShapePolygon, PolygonSuffix().c_str());
}

tagSHPCtrlBlock& CSHPWriter::OpenBlock(std::vector<tagSHPCtrlBlock>& blocks, int layer, int shapeType,
                                       const char* suffix) {
    if (blocks.size() < Layers.size()) blocks.resize(Layers.size());
    tagSHPCtrlBlock& block = blocks.at(static_cast<size_t>(layer));
    if (block.MainFile) return block;

    block.RecordCount = 0;
    const std::string& name = static_cast<size_t>(layer) < LayerFileNames.size()
                                  ? LayerFileNames[layer]
                                  : std::string(Layers[layer].Name.c_str());
    // The layer's name and the suffix are 1251 texts; the disk wants UTF-8.
    const std::string base = OutputFolder + Utf8From1251(name + suffix);
    std::vector<std::string> set = {base + ".SHP", base + ".SHX", base + ".DBF"};
    if (m_writeCodePage) set.push_back(base + ".CPG");
    // One decision for the whole set: never an old SHP beside a new DBF. A
    // kept set is written to the null device, so the writer runs unchanged.
    const bool write = DecideOutputSet(set);
    NoteLayerNameChange(ChangeKind::FileNameChanged, layer);

    block.MainFile = OpenOutput(set[0], write);
    WriteHeader(block.MainFile.get(), shapeType);
    block.IndexFile = OpenOutput(set[1], write);
    WriteHeader(block.IndexFile.get(), shapeType);
    block.TableFile = OpenOutput(set[2], write);
    WriteDBFHeader(block.TableFile.get(), layer, 0);
    if (write && m_writeCodePage) WriteCodePageFile(set[3]);
    return block;
}

std::unique_ptr<CFile> CSHPWriter::OpenOutput(const std::string& path, bool write) {
    auto file = std::make_unique<CFile>();
    OpenOutputFile(*file, path, write);
    return file;
}

void CSHPWriter::WriteCodePageFile(const std::string& path) {
    CFile file;
    OpenOutputFile(file, path);
    file.Write(kCodePageText, 4);
    file.Close();
}

// ---- headers and rows --------------------------------------------------------

void CSHPWriter::WriteHeader(CFile* file, int shapeType) { file->Write(ShapeFileHeader(shapeType)); }

const CDBFLayout& CSHPWriter::LayoutOf(int layer) {
    const size_t l = static_cast<size_t>(layer);
    if (m_layouts.size() <= l) {
        m_layouts.resize(l + 1);
        m_layoutBuilt.resize(l + 1, false);
    }
    if (!m_layoutBuilt[l]) {
        std::vector<DBFColumn> columns;
        if (l < LayerInfo.LayerColumns.size()) {
            for (const PropertyDef& def : LayerInfo.LayerColumns[l]) {
                const int place = static_cast<int>(columns.size());
                std::string name(WritableText(def.Name.View(), false, m_value, layer, place));
                columns.push_back({std::move(name), def.Type, def.Width, def.Precision});
            }
        }
        m_layouts[l] = CDBFLayout(columns);
        m_layoutBuilt[l] = true;
        NoteDeclarations(layer, columns);
    }
    return m_layouts[l];
}

void CSHPWriter::NoteDeclarations(int layer, const std::vector<DBFColumn>& columns) {
    const std::vector<DBFField>& fields = m_layouts[static_cast<size_t>(layer)].Fields();
    // The point layers' columns are the system's own, and so are the fixed
    // names the table gives them.
    const bool ownNames = IsPointLayerState(LayerStates[static_cast<size_t>(layer)]);
    for (size_t c = 0; c < fields.size(); ++c) {
        const DBFField& f = fields[c];
        const DBFColumn& column = columns[c];
        const int place = static_cast<int>(c);
        if (!ownNames) NoteNameChange(f.nameChange, layer, place, f.name);
        if (column.type == PROP_CHAR || column.type == PROP_DECIMAL)
            NoteClamp(ChangeKind::WidthClamped, layer, place, column.width, f.length);
        if (column.type == PROP_DECIMAL)
            NoteClamp(ChangeKind::DecimalsClamped, layer, place, column.precision, f.decimals);
    }
}

void CSHPWriter::WriteDBFHeader(CFile* file, int layer, int) {
    const CDBFLayout& layout = LayoutOf(layer);
    // 16-bit header and record lengths: more would make a table no reader can use.
    if (!layout.FitsHeader()) throw CFileException(CFileException::generic, EOVERFLOW, file->GetFilePath());
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    file->Write(layout.Header(local, 0));
}

void CSHPWriter::WriteData(CFile* file, int index, int, int) {
    const CFeature* feature = Features[index].get();
    const int code = feature->Code;
    const int layer = FeatureCodes[code].Layer;
    const CDBFLayout& layout = LayoutOf(layer);
    const std::vector<DBFField>& fields = layout.Fields();
    const std::vector<int>* map = nullptr;
    if (static_cast<size_t>(layer) < LayerInfo.ColumnMaps.size() &&
        static_cast<size_t>(code) < LayerInfo.ColumnMaps[layer].size())
        map = &std::as_const(LayerInfo.ColumnMaps[layer])[code];  // a lookup: no row is made
    const std::vector<CText>& values = FeatureValues[index];

    m_row.resize(static_cast<size_t>(layout.RecordLength()));
    m_row[0] = kDBFRecordFlag;
    for (size_t c = 0; c < fields.size(); ++c) {
        const int position = map && c < map->size() ? (*map)[c] : kNone;
        std::string_view text;
        if (ValidSlot(position, values)) text = values[position].View();
        PutDBFValue(m_row.data() + fields[c].offset, fields[c].length, FittedValue(text, fields[c], layer, int(c)));
    }
    file->Write(m_row);
}

std::string_view CSHPWriter::FittedValue(std::string_view text, const DBFField& field, int layer, int place) {
    text = WritableText(text, true, m_value, layer, place);
    const size_t length = text.size();
    if (field.type == 'C') {
        if (length > field.length) NoteChange(ChangeKind::ValueCut, layer, place, 1, length).limit = field.length;
        return text;  // PutDBFValue cuts it
    }
    // A number cut short is another number: 12345678 in six places would read 123456.
    return FittedNumber(text, field.length, m_number, layer, place);
}

// ---- positioned writes -------------------------------------------------------

void CSHPWriter::WriteToFile(CFile* file, int64_t position, const void* data, unsigned int size) {
    const int64_t back = file->GetPosition();
    file->Seek(position);
    file->Write(data, size);
    file->Seek(back);
}

void CSHPWriter::WriteBigOrderInt(CFile* file, uint32_t value) {
    uint32_t bytes;
    GetBigOrderInt(value, &bytes);
    file->Write(&bytes, 4);
}

void CSHPWriter::GetBigOrderInt(uint32_t value, uint32_t* bytes) {
    unsigned char* b = reinterpret_cast<unsigned char*>(bytes);
    b[0] = static_cast<unsigned char>(value >> 24);
    b[1] = static_cast<unsigned char>(value >> 16);
    b[2] = static_cast<unsigned char>(value >> 8);
    b[3] = static_cast<unsigned char>(value);
}

// ---- closing -----------------------------------------------------------------

void CSHPWriter::CloseBlock(tagSHPCtrlBlock& block, bool abandon) {
    std::exception_ptr failure;
    const bool empty = block.RecordCount == 0;
    ShapeBox box;
    if (!empty) box = {block.Extents[0], block.Extents[1], block.Extents[2], block.Extents[3]};
    else box = {0, 0, 0, 0};  // no record: no extents to speak of

    auto finish = [&](std::unique_ptr<CFile>& file, bool isTable) {
        if (!file) return;
        try {
            if (!abandon) {
                if (isTable) {
                    char count[4];
                    for (int i = 0; i < 4; ++i)
                        count[i] = static_cast<char>(static_cast<uint32_t>(block.RecordCount) >> (8 * i));
                    WriteToFile(file.get(), kDBFRecordCountOffset, count, 4);
                    file->Write(&kDBFEndOfFile, 1);
                } else {
                    uint32_t words;
                    GetBigOrderInt(static_cast<uint32_t>(file->GetLength() / 2), &words);
                    WriteToFile(file.get(), kShapeHeaderLengthOffset, &words, 4);
                    std::string boxBytes;
                    AppendBox(boxBytes, box);
                    WriteToFile(file.get(), kShapeHeaderBoxOffset, boxBytes.data(), 32);
                }
            }
            file->Close();
        } catch (...) {
            file->Abort();
            if (!failure) failure = std::current_exception();
        }
        file.reset();
    };
    finish(block.MainFile, false);
    finish(block.IndexFile, false);
    finish(block.TableFile, true);
    if (failure) std::rethrow_exception(failure);
}

void CSHPWriter::FreeExportData() {
    // After a failure the files are only closed: the driver discards them.
    const bool abandon = IsNeedToClear();
    std::exception_ptr failure;
    const size_t layers = std::max({m_pointBlocks.size(), m_polylineBlocks.size(), m_polygonBlocks.size()});
    for (size_t l = 0; l < layers; ++l) {
        for (auto* blocks : {&m_pointBlocks, &m_polylineBlocks, &m_polygonBlocks}) {
            if (l >= blocks->size()) continue;
            try {
                CloseBlock((*blocks)[l], abandon);
            } catch (...) {
                if (!failure) failure = std::current_exception();
            }
        }
    }
    m_pointBlocks.clear();
    m_polylineBlocks.clear();
    m_polygonBlocks.clear();
    m_layouts.clear();
    m_layoutBuilt.clear();
    CWriter::FreeExportData();
    // A file that could not be completed is not a success; after a failure
    // the one on its way says what happened.
    if (failure && !abandon) std::rethrow_exception(failure);
}

}  // namespace tvk
