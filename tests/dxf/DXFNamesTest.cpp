// Names DXF readers accept: block names from symbol names, and text layers that never take a used
// layer's name.
#include <gtest/gtest.h>

#include "dxf/DXFNames.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

TEST(DXFNames, SymbolNamesKeepLettersDigitsAndThreeMarks) {
    const std::pair<std::string, std::string> cases[] = {{"Road/1 (old)", "Road_1__old_"},
                                                         {"$a_b-c.d", "$a_b-c_d"},
                                                         {Cp1251("Дороги №1"), Cp1251("Дороги__1")},
                                                         {"", ""},
                                                         {std::string(40, 'b') + "/", std::string(32, 'b')}};
    for (auto [name, expected] : cases) {
        name.resize(name.size() + 8, 0);  // room for the terminator the cut writes
        MakeDXFSymbolName(name.data());
        EXPECT_EQ(std::string(name.c_str()), expected);
    }
}

TEST(DXFNames, TextLayersAvoidTheUsedLayerNames) {
    struct Case {
        std::vector<std::string> layers;
        std::vector<int> states;
        const char* names;
        const char* elevations;
    };
    const Case cases[] = {
        {{"Names", "Names0", "Roads"}, {1, 2, 3}, "Names1", "Elevations"},
        {{"NAMES", "elevations", "Elevations0"}, {1, -10, 3}, "Names0", "Elevations"},  // left out: no clash
        {{"names0", "Names", "ELEVATIONS"}, {1, 2, 3}, "Names1", "Elevations0"},
    };
    for (const Case& c : cases) {
        std::string names, elevations;
        MakeTextLayerNames(c.layers, c.states, "Names", "Elevations", names, elevations);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(elevations, c.elevations);
    }
}

}  // namespace
}  // namespace tvk
