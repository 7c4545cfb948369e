// Walks over a feature and the parts of its MULTIPLEs at every depth, in file
// order, with a stack of its own: a file may nest MULTIPLE parts a million
// deep, far beyond what a thread's stack holds in nested calls.
#pragma once
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "reader/Features.h"

namespace tvk {

// The feature as a MULTIPLE whose parts are walked, or nullptr: the kind
// MULTIPLE and the class that holds parts.
inline CMultipleFeature* AsMultiple(CFeature* feature) {
    return feature && feature->Kind == MULTIPLE ? dynamic_cast<CMultipleFeature*>(feature) : nullptr;
}
inline const CMultipleFeature* AsMultiple(const CFeature* feature) {
    return feature && feature->Kind == MULTIPLE ? dynamic_cast<const CMultipleFeature*>(feature) : nullptr;
}

// Calls visit(node) for the feature and for every part below it, a MULTIPLE
// before its parts and the parts in order (null parts skipped). `visit` may
// change a node but not the parts lists above it.
template <class Feature, class Visit>
void ForEachFeatureNode(Feature* feature, Visit&& visit) {
    static_assert(std::is_base_of_v<CFeature, std::remove_const_t<Feature>>);
    using Node = std::conditional_t<std::is_const_v<Feature>, const CFeature, CFeature>;
    using Multiple = std::conditional_t<std::is_const_v<Feature>, const CMultipleFeature, CMultipleFeature>;
    Node* top = feature;
    if (!top) return;
    visit(*top);
    Multiple* root = AsMultiple(top);
    if (!root) return;
    std::vector<std::pair<Multiple*, size_t>> open{{root, 0}};
    while (!open.empty()) {
        auto [multiple, next] = open.back();
        if (next >= multiple->Parts.size()) {
            open.pop_back();
            continue;
        }
        open.back().second = next + 1;
        Node* part = multiple->Parts[next].get();
        if (!part) continue;
        visit(*part);
        if (Multiple* inner = AsMultiple(part)) {
            // A last part needs nothing more of its owner: the stack stays
            // short for the usual nesting, where the last part opens the next.
            if (next + 1 >= multiple->Parts.size()) open.pop_back();
            open.emplace_back(inner, 0);
        }
    }
}

// Calls visit(leaf) for every feature of the tree that is not a MULTIPLE, in
// the order of ForEachFeatureNode.
template <class Feature, class Visit>
void ForEachLeaf(Feature* feature, Visit&& visit) {
    ForEachFeatureNode(feature, [&visit](auto& node) {
        if (node.Kind != MULTIPLE) visit(node);
    });
}

}  // namespace tvk
