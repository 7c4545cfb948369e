// The driver's reading: the export model the writers prepare, without a
// feature object per survey point.
#include <algorithm>
#include <tuple>

#include "GdalTestSupport.h"
#include "gdal/SurveyReader.h"
#include "platform/NumberText.h"
#include "support/Files.h"

namespace tlxgdal::test {
namespace {

// Both point kinds, a point left out, a CIRC0 with its generated points, a
// feature with values.
std::string Survey() {
    return Section("POINTS", PointLine(1, "ST1", "5000.0", "3000.0", "120.5", -1, "/h /v") +
                                 PointLine(2, "A", "-5010.25", "3005.125", "", 1) +
                                 PointLine(3, "B", "5012.0", "2998.0", "-0.0", 1, "/s") +
                                 PointLine(4, "C", "5.1e3", "+3100.5", "1.") + PointLine(5, "D", "x", "1.0")) +
           Section("LAYERS", LayerLine(1, 0, "L")) + Section("FEATURE_CODES", CodeLine(10, 1, "C", "Code")) +
           Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "Note", "Char(20)")) +
           Section("FEATURES", FeatureLine(100, "CIRC0", 10, {1, "2.5"}) + FeatureLine(101, "POINT", 10, {3})) +
           Section("FEATURE_DATA", DataLine(101, 1, "note"));
}

std::string Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return std::to_string(bits);
}

// What the driver takes from the prepared model, point features apart.
std::string Summary(const tvk::CWriter& model, size_t fileFeatures) {
    std::string out;
    for (size_t l = 0; l < model.Layers.size(); ++l) {
        out += "layer " + model.Layers[l].Name.Str() + " " + std::to_string(model.LayerStates[l]) + " " +
               std::to_string(model.LayerUsed[l]) + " " + model.LayerFileNames[l] + ":";
        for (const tvk::PropertyDef& column : model.LayerInfo.LayerColumns[l])
            out += " " + column.Name.Str() + "/" + std::to_string(column.Type) + "/" + std::to_string(column.Width) +
                   "/" + std::to_string(column.Precision);
        for (size_t c = 0; c < model.FeatureCodes.size(); ++c)
            for (int position : model.LayerInfo.ColumnMaps[l][c]) out += " " + std::to_string(position);
        out += "\n";
    }
    for (size_t c = 0; c < model.FeatureCodes.size(); ++c)
        out += "code " + std::to_string(model.CodeStates[c]) + " " + std::to_string(model.CodeUsed[c]) + " " +
               std::to_string(model.PropertySchemas[c].PropertyDefs.size()) + "\n";
    for (size_t p = 0; p < model.Points.size(); ++p) {
        const tvk::Coord3& c = model.PointCoords[p];
        out += "point " + std::to_string(std::max(model.PointStates[p], -1)) + " " + Bits(c.x) + " " + Bits(c.y) + " " +
               Bits(c.z) + "\n";
    }
    for (size_t f = 0; f < fileFeatures; ++f) {
        out += "feature " + std::to_string(model.FeatureStates[f]) + ":";
        for (const tvk::CText& value : model.FeatureValues[f]) out += " " + value.Str();
        out += "\n";
    }
    return out;
}

// The writer's point features as (layer, code, point).
std::vector<std::tuple<int, int, int>> PointFeatures(const tvk::CWriter& model, size_t fileFeatures) {
    std::vector<std::tuple<int, int, int>> out;
    for (size_t f = fileFeatures; f < model.Features.size(); ++f) {
        const auto& feature = static_cast<const tvk::CPointListFeature&>(*model.Features[f]);
        out.emplace_back(model.FeatureCodes[static_cast<size_t>(feature.Code)].Layer, feature.Code, feature.Points[0]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::tuple<int, int, int>> PointFeatures(const CSurveyReader& survey) {
    std::vector<std::tuple<int, int, int>> out;
    for (size_t l = 0; l < survey.Layers.size(); ++l)
        if (const CSurveyReader::PointLayer* layer = survey.PointLayerAt(static_cast<int>(l)))
            for (int point : layer->points) out.emplace_back(static_cast<int>(l), layer->code, point);
    return out;
}

void ExpectTheWritersModel(const std::string& text) {
    tvk::test::MemoryFiles files;
    files.fs.Put("in.tlx", text);
    tvk::CWriter writer;
    writer.Init();
    writer.Read("in.tlx", nullptr);

    CSurveyReader survey;
    survey.ReadSurvey(PutMemoryFile("/vsimem/tlx/in.tlx", text), "");
    const size_t fileFeatures = survey.Counts().features;
    EXPECT_EQ(survey.Features.size(), fileFeatures);
    EXPECT_EQ(Summary(survey, fileFeatures), Summary(writer, fileFeatures));
    EXPECT_EQ(PointFeatures(survey), PointFeatures(writer, fileFeatures));
}

}  // namespace

TEST_F(DriverTest, ThePreparedModelIsTheWritersWithoutPointFeatures) {
    ExpectTheWritersModel(Survey());
    // only control points: the tacheometry layer stays unused
    ExpectTheWritersModel(Section("POINTS", PointLine(1, "A", "1.0", "2.0", "", -1)));
    ExpectTheWritersModel(Section("POINTS", PointLine(1, "A", "1.0", "2.0", "", 2) + PointLine(2, "B", "1.5", "2.5")));
    for (const char* sample : {"building-site.tlx", "damaged-survey.tlx"})
        ExpectTheWritersModel(tvk::test::ReadFile(std::string(TLX_SOURCE_DIR) + "/samples/" + sample));
}

}  // namespace tlxgdal::test
