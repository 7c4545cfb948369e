#include "export/UniqueNames.h"

#include <unordered_map>
#include <unordered_set>

#include "platform/CodePage.h"

namespace tvk {

std::vector<bool> MakeUniqueIgnoringCase(std::vector<std::string>& names, size_t maxLength, std::string_view separator,
                                         const std::vector<bool>& skip) {
    auto skipped = [&skip](size_t i) { return i < skip.size() && skip[i]; };
    std::unordered_set<std::string> own, given;
    own.reserve(names.size() * 2);
    given.reserve(names.size() * 2);
    for (size_t i = 0; i < names.size(); ++i)
        if (!skipped(i)) own.insert(Upper1251(names[i]));
    // Per name, the last number tried: every smaller one is taken already, so
    // a long run of equal names stays linear.
    std::unordered_map<std::string, unsigned> lastNumber;
    std::vector<bool> numbered(names.size(), false);
    for (size_t i = 0; i < names.size(); ++i) {
        if (skipped(i)) continue;
        std::string key = Upper1251(names[i]);
        if (given.count(key)) {
            unsigned& n = lastNumber[key];
            std::string candidate;
            do {
                std::string suffix = std::string(separator) + std::to_string(++n);
                std::string base = names[i];
                if (base.size() + suffix.size() > maxLength && suffix.size() < maxLength)
                    base.resize(maxLength - suffix.size());
                candidate = base + suffix;
                key = Upper1251(candidate);
            } while (given.count(key) || own.count(key));
            names[i] = std::move(candidate);
            numbered[i] = true;
        }
        given.insert(std::move(key));
    }
    return numbered;
}

}  // namespace tvk
