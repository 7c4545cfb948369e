// The driver in-process: registration and identification, layers, fields,
// values and FIDs from the export model, random reading, filters and what
// the layers claim to do fast.
#include <thread>

#include "GdalTestSupport.h"
#include "support/Files.h"

namespace tlxgdal::test {
namespace {

// Two layers named alike, one without a name, one without features; every
// column type; a code without a name; a value given empty.
std::string Survey() {
    return Section("POINTS", PointLine(1, "ST1", "5000.0", "3000.0", "120.5", -1, "/h /v") +
                                 PointLine(2, Cp1251("Угол"), "5010.0", "3005.0", "121.0", 1) +
                                 PointLine(3, "P3", "5012.0", "2998.0", "", 1) +
                                 PointLine(4, "P4", "5100.0", "3100.0", "", 1, "/s")) +
           Section("LAYERS", LayerLine(1, 0, Cp1251("Здания")) + LayerLine(2, 0, Cp1251("здания")) +
                                 LayerLine(3, 0, "") + LayerLine(4, 0, Cp1251("Пустой"))) +
           Section("FEATURE_CODES", CodeLine(10, 1, "BLD", Cp1251("Здание")) + CodeLine(11, 2, "X") +
                                        CodeLine(12, 3, "Y", "Mark") + CodeLine(13, 4, "Z", "None")) +
           Section("FEATURE_PROPERTIES",
                   PropertyLine(10, 1, Cp1251("Материал"), "Char(20)") + PropertyLine(10, 2, "Floors", "Smallint") +
                       PropertyLine(10, 3, "Area", "Decimal(10,2)") + PropertyLine(10, 4, "Year", "Integer") +
                       PropertyLine(10, 5, "Azimuth", "Angular") + PropertyLine(10, 6, "Height", "Float")) +
           Section("FEATURES", FeatureLine(100, "POLYGON", 10, {4}) + VertexLine(1) + VertexLine(2) + VertexLine(3) +
                                   VertexLine(1) + FeatureLine(101, "POINT", 11, {2}) +
                                   FeatureLine(102, "LINE", 12, {1, 3})) +
           Section("FEATURE_DATA", DataLine(100, 1, Cp1251("Кирпич")) + DataLine(100, 2, "5") +
                                       DataLine(100, 3, "250.75") + DataLine(100, 5, "127.3015") +
                                       DataLine(100, 6, ""));
}

std::vector<std::string> LayerNames(GDALDataset& dataset) {
    std::vector<std::string> names;
    for (auto* layer : dataset.GetLayers()) names.emplace_back(layer->GetName());
    return names;
}

std::string FieldSummary(OGRLayer& layer) {
    std::string out;
    OGRFeatureDefn* defn = layer.GetLayerDefn();
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
        const OGRFieldDefn* f = defn->GetFieldDefn(i);
        out += std::string(f->GetNameRef()) + ":" + OGRFieldDefn::GetFieldTypeName(f->GetType()) + "(" +
               std::to_string(f->GetWidth()) + "," + std::to_string(f->GetPrecision()) + ") ";
    }
    return out;
}

}  // namespace

TEST_F(DriverTest, RegistersOnceAsAReadOnlyVectorDriverWithVirtualFiles) {
    RegisterOGRTLX();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("TLX");
    ASSERT_NE(driver, nullptr);
    int count = 0;
    for (int i = 0; i < GetGDALDriverManager()->GetDriverCount(); ++i)
        count += EQUAL(GetGDALDriverManager()->GetDriver(i)->GetDescription(), "TLX");
    EXPECT_EQ(count, 1);
    EXPECT_STREQ(driver->GetMetadataItem(GDAL_DMD_LONGNAME), "Land survey exchange file (.tlx)");
    EXPECT_STREQ(driver->GetMetadataItem(GDAL_DMD_EXTENSION), "tlx");
    for (const char* yes : {GDAL_DCAP_VECTOR, GDAL_DCAP_VIRTUALIO, GDAL_DCAP_OPEN, GDAL_DCAP_CURVE_GEOMETRIES})
        EXPECT_STREQ(driver->GetMetadataItem(yes), "YES") << yes;
    for (const char* no : {GDAL_DCAP_RASTER, GDAL_DCAP_CREATE, GDAL_DCAP_CREATECOPY})
        EXPECT_EQ(driver->GetMetadataItem(no), nullptr) << no;
    EXPECT_NE(std::string(driver->GetMetadataItem(GDAL_DMD_OPENOPTIONLIST)).find("STRICT"), std::string::npos);
}

