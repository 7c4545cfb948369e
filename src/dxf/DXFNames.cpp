#include "dxf/DXFNames.h"

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

void MakeTextLayerNames(const std::vector<std::string>& layerNames, const std::vector<int>& states,
                        const std::string& base1, const std::string& base2, std::string& name1, std::string& name2) {
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
