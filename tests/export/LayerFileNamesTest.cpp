#include <gtest/gtest.h>

#include "export/LayerFileNames.h"
#include "platform/CodePage.h"

using namespace tvk;

namespace {

std::vector<std::string> Convert(std::vector<std::string> names, std::vector<int> states = {}) {
    if (states.empty()) states.assign(names.size(), 1);
    MakeLayerFileNamesSafe(names, states);
    return names;
}

TEST(LayerFileNames, ForbiddenCharactersBecomeUnderscoresAndDuplicatesAreNumbered) {
    EXPECT_EQ(Convert({"A B", "A_B", "A?B"}), (std::vector<std::string>{"A_B", "A_B1", "A_B2"}));
    EXPECT_EQ(Convert({"Roads", "Roads", "Roads"}), (std::vector<std::string>{"Roads", "Roads1", "Roads2"}));
    EXPECT_EQ(Convert({"a/b\\c:d.e*f", "x-y"}), (std::vector<std::string>{"a_b_c_d_e_f", "x_y"}));
    // Comparison is exact: case differs, so no number.
    EXPECT_EQ(Convert({"roads", "Roads"}), (std::vector<std::string>{"roads", "Roads"}));
    // A number that a real name already holds is skipped.
    EXPECT_EQ(Convert({"R", "R1", "R", "R"}), (std::vector<std::string>{"R", "R1", "R2", "R3"}));
}

TEST(LayerFileNames, CyrillicLettersAreKept) {
    std::string roads = Cp1251("Дороги");
    std::string mixed = Cp1251("Ёлки и ёжики №1");
    EXPECT_EQ(Convert({roads, mixed}), (std::vector<std::string>{roads, Cp1251("Ёлки_и_ёжики__1")}));
}

TEST(LayerFileNames, LeftOutLayersAreUntouchedAndTakeNoName) {
    EXPECT_EQ(Convert({"A B", "", "A B"}, {5, -10, 7}), (std::vector<std::string>{"A_B", "", "A_B1"}));
    EXPECT_EQ(Convert({"A B", "A B"}, {-10, 3}), (std::vector<std::string>{"A B", "A_B"}));
    // Generated layers have negative states and take part like any other.
    EXPECT_EQ(Convert({"P", "P"}, {-2, -1}), (std::vector<std::string>{"P", "P1"}));
}

TEST(LayerFileNames, LongNamesKeepTheirFirst219AndLastCharacter) {
    std::string exact(220, 'a');
    std::string longer = std::string(300, 'b') + "Z";
    auto out = Convert({exact, longer, longer});
    EXPECT_EQ(out[0], exact);
    EXPECT_EQ(out[1], std::string(219, 'b') + "Z");
    EXPECT_EQ(out[2], std::string(219, 'b') + "Z1");
}

TEST(LayerFileNames, ManyEqualNamesGetConsecutiveNumbers) {
    std::vector<std::string> names(20000, "L");
    auto out = Convert(names);
    EXPECT_EQ(out[0], "L");
    EXPECT_EQ(out[1], "L1");
    EXPECT_EQ(out[19999], "L19999");
}

}  // namespace