TEST_F(DriverTest, ClaimsTlxFilesWithASectionLineAndNothingElse) {
    std::string section = Section("POINTS", PointLine(1, "A", "1.0", "2.0"));
    struct Case {
        const char* name;
        std::string text;
        bool claimed;
    } cases[] = {
        {"plain.tlx", section, true},
        {"upper.TLX", section, true},
        {"comments.tlx", "* a header\n*" + std::string(3000, '-') + "\n\n" + section, true},
        {"stray-first-line.tlx", "Export of some survey\n" + section, true},
        {"indented.tlx", "   BEGIN\tFEATURE_DATA\r\nEND FEATURE_DATA\r\n", true},
        {"survey.txt", section, false},
        {"no-section.tlx", "name,x,y\nA,1,2\n", false},
        {"unknown-section.tlx", "BEGIN POINTSX\nEND POINTSX\n", false},
        {"lowercase.tlx", "begin points\nend points\n", false},
        {"empty.tlx", "", false},
    };
    CollectedErrors errors;
    for (const Case& c : cases) {
        std::string path = PutMemoryFile("/vsimem/tlx/" + std::string(c.name), c.text);
        GDALOpenInfo info(path.c_str(), GA_ReadOnly);
        GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("TLX");
        EXPECT_EQ(driver->pfnIdentify(&info) != 0, c.claimed) << c.name;
        EXPECT_EQ(Open(path) != nullptr, c.claimed) << c.name;
    }
}

TEST_F(DriverTest, UpdateIsRefused) {
    std::string path = PutMemoryFile("/vsimem/tlx/u.tlx", Survey());
    CollectedErrors errors;
    const char* const drivers[] = {"TLX", nullptr};
    EXPECT_EQ(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, drivers), nullptr);
    ASSERT_FALSE(errors.failures.empty());
    EXPECT_NE(errors.failures.back().find("cannot update"), std::string::npos);
}

TEST_F(DriverTest, LayersAreTheUsedExportLayersUniquelyNamedInUtf8) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    // "здания" repeats "Здания" but for case; the nameless layer is called by its number.
    EXPECT_EQ(LayerNames(*dataset),
              (std::vector<std::string>{"Здания", "здания1", "3", "Точки тахеометрии", "Точки обоснования"}));
    EXPECT_EQ(FieldSummary(*Layer("Здания")),
              "Описание:String(16,0) Материал:String(20,0) Floors:Integer(0,0) Area:Real(10,2) Year:Integer(0,0) "
              "Azimuth:Real(0,0) Height:Real(0,0) ");
    EXPECT_EQ(FieldSummary(*Layer("Точки обоснования")),
              "Точка:String(16,0) X:Real(0,0) Y:Real(0,0) H:Real(0,0) Тип координат XY:String(1,0) "
              "Тип координаты H:String(1,0) Отношение к рельефу:String(2,0) ");
    EXPECT_EQ(FieldSummary(*Layer("Точки тахеометрии")),
              "Точка:String(16,0) X:Real(0,0) Y:Real(0,0) H:Real(0,0) Отношение к рельефу:String(2,0) ");
    for (auto* layer : dataset->GetLayers()) EXPECT_EQ(layer->GetSpatialRef(), nullptr) << layer->GetName();
}

