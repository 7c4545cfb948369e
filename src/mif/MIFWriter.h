// CMIFWriter: the MapInfo interchange writer. For every export layer that
// receives a feature it writes a pair of text files into the output folder:
// LAYER.MIF with the header and one graphic object per feature, LAYER.MID with
// one attribute row per object, in the same order.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "export/Writer.h"
#include "mif/MIFText.h"

namespace tvk {

class CMIFWriter : public CWriter {
public:
    CMIFWriter();
    ~CMIFWriter() override;

    using CWriter::Export;

    // CWriter's preparation, then ConvertFieldNames.
    void PrepareData() override;
    // Closes every file of the run (null-device files included); after a
    // failure (NeedToClear) without writing more. After all files are
    // closed, the first failure to complete a file is thrown on, so a file
    // cut short never passes for a success.
    void FreeExportData() override;

    // Contract: converts a name in place into a MapInfo name (see
    // ConvertToMIFName) and returns it.
    static char* TLXToMIFName(char* name);

protected:
    // The export pass: extents, margins, then every feature part by part.
    void Export() override;

    // --- added virtual operations, in this order ---
    // Windows RGB to MapInfo's colour number.
    virtual unsigned long GetMIFColor(unsigned long rgb);
    // Appends the object of `feature` (a point-list feature, never a
    // MULTIPLE) with its style clauses to its layer's MIF file and its row of
    // the values of feature slot `index` to the MID file. A feature whose kind
    // or points cannot make an object writes neither.
    virtual void ExportFeature(CFeature* feature, int index);
    // The layer's MID file, opened on first use (the pair's overwrite
    // decision; the null device when the pair is kept).
    virtual CStdioFile* GetMIDFile(int layer);
    // The layer's MIF file, opened on first use with its header written.
    virtual CStdioFile* GetMIFFile(int layer);

    // Converts the names of the used properties, and of the layer columns
    // copied from them, into MapInfo names.
    void ConvertFieldNames();
    // Writes the text unchanged.
    void Write(CStdioFile* file, const char* text);
    // Writes the value in the interchange number format.
    void Write(CStdioFile* file, double value);
    // MapInfo's pen pattern for a model pattern; 1 outside the table.
    int GetLine(int index);
    // MapInfo's brush pattern for a model pattern; 1 outside the table.
    int GetHatch(int index);

    // One open file of the run (the null device for a kept pair).
    struct LayerFile {
        std::unique_ptr<CStdioFile> file;
    };

    std::vector<LayerFile> MIFFiles;  // per layer slot
    std::vector<LayerFile> MIDFiles;  // per layer slot
    MIFExtents Extents;               // of the whole export

private:
    CStdioFile* OpenLayerFile(std::vector<LayerFile>& files, int layer, const char* extension);
    // The layer of a feature's code, or -1 when the code or its layer is
    // invalid or left out.
    int LayerOfFeature(const CFeature* feature) const;
    // The points of a feature when it has at least `count` valid ones.
    const std::vector<int>* PointsOf(const CFeature* feature, size_t count) const;
    void AppendPolyObject(const CFeature* feature, const std::vector<int>& points, const FeatureStyleRec& style,
                          int layer);
    void WidenByCircle(const CFeature* feature);
    void AppendStyle(std::string& out, const FeatureStyleRec& style, bool pen, bool brush);
    void AppendRow(std::string& out, int layer, int code, int index);
    // The layer's columns as its header declares them.
    const std::vector<MIFColumn>& DeclaredColumns(int layer);
    // A value as its column holds it: no byte that would break the row, a
    // text cut to the Char width, a number that does not fit left empty; the
    // changes counted.
    std::string_view FittedValue(std::string_view text, const MIFColumn& declared, int layer, int place);
    // The symbol's font without the bytes that would break its clause.
    const char* WritableFont(const CText& font, int layer);
    // Counts the changes of the layer's file name and column declarations.
    void NoteDeclarations(int layer);

    // Per layer slot and column: the tagNameChange bits of its MIF name.
    std::vector<std::vector<unsigned>> ColumnNameChanges;
    std::string text_;  // the object or row being built
    // Per layer: -1 not decided yet, 1 write the MIF/MID pair, 0 keep it.
    std::vector<signed char> pairDecisions_;
    std::string valueScratch_, numberScratch_;
    std::vector<std::vector<MIFColumn>> declared_;  // per layer slot, built on first use
};

}  // namespace tvk
