// The walk over MULTIPLE parts and the freeing of part trees, at depths no
// thread's stack holds in nested calls, and the number maps at sizes and
// spacings far from their starting bucket count.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ReaderTestUtil.h"
#include "reader/FeatureWalk.h"
#include "reader/IntMap.h"

namespace tvk::test {
namespace {

std::unique_ptr<CFeature> Leaf(int kind, int code) {
    auto leaf = std::make_unique<CPointListFeature>(kind);
    leaf->Code = code;
    return leaf;
}

std::unique_ptr<CMultipleFeature> Multiple(int code, std::vector<std::unique_ptr<CFeature>> parts) {
    auto multiple = std::make_unique<CMultipleFeature>(MULTIPLE);
    multiple->Code = code;
    multiple->Parts = std::move(parts);
    return multiple;
}

template <class... Parts>
std::vector<std::unique_ptr<CFeature>> List(Parts... parts) {
    std::vector<std::unique_ptr<CFeature>> list;
    (list.push_back(std::move(parts)), ...);
    return list;
}

// A chain of `depth` MULTIPLEs, each with a LINE numbered by its depth before
// the next MULTIPLE, and a POINT at the bottom.
std::unique_ptr<CMultipleFeature> Chain(int depth) {
    auto top = Multiple(0, {});
    CMultipleFeature* open = top.get();
    for (int d = 1; d < depth; ++d) {
        open->Parts.push_back(Leaf(LINE, d - 1));
        auto inner = Multiple(d, {});
        CMultipleFeature* next = inner.get();
        open->Parts.push_back(std::move(inner));
        open = next;
    }
    open->Parts.push_back(Leaf(POINT, depth - 1));
    return top;
}

// Codes of the visited features, "M" before the code of a MULTIPLE.
std::string Visits(const CFeature* feature, bool leavesOnly) {
    std::string seen;
    auto note = [&seen](const CFeature& f) { seen += (f.Kind == MULTIPLE ? "M" : "") + std::to_string(f.Code) + " "; };
    if (leavesOnly) ForEachLeaf(feature, note);
    else ForEachFeatureNode(feature, note);
    return seen;
}

TEST(FeatureWalk, OwnersBeforeTheirPartsAndPartsInOrderWhereverTheMultiplesStand) {
    // Multiples in the middle and at the end, an empty one, and a null part.
    auto tree = Multiple(1, List(Leaf(LINE, 2), Multiple(3, List(Leaf(POINT, 4), Multiple(5, {}), Leaf(ARC, 6))),
                                 std::unique_ptr<CFeature>(), Leaf(POLYGON, 7),
                                 Multiple(8, List(Multiple(9, List(Leaf(CIRCLE, 10))), Leaf(POINT, 11)))));
    EXPECT_EQ(Visits(tree.get(), false), "M1 2 M3 4 M5 6 7 M8 M9 10 11 ");
    EXPECT_EQ(Visits(tree.get(), true), "2 4 6 7 10 11 ");
    // A feature that is not a MULTIPLE is its own only leaf.
    auto line = Leaf(LINE, 12);
    EXPECT_EQ(Visits(line.get(), true), "12 ");
    EXPECT_EQ(Visits(nullptr, false), "");
    // Only the kind MULTIPLE opens parts: a multiple object whose kind was never stored has none to walk.
    auto unset = Multiple(13, List(Leaf(POINT, 14)));
    unset->Kind = NOKIND;
    EXPECT_EQ(Visits(unset.get(), false), "13 ");
}

// Ten times the depth at which nested calls used to exhaust a thread's stack.
TEST(FeatureWalk, DeepNestingsAreWalkedInOrderAndFreed) {
    constexpr int kDepth = 300000;
    auto chain = Chain(kDepth);
    int expected = 0;
    bool inOrder = true;
    size_t leaves = 0;
    ForEachLeaf(static_cast<const CFeature*>(chain.get()), [&](const CFeature& leaf) {
        inOrder = inOrder && leaf.Code == expected;
        expected = leaf.Code + 1;
        ++leaves;
    });
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(leaves, size_t(kDepth));
    // Visiting may change the nodes: every part of the chain gets a new code.
    ForEachFeatureNode(chain.get(), [](CFeature& node) { node.Code = -node.Code; });
    EXPECT_EQ(chain->Parts.front()->Code, 0);
    EXPECT_EQ(chain->Parts.back()->Code, -1);
    chain.reset();  // the destructor frees every level in a loop
}

TEST(FeatureWalk, WideAndDeepTreesAreFreedWholeWhateverTheirShape) {
    // Every level holds two multiples, one of them a dead end with leaves:
    // the parts of inner parts are taken over before their owners die.
    auto top = Multiple(0, {});
    CMultipleFeature* open = top.get();
    for (int d = 0; d < 100000; ++d) {
        open->Parts.push_back(Multiple(d, List(Leaf(POINT, d), Multiple(d, List(Leaf(LINE, d))))));
        auto inner = Multiple(d, {});
        CMultipleFeature* next = inner.get();
        open->Parts.push_back(std::move(inner));
        open = next;
    }
    top.reset();  // the leak checker of the sanitized build sees anything left
}

TEST(IntMap, KeepsEveryNumberThroughGrowthInTheOrderOfInsertion) {
    // Keys in sequence, keys that all share a bucket of the starting count, and
    // negative keys beside them.
    for (int step : {1, 1000, 1024, 65536}) {
        CIntMap map(1000);
        const int count = step == 1 ? 300000 : 20000;
        for (int i = 0; i < count; ++i) {
            auto [value, inserted] = map.TryEmplace(i * step + 1, i);
            ASSERT_TRUE(inserted);
            EXPECT_EQ(*value, i);
        }
        map.SetAt(-5, -50);
        EXPECT_FALSE(map.TryEmplace(step + 1, 99).second);
        ASSERT_EQ(map.GetCount(), size_t(count) + 1);
        EXPECT_GE(map.GetHashTableSize(), map.GetCount()) << step;
        for (int i = 0; i < count; ++i) {
            const int* value = map.Find(i * step + 1);
            ASSERT_NE(value, nullptr) << step << " " << i;
            EXPECT_EQ(*value, i);
        }
        EXPECT_EQ(map.Find(-7), nullptr);
        int slot = -1;
        ASSERT_TRUE(map.Lookup(-5, slot));
        EXPECT_EQ(slot, -50);
        int expected = 0;
        for (const CIntMap::Entry& e : map) {
            if (expected < count) {
                EXPECT_EQ(e.value, expected) << step;
            }
            ++expected;
        }
        // The mixed keys stay found after a rehash; emptying keeps no key.
        map.Rehash(7);
        EXPECT_NE(map.Find((count - 1) * step + 1), nullptr);
        map.RemoveAll();
        EXPECT_TRUE(map.IsEmpty());
        EXPECT_EQ(map.Find(1), nullptr);
        EXPECT_FALSE(map.IsMixed());
    }
}

TEST(IntMap, NumbersThatShareABucketAreSpreadOnceTheirChainGrowsLong) {
    CIntMap sequence(1000), spaced(1000);
    for (int i = 0; i < 5000; ++i) sequence.SetAt(i, i);
    for (int i = 0; i < 100; ++i) spaced.SetAt(i * 1000, i);
    EXPECT_FALSE(sequence.IsMixed());  // numbers in sequence keep their neighbouring buckets
    EXPECT_TRUE(spaced.IsMixed());
}

// The maps of codes and layers, like those of points and features, serve any
// count: a survey of many codes and layers (numbers spaced by the starting
// bucket count) reads whole and in file order.
TEST_F(ReaderTest, ManyCodesAndLayersAreReadWhole) {
    constexpr int kCount = 20000;
    std::string layers, codes;
    for (int i = 0; i < kCount; ++i) {
        layers += LayerLine(i * 1000 + 7, 0, "L" + std::to_string(i));
        codes += CodeLine(i * 1000 + 3, i * 1000 + 7, "C" + std::to_string(i));
    }
    ReadText(Section("LAYERS", layers) + Section("FEATURE_CODES", codes));
    EXPECT_EQ(reader.ErrorCount, 0);
    ASSERT_EQ(reader.Layers.size(), size_t(kCount));
    ASSERT_EQ(reader.FeatureCodes.size(), size_t(kCount));
    for (int i = 0; i < kCount; i += 997) {
        EXPECT_EQ(reader.LayerStates[i], i * 1000 + 7);
        EXPECT_EQ(reader.CodeStates[i], i * 1000 + 3);
        EXPECT_EQ(reader.FeatureCodes[i].Layer, i);
    }
}

}  // namespace
}  // namespace tvk::test