TEST_F(DriverTest, ValuesAreDecodedAndMissingOnesAreNull) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    OGRFeatureUniquePtr building(Layer("Здания")->GetNextFeature());
    ASSERT_NE(building, nullptr);
    EXPECT_EQ(building->GetFID(), 100);
    EXPECT_STREQ(building->GetFieldAsString("Описание"), "Здание");
    EXPECT_STREQ(building->GetFieldAsString("Материал"), "Кирпич");
    EXPECT_EQ(building->GetFieldAsInteger("Floors"), 5);
    EXPECT_DOUBLE_EQ(building->GetFieldAsDouble("Area"), 250.75);
    EXPECT_DOUBLE_EQ(building->GetFieldAsDouble("Azimuth"), 127.3015);
    EXPECT_TRUE(building->IsFieldNull(building->GetFieldIndex("Year")));    // no data line
    EXPECT_TRUE(building->IsFieldNull(building->GetFieldIndex("Height")));  // an empty one
    // A code without a name: its description is "?" in the model, null here.
    OGRFeatureUniquePtr mark(Layer("здания1")->GetNextFeature());
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->GetFID(), 101);
    EXPECT_TRUE(mark->IsFieldNull(0));

    OGRLayer* control = Layer("Точки обоснования");
    OGRFeatureUniquePtr station(control->GetNextFeature());
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->GetFID(), 1);  // the point's number
    EXPECT_STREQ(station->GetFieldAsString(0), "ST1");
    EXPECT_DOUBLE_EQ(station->GetFieldAsDouble("X"), 5000.0);
    EXPECT_DOUBLE_EQ(station->GetFieldAsDouble("Y"), 3000.0);
    EXPECT_DOUBLE_EQ(station->GetFieldAsDouble("H"), 120.5);
    EXPECT_STREQ(station->GetFieldAsString(4), "1");
    EXPECT_STREQ(station->GetFieldAsString(6), "R");
    EXPECT_EQ(control->GetNextFeature(), nullptr);

    OGRLayer* tacheometry = Layer("Точки тахеометрии");
    std::vector<std::string> names;
    for (auto& point : *tacheometry)
        names.push_back(std::to_string(point->GetFID()) + " " + point->GetFieldAsString(0));
    EXPECT_EQ(names, (std::vector<std::string>{"2 Угол", "3 P3", "4 P4"}));
}

TEST_F(DriverTest, FeaturesAreFoundByTheirNumbersInTheirOwnLayerOnly) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    OGRLayer* buildings = Layer("Здания");
    OGRLayer* tacheometry = Layer("Точки тахеометрии");
    OGRFeatureUniquePtr found(buildings->GetFeature(100));
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->GetFieldAsString(1), "Кирпич");
    found.reset(tacheometry->GetFeature(3));
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->GetFieldAsString(0), "P3");
    // another layer's feature, a control point, a number that is no one's, beyond int
    for (GIntBig fid : {GIntBig(101), GIntBig(-1), GIntBig(999), GIntBig(1) << 40})
        EXPECT_EQ(OGRFeatureUniquePtr(buildings->GetFeature(fid)), nullptr) << fid;
    EXPECT_EQ(OGRFeatureUniquePtr(tacheometry->GetFeature(1)), nullptr);
    // GetFeature leaves the sequential reading where it was
    tacheometry->ResetReading();
    OGRFeatureUniquePtr first(tacheometry->GetNextFeature());
    found.reset(tacheometry->GetFeature(4));
    OGRFeatureUniquePtr second(tacheometry->GetNextFeature());
    EXPECT_EQ(second->GetFID(), 3);
}

