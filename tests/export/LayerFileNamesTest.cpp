// Layer names made safe as file names: the integration through PrepareData is
// in ExportModelTest; these are the rules the sample names there do not reach.
#include <gtest/gtest.h>

#include "export/LayerFileNames.h"
#include "platform/CodePage.h"

using namespace tvk;

namespace {

using Names = std::vector<std::string>;

Names Convert(Names names, std::vector<int> states = {}) {
    if (states.empty()) states.assign(names.size(), 1);
    MakeLayerFileNamesSafe(names, states);
    return names;
}

TEST(LayerFileNames, ForbiddenCharactersCaseLeftOutLayersAndNumbering) {
    EXPECT_EQ(Convert({"a/b\\c:d.e*f", "x-y"}), (Names{"a_b_c_d_e_f", "x_y"}));
    EXPECT_EQ(Convert({Cp1251("Ёлки и ёжики №1")}), (Names{Cp1251("Ёлки_и_ёжики__1")}));
    EXPECT_EQ(Convert({"roads", "Roads"}), (Names{"roads", "Roads"}));          // exact comparison
    EXPECT_EQ(Convert({"R", "R1", "R", "R"}), (Names{"R", "R1", "R2", "R3"}));  // a real name's number is skipped
    EXPECT_EQ(Convert({"A B", "A B"}, {-10, 3}), (Names{"A B", "A_B"}));       // left out: untouched, no name
    EXPECT_EQ(Convert({"P", "P"}, {-2, -1}), (Names{"P", "P1"}));              // generated layers take part

    std::string longer = std::string(300, 'b') + "Z";
    Names cut = Convert({std::string(220, 'a'), longer, longer});
    EXPECT_EQ(cut, (Names{std::string(220, 'a'), std::string(219, 'b') + "Z", std::string(219, 'b') + "Z1"}));

    Names many = Convert(Names(20000, "L"));
    EXPECT_EQ(many[19999], "L19999");
}

}  // namespace
