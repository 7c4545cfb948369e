#include "export/LayerFileNames.h"

#include <algorithm>
#include <cstdint>

#include "export/UniqueNames.h"
#include "platform/CodePage.h"

namespace tvk {
namespace {

constexpr size_t kMaxNameLength = 220;
constexpr int kLeftOut = -10;

bool IsBlankName(const std::string& name) { return name.find_first_not_of(" \t") == std::string::npos; }

// Returns whether the name was cut.
bool CleanName(std::string& name) {
    const bool cut = name.size() > kMaxNameLength;
    if (cut) name.erase(kMaxNameLength - 1, name.size() - kMaxNameLength);
    for (char& c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!IsAlnum1251(u) && c != '_') c = '_';
    }
    return cut;
}

}  // namespace

std::vector<unsigned> MakeLayerFileNamesSafe(std::vector<std::string>& names, const std::vector<int>& states) {
    const size_t count = std::min(names.size(), states.size());
    std::vector<unsigned> changes(names.size(), kNameKept);
    std::vector<bool> skip(names.size(), true);
    for (size_t i = 0; i < count; ++i) {
        if (states[i] == kLeftOut) continue;
        skip[i] = false;
        std::string& name = names[i];
        if (IsBlankName(name)) {
            // A blank name would give hidden files such as ".MIF".
            name = "Layer_" + (states[i] >= 0 ? std::to_string(states[i]) : std::string());
            changes[i] |= kNameGiven;
        }
        if (CleanName(name)) changes[i] |= kNameCut;
    }
    std::vector<bool> numbered = MakeUniqueIgnoringCase(names, SIZE_MAX, "", skip);
    for (size_t i = 0; i < count; ++i)
        if (numbered[i]) changes[i] |= kNameMadeUnique;
    return changes;
}

}  // namespace tvk
