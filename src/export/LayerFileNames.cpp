#include "export/LayerFileNames.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/CodePage.h"

namespace tvk {
namespace {

constexpr size_t kMaxNameLength = 220;
constexpr int kLeftOut = -10;

void CleanName(std::string& name) {
    if (name.size() > kMaxNameLength) name.erase(kMaxNameLength - 1, name.size() - kMaxNameLength);
    for (char& c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!IsAlnum1251(u) && c != '_') c = '_';
    }
}

}  // namespace

void MakeLayerFileNamesSafe(std::vector<std::string>& names, const std::vector<int>& states) {
    size_t count = std::min(names.size(), states.size());
    std::unordered_set<std::string> given(std::max<size_t>(2 * count, 100));
    // Per cleaned name, the last number tried: every smaller one is taken
    // already, so a long run of equal names stays linear.
    std::unordered_map<std::string, int> lastNumber;
    for (size_t i = 0; i < count; ++i) {
        if (states[i] == kLeftOut) continue;
        std::string& name = names[i];
        CleanName(name);
        std::string candidate = name;
        if (given.count(candidate)) {
            int& n = lastNumber[name];
            do {
                candidate = name + std::to_string(++n);
            } while (given.count(candidate));
        }
        given.insert(candidate);
        name = std::move(candidate);
    }
}

}  // namespace tvk
