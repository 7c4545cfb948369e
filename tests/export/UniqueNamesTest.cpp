// Names made unique ignoring case, and layer names made safe as file names:
// the integration through PrepareData is in ExportModelTest; these are the
// rules the sample names there do not reach.
#include <gtest/gtest.h>

#include "export/LayerFileNames.h"
#include "export/UniqueNames.h"
#include "platform/CodePage.h"

using namespace tvk;

namespace {

using Names = std::vector<std::string>;

TEST(UniqueNames, LaterEqualNamesAreNumberedIgnoringCaseWithinTheLength) {
    Names names = {"Roads", "ROADS", "roads1", "Left", Cp1251("Дома"), Cp1251("ДОМА"), "Left"};
    // roads1 is a name of its own: the suffix skips it. A skipped entry takes no part.
    std::vector<bool> numbered = MakeUniqueIgnoringCase(names, 32, "", {false, false, false, true});
    EXPECT_EQ(names, (Names{"Roads", "ROADS2", "roads1", "Left", Cp1251("Дома"), Cp1251("ДОМА1"), "Left"}));
    EXPECT_EQ(numbered, (std::vector<bool>{false, true, false, false, false, true, false}));

    Names cut(12, std::string(10, 'n'));
    MakeUniqueIgnoringCase(cut, 10, "_");
    EXPECT_EQ(cut[1], std::string(8, 'n') + "_1");
    EXPECT_EQ(cut[11], std::string(7, 'n') + "_11");

    Names many(20000, "L");
    MakeUniqueIgnoringCase(many, SIZE_MAX, "");
    EXPECT_EQ(many[19999], "L19999");
}

Names Convert(Names names, std::vector<int> states = {}, std::vector<unsigned>* changes = nullptr) {
    if (states.empty()) states.assign(names.size(), 1);
    std::vector<unsigned> bits = MakeLayerFileNamesSafe(names, states);
    if (changes) *changes = bits;
    return names;
}

TEST(LayerFileNames, ForbiddenCharactersBlankNamesCaseLeftOutLayersAndCuts) {
    EXPECT_EQ(Convert({"a/b\\c:d.e*f", "x-y"}), (Names{"a_b_c_d_e_f", "x_y"}));
    EXPECT_EQ(Convert({Cp1251("Ёлки и ёжики №1")}), (Names{Cp1251("Ёлки_и_ёжики__1")}));
    EXPECT_EQ(Convert({"A B", "A B"}, {-10, 3}), (Names{"A B", "A_B"}));  // left out: untouched, no name
    EXPECT_EQ(Convert({"P", "P"}, {-2, -1}), (Names{"P", "P1"}));         // generated layers take part

    // Files that differ only in case overwrite each other on many disks; a
    // blank name would give hidden files (".MIF").
    std::vector<unsigned> changes;
    EXPECT_EQ(Convert({"Roads", "ROADS", "", " ", "Layer_7"}, {1, 2, 7, 8, 9}, &changes),
              (Names{"Roads", "ROADS1", "Layer_7", "Layer_8", "Layer_71"}));
    EXPECT_EQ(changes, (std::vector<unsigned>{kNameKept, kNameMadeUnique, kNameGiven, kNameGiven, kNameMadeUnique}));

    std::string longer = std::string(300, 'b') + "Z";
    Names cut = Convert({std::string(220, 'a'), longer, longer}, {}, &changes);
    EXPECT_EQ(cut, (Names{std::string(220, 'a'), std::string(219, 'b') + "Z", std::string(219, 'b') + "Z1"}));
    EXPECT_EQ(changes, (std::vector<unsigned>{kNameKept, kNameCut, kNameCut | kNameMadeUnique}));
}

}  // namespace
