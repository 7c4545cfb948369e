// CSHPWriter: the writer of ESRI shapefiles. Every export layer gets up to
// three sets, one per shape type (points, polylines, polygons); each set is a
// main file (.SHP), an index file (.SHX), a dBASE table (.DBF) and, unless
// turned off, a .CPG file that declares the table's code page 1251. A set is
// created when the first feature of its type in that layer is exported.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "export/Writer.h"
#include "shp/DBFTable.h"
#include "shp/SHPCtrlBlock.h"
#include "shp/ShapeEncoding.h"

namespace tvk {

class CSHPWriter : public CWriter {
public:
    CSHPWriter();
    ~CSHPWriter() override;

    using CWriter::Export;

    // Completes every open file (lengths, boxes, record counts, 0x1A) and
    // closes it; after a failure (NeedToClear) it only closes them. Rethrows
    // the first file failure met while completing (after closing all).
    void FreeExportData() override;

    // Whether a .CPG file holding "1251" is written beside every table
    // (default true). Returns the previous setting.
    bool WriteCodePageFiles(bool write);
    bool IsWritingCodePageFiles() const { return m_writeCodePage; }

protected:
    // The export pass: every valid feature in index order, the parts of a
    // multiple feature one by one at any depth.
    void Export() override;

    // --- virtual operations added by the shapefile writer, in slot order ---
    // Writes the record of one feature (or part) into the set of its layer and
    // shape type, with its index entry and its table row. `index` is the
    // feature's index in Features (of the whole feature for a part); `part`
    // does not change the output.
    virtual void ExportFeature(CFeature* feature, int index, int part);
    // Writes the table row of feature `index`; the last two arguments are unused.
    virtual void WriteData(CFile* file, int index, int, int);
    // Writes the table header for the columns of `layer` and leaves the file
    // after it; the third argument is unused.
    virtual void WriteDBFHeader(CFile* file, int layer, int);
    // Writes the 100-byte header of a main or index file.
    virtual void WriteHeader(CFile* file, int shapeType);
    // The layer's set of that shape type, its files opened on first use
    // (one overwrite decision for the set).
    virtual tagSHPCtrlBlock& GetPolygonCtrlBlock(int layer);
    virtual tagSHPCtrlBlock& GetPolylineCtrlBlock(int layer);
    virtual tagSHPCtrlBlock& GetPointCtrlBlock(int layer);

    // Writes `size` bytes at `position` and returns to the current position.
    void WriteToFile(CFile* file, int64_t position, const void* data, unsigned int size);
    // Writes the four bytes of `value`, most significant first.
    void WriteBigOrderInt(CFile* file, uint32_t value);
    // Stores the four bytes of `value`, most significant first, at `bytes`.
    void GetBigOrderInt(uint32_t value, uint32_t* bytes);

    std::vector<tagSHPCtrlBlock> m_pointBlocks;
    std::vector<tagSHPCtrlBlock> m_polylineBlocks;
    std::vector<tagSHPCtrlBlock> m_polygonBlocks;

private:
    tagSHPCtrlBlock& OpenBlock(std::vector<tagSHPCtrlBlock>& blocks, int layer, int shapeType, const char* suffixUtf8);
    // An output file of the run, or the null device when `write` is false.
    std::unique_ptr<CFile> OpenOutput(const std::string& path, bool write);
    void WriteCodePageFile(const std::string& path);
    void ExportParts(CFeature* feature, int index, int& part);
    // Appends the built record to the block's main file, with its index entry
    // and table row, and takes its box into the block's extents.
    void PutRecord(tagSHPCtrlBlock& block, int32_t contentWords, const ShapeBox& box, int index);
    // The points of a feature's point list, in order.
    bool CollectPoints(const CPointListFeature& feature, size_t minimum);
    // The trace of the arc or circle through the feature's first three points.
    bool CollectTrace(const CPointListFeature& feature, bool circle);
    const CDBFLayout& LayoutOf(int layer);
    // Counts the changes of the table's field names, widths and decimals.
    void NoteDeclarations(int layer, const std::vector<DBFColumn>& columns);
    // A value as its field holds it: no control character, a text cut (by
    // PutDBFValue), a number that does not fit left empty; the changes counted.
    std::string_view FittedValue(std::string_view text, const DBFField& field, int layer, int place);
    // Completes and closes the block's files; `abandon` only closes them.
    void CloseBlock(tagSHPCtrlBlock& block, bool abandon);

    bool m_writeCodePage = true;
    std::vector<CDBFLayout> m_layouts;  // per layer, built when a set of the layer opens
    std::vector<bool> m_layoutBuilt;
    std::vector<ShapePoint> m_points;  // scratch: the points of the current record
    std::string m_record;              // scratch: the current record's bytes
    std::string m_row;                 // scratch: the current table row
    std::string m_value, m_number;     // scratch: a value being fitted
};

}  // namespace tvk