TEST_F(DriverTest, CountsAreImmediateAndFiltersAreGdalsOwn) {
    ASSERT_NE(OpenText(Survey()), nullptr);
    OGRLayer* points = Layer("Точки тахеометрии");
    EXPECT_TRUE(points->TestCapability(OLCFastFeatureCount));
    EXPECT_TRUE(points->TestCapability(OLCRandomRead));
    EXPECT_TRUE(points->TestCapability(OLCFastSetNextByIndex));
    EXPECT_TRUE(points->TestCapability(OLCStringsAsUTF8));
    EXPECT_TRUE(points->TestCapability(OLCCurveGeometries));
    EXPECT_FALSE(points->TestCapability(OLCFastSpatialFilter));
    EXPECT_FALSE(points->TestCapability(OLCSequentialWrite));
    EXPECT_FALSE(dataset->TestCapability(ODsCCreateLayer));
    EXPECT_EQ(points->GetFeatureCount(FALSE), 3);

    ASSERT_EQ(points->SetAttributeFilter("\"Отношение к рельефу\" = 'S'"), OGRERR_NONE);
    EXPECT_FALSE(points->TestCapability(OLCFastFeatureCount));
    EXPECT_EQ(points->GetFeatureCount(FALSE), -1);
    EXPECT_EQ(points->GetFeatureCount(TRUE), 1);
    OGRFeatureUniquePtr hit(points->GetNextFeature());
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->GetFID(), 4);
    points->SetAttributeFilter(nullptr);

    points->SetSpatialFilterRect(2990, 5005, 3006, 5020);  // x east, y north
    std::vector<GIntBig> fids;
    for (auto& point : *points) fids.push_back(point->GetFID());
    EXPECT_EQ(fids, (std::vector<GIntBig>{2, 3}));
    points->SetSpatialFilter(nullptr);

    ASSERT_EQ(points->SetNextByIndex(2), OGRERR_NONE);
    EXPECT_EQ(OGRFeatureUniquePtr(points->GetNextFeature())->GetFID(), 4);
    EXPECT_NE(points->SetNextByIndex(3), OGRERR_NONE);
}

TEST_F(DriverTest, GdalsVirtualFilesAreRead) {
    std::string text = Survey();
    // a gzip stream and a zip archive made by GDAL itself
    std::string gz = "/vsimem/tlx/survey.tlx.gz";
    VSILFILE* out = VSIFOpenL(("/vsigzip/" + gz).c_str(), "wb");
    ASSERT_NE(out, nullptr);
    VSIFWriteL(text.data(), 1, text.size(), out);
    VSIFCloseL(out);
    out = VSIFOpenL("/vsizip//vsimem/tlx/surveys.zip/inner/survey.tlx", "wb");
    ASSERT_NE(out, nullptr);
    VSIFWriteL(text.data(), 1, text.size(), out);
    VSIFCloseL(out);
    for (std::string path : {"/vsigzip/" + gz, std::string("/vsizip//vsimem/tlx/surveys.zip/inner/survey.tlx")}) {
        GDALDatasetUniquePtr opened = Open(path);
        ASSERT_NE(opened, nullptr) << path;
        EXPECT_EQ(opened->GetLayerByName("Здания")->GetFeatureCount(), 1);
    }
}

}  // namespace tlxgdal::test

namespace tlxgdal::test {

// GDAL hosts open files on several threads at once, and the process may use
// the core's own file table meanwhile: every open reads its own survey
// through GDAL's files.
TEST_F(DriverTest, ConcurrentOpensReadTheirOwnSurveysThroughGdal) {
    tvk::test::MemoryFiles processWide;  // the core's table: holds none of the surveys
    std::vector<std::string> paths;
    for (int n = 1; n <= 4; ++n) {
        std::string points;
        for (int i = 1; i <= n * 50; ++i) points += PointLine(i, "P", std::to_string(i) + ".0", "1.0");
        paths.push_back(PutMemoryFile("/vsimem/tlx/s" + std::to_string(n) + ".tlx", Section("POINTS", points)));
    }
    std::vector<std::vector<GIntBig>> counts(paths.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < paths.size(); ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                GDALDatasetUniquePtr opened = Open(paths[t]);
                counts[t].push_back(opened ? opened->GetLayer(0)->GetFeatureCount() : -1);
            }
        });
    for (auto& thread : threads) thread.join();
    for (size_t t = 0; t < paths.size(); ++t)
        EXPECT_EQ(counts[t], std::vector<GIntBig>(5, GIntBig(50 * (t + 1)))) << paths[t];
}

}  // namespace tlxgdal::test
