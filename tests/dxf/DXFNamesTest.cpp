#include <gtest/gtest.h>

#include <set>

#include "dxf/DXFLineTypes.h"
#include "dxf/DXFNames.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

std::string Symbol(std::string name) {
    name.resize(name.size() + 8, 0);  // room for the terminator the cut writes
    MakeDXFSymbolName(name.data());
    return name.c_str();
}

TEST(DXFNames, SymbolNamesKeepLettersDigitsAndThreeMarks) {
    EXPECT_EQ(Symbol("Road/1 (old)"), "Road_1__old_");
    EXPECT_EQ(Symbol("$a_b-c.d"), "$a_b-c_d");
    EXPECT_EQ(Symbol(Cp1251("Дороги №1")), Cp1251("Дороги__1"));
    EXPECT_EQ(Symbol(""), "");
    EXPECT_EQ(Symbol(std::string(31, 'a')), std::string(31, 'a'));
    EXPECT_EQ(Symbol(std::string(40, 'b') + "/"), std::string(32, 'b'));
}

TEST(DXFNames, LayerNamesBecomeDistinctIgnoringCase) {
    std::vector<std::string> names = {"Roads", "ROADS", "roads1", "Left", Cp1251("Дома"), Cp1251("ДОМА"), "x"};
    std::vector<int> states = {1, 2, 3, -10, 5, 6, 7};
    MakeNamesUniqueIgnoringCase(names, states, kDXFNameLength);
    EXPECT_EQ(names[0], "Roads");
    EXPECT_EQ(names[1], "ROADS1");
    EXPECT_EQ(names[2], "roads11");  // roads1 now clashes with ROADS1
    EXPECT_EQ(names[3], "Left");    // left out: untouched
    EXPECT_EQ(names[4], Cp1251("Дома"));
    EXPECT_EQ(names[5], Cp1251("ДОМА1"));
    EXPECT_EQ(names[6], "x");
}

TEST(DXFNames, NumberedNamesStayWithinTheLength) {
    std::vector<std::string> names(12, std::string(32, 'n'));
    std::vector<int> states(12, 1);
    MakeNamesUniqueIgnoringCase(names, states, kDXFNameLength);
    std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), names.size());
    for (const auto& n : names) EXPECT_LE(n.size(), kDXFNameLength);
    EXPECT_EQ(names[1], std::string(31, 'n') + "1");
    EXPECT_EQ(names[11], std::string(30, 'n') + "11");
}

TEST(DXFNames, TextLayersAvoidTheLayerNames) {
    std::string names, elevations;
    MakeTextLayerNames({"Names", "Names0", "Roads"}, {1, 2, 3}, "Names", "Elevations", names, elevations);
    EXPECT_EQ(names, "Names1");
    EXPECT_EQ(elevations, "Elevations");
    MakeTextLayerNames({"NAMES", "elevations", "Elevations0"}, {1, -10, 3}, "Names", "Elevations", names,
                       elevations);
    EXPECT_EQ(names, "Names0");
    EXPECT_EQ(elevations, "Elevations");  // the clashing layer is left out
    MakeTextLayerNames({"names0", "Names", "ELEVATIONS"}, {1, 2, 3}, "Names", "Elevations", names, elevations);
    EXPECT_EQ(names, "Names1");
    EXPECT_EQ(elevations, "Elevations0");
}

TEST(DXFNames, LineTypeOfEachPattern) {
    EXPECT_STREQ(DXFLineTypeName(0), "CONTINUOUS");
    EXPECT_STREQ(DXFLineTypeName(3), "LTYPE03");
    EXPECT_STREQ(DXFLineTypeName(15), "LTYPE15");
    EXPECT_STREQ(DXFLineTypeName(16), "CONTINUOUS");
    EXPECT_STREQ(DXFLineTypeName(20), "CONTINUOUS");
    EXPECT_STREQ(DXFLineTypeName(-1), "CONTINUOUS");
}

}  // namespace
}  // namespace tvk
