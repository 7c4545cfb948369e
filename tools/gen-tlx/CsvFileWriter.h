// Writes a generated survey as CSV files with WKT geometry, the data GDAL's
// ogr2ogr needs to do the same exports as tlxexport:
//   DIR/points.csv      every survey point with its geodetic coordinates
//   DIR/layers/*.csv    the two point layers and one file per layer and geometry
//                       class (point, line, polygon) with that layer's columns
//   DIR/all.vrt         every file of layers/ as one layer "entities"
// Arcs and circles become line strings; the parts of a MULTIPLE become rows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GeneratedSurvey.h"

namespace gentlx {

class CTextOut;

class CCsvFileWriter {
public:
    explicit CCsvFileWriter(const GeneratedSurvey& survey) : m_survey(survey) {}
    // Creates `dir` when needed and writes the files; returns their total size.
    // Throws std::runtime_error on failure.
    uint64_t Write(const std::string& dir);

private:
    uint64_t WritePoints(const std::string& dir);
    uint64_t WritePointLayers(const std::string& dir, std::vector<std::string>& tables);
    // The point's name (its number when it has none), X and Y, each followed by a comma.
    void PointNameAndPlan(CTextOut& out, size_t i, const GenPoint& p) const;
    // One table per layer and geometry class, with the columns of the codes
    // that meet in it.
    struct FeatureTable {
        bool used = false;  // a feature of the layer has that class
        std::unique_ptr<CTextOut> out;
        std::vector<int> columns;       // property pool indexes
        std::vector<int> columnOfPool;  // pool index -> column, -1 when absent
    };
    uint64_t WriteFeatureLayers(const std::string& dir, std::vector<std::string>& tables);
    std::vector<FeatureTable> PlanFeatureTables() const;
    void OpenFeatureTable(FeatureTable& t, size_t key, const std::string& dir, std::vector<std::string>& tables) const;
    void WriteFeatureRow(FeatureTable& t, size_t index, const GenFeature& shape, const std::vector<DataValue>& values,
                         std::vector<const std::string*>& cells) const;
    void WriteGeometry(CTextOut& out, const GenFeature& f) const;
    void WriteVrt(const std::string& dir, const std::vector<std::string>& tables) const;

    const GeneratedSurvey& m_survey;
};

}  // namespace gentlx
