#include "dxf/DXFNames.h"

#include <unordered_set>

#include "platform/CodePage.h"
#include "reader/SurveyModel.h"

namespace tvk {

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareNoCase1251(a, b) == 0;
}
}  // namespace

char* MakeDXFSymbolName(char* name) {
    size_t i = 0;
    for (; i < kDXFNameLength && name[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (!IsAlnum1251(c) && c != '$' && c != '_' && c != '-') name[i] = '_';
    }
    if (i == kDXFNameLength) name[i] = 0;
    return name;
}

void MakeNamesUniqueIgnoringCase(std::vector<std::string>& names, const std::vector<int>& states,
                                 size_t maxLength) {
    std::unordered_set<std::string> given;
    given.reserve(names.size() * 2 + 16);
    for (size_t i = 0; i < names.size(); ++i) {
        if (i < states.size() && states[i] == kNone) continue;
        std::string candidate = names[i];
        for (unsigned n = 1; given.count(Upper1251(candidate)); ++n) {
            std::string number = std::to_string(n);
            std::string base = names[i];
            if (base.size() + number.size() > maxLength && number.size() < maxLength)
                base.resize(maxLength - number.size());
            candidate = base + number;
        }
        given.insert(Upper1251(candidate));
        names[i] = candidate;
    }
}

void MakeTextLayerNames(const std::vector<std::string>& layerNames, const std::vector<int>& states,
                        const std::string& base1, const std::string& base2, std::string& name1,
                        std::string& name2) {
    std::string suffix1, suffix2;
    int counter1 = 0, counter2 = 0;
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i < layerNames.size(); ++i) {
            if (i < states.size() && states[i] == kNone) continue;
            if (EqualIgnoringCase(layerNames[i], base1 + suffix1)) {
                suffix1 = std::to_string(counter1++);
                changed = true;
            }
            if (EqualIgnoringCase(layerNames[i], base2 + suffix2)) {
                suffix2 = std::to_string(counter2++);
                changed = true;
            }
        }
    }
    name1 = base1 + suffix1;
    name2 = base2 + suffix2;
}

}  // namespace tvk
