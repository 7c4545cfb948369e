// CDXFWriter: writes the prepared survey model as one AutoCAD release 12 text
// DXF file (AC1009): header with extents and limits, the LTYPE, LAYER and
// STYLE tables, optional attribute blocks, and the entities of every feature.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "dxf/DXFOutput.h"
#include "export/Writer.h"
#include "platform/File.h"

namespace tvk {

class CDXFWriter : public CWriter {
public:
    CDXFWriter();
    ~CDXFWriter() override;

    // CWriter::Read, then ConvertLayerNames: DXF symbol names, distinct
    // ignoring letter case. Throws as CWriter::Read does.
    void Read(const char* file, const char* log);
    // The export driver; `path` is the full path of the DXF file.
    void Export(const char* path, const char* log) { CWriter::Export(path, log); }

    // Contract: stores whether features get attribute blocks and inserts;
    // returns the previous setting.
    bool SetExportSemantic(bool on);
    // Contract: stores whether the header declares code page 1251
    // ($DWGCODEPAGE ANSI_1251) and returns the previous setting. Off gives
    // the header of a file that says nothing of its code page.
    bool SetDeclareCodePage(bool on);

    // Contract: in place, makes `name` a DXF symbol name (the first 32 bytes:
    // anything but a 1251 letter or digit, "$", "_" or "-" becomes "_"; cut
    // after the 32nd) and returns it.
    static char* TLXToDXFName(char* name);
    // Contract: the line-type name of pen pattern `i`, "CONTINUOUS" outside 0..15.
    const char* GetLine(int i) const;

    // The names of the two label layers of the last export ("" before).
    const std::string& GetNamesLayer() const { return NamesLayer; }
    const std::string& GetElevationsLayer() const { return ElevationsLayer; }

    // --- virtual operations appended to those of CWriter, in slot order ---
    // The STYLE table: one text style per feature code with a symbol.
    virtual void WriteStyles();
    // Contract: the colour index nearest to the Windows RGB value (red in
    // the low byte); ties go to the first palette entry.
    virtual int GetACI(unsigned long rgb);
    // The fixed LTYPE table of the 16 line types.
    virtual void WriteLTypeHeader();
    // Writes the entities of one feature that is not a multiple feature;
    // `index` is its slot (unused here).
    virtual void ExportFeature(CFeature* feature, int index);
    // Contract: `n` right-aligned in `width` characters; longer numbers whole.
    virtual void WriteAligned(int n, int width);
    // Contract: the code aligned to 3, a line end, the value aligned to 6, a line end.
    virtual void WriteGroup(int code, int value);
    // Contract: the code aligned to 3, a line end, the text unchanged, a line end.
    virtual void WriteGroup(int code, const char* text);
    // Contract: the code aligned to 3, a line end, the value in the _gcvt
    // form with 16 digits ("0.", "2.5", "1.7e+308"), a line end.
    virtual void WriteGroup(int code, double value);
    // The LAYER table: every kept layer and the two label layers.
    virtual void WriteLayers();
    // The opening of the HEADER section up to the drawing version (and the
    // code page when it is declared).
    virtual void WriteHeader();

    // Contract: completes and closes the DXF file of the last export; after
    // a failure (NeedToClear) it only closes it, without throwing.
    void FreeExportData() override;

protected:
    // The body of one export (called by the driver).
    void Export() override;
    // The export model, then style names and colour indexes.
    void PrepareData() override;
    // Names over 30 bytes keep their first 29 bytes and the last, then the
    // CWriter version.
    void ConvertLayerFileNames() override;

    // Makes every kept layer's file name a DXF symbol name, distinct ignoring case.
    void ConvertLayerNames();

    // --- members, in order ---
    bool ExportSemantic = true;
    std::vector<std::string> StyleNames;  // per code slot: STYLE0, STYLE1... or empty
    std::string NamesLayer;
    std::string ElevationsLayer;
    // min x, min y, max x, max y, min z, max z; never reset, only widened.
    double Extents[6] = {1.7e308, 1.7e308, -1.7e308, -1.7e308, 1.7e308, -1.7e308};
    std::unique_ptr<CStdioFile> OutputFile;
    bool DeclareCodePage = true;

private:
    void WidenExtents(double x, double y, double z);
    void ComputeExtents();
    // Widens by the circles of the feature's arcs and circles, parts at any depth included.
    void WidenByCircles(const CFeature* feature);
    void WidenByCircle(const CFeature& leaf);
    void WriteExtentsAndLimits();
    void WriteBlock(int slot);
    void WriteFeatureEntities(int slot);
    // Walks a feature: a multiple feature part by part at any depth.
    void ExportFeatureTree(CFeature* feature, int index);
    // What every entity of a feature is written with: its code, its layer
    // name and the layer's slot.
    struct EntityStyle {
        int code;
        const char* layer;
        int layerSlot;
    };
    // Groups 0 and 8: the entity's type and its layer.
    void WriteEntityHead(const char* entity, const char* layer);
    void WritePointEntity(const std::vector<int>& points, const EntityStyle& style);
    void WriteSymbolText(const Coord3& p, const SymbolStyle& symbol, const EntityStyle& style);
    void WriteLineEntity(const std::vector<int>& points, const EntityStyle& style);
    void WritePolylineEntity(const std::vector<int>& points, const EntityStyle& style);
    // An ARC (`arc`) or a CIRCLE through the feature's first three points.
    void WriteRoundEntity(bool arc, const std::vector<int>& points, const EntityStyle& style);
    void WritePenGroups(int codeSlot);
    void WritePointLabels(const Coord3& p, int pointSlot, int layerSlot);
    // A text group holding a text of the survey: the bytes no DXF line may
    // carry are written as blanks and counted at (layer, place).
    void WriteTextGroup(int code, const char* text, int layerSlot, int place);
    int LayerSlotOfCode(int codeSlot) const;
    const std::string& LayerOfCode(int codeSlot) const;
    bool IsPointLayerCode(int codeSlot) const;
    const Coord3* PointAt(const std::vector<int>& points, size_t i) const;
    Coord3 AttributeAnchor(const CFeature* feature) const;
    void StepFeature();

    CDXFOutput Output;
    bool Completed = false;  // the last export wrote its file to the end
    // While the BLOCKS section is written: every feature is written again in
    // ENTITIES, where its changes are counted once.
    bool writingBlocks_ = false;
    std::string textScratch_;
};

}  // namespace tvk
