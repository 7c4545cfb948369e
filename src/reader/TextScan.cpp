#include "reader/TextScan.h"

#include <algorithm>
#include <cstring>

#include "reader/ModelText.h"

namespace tvk {

bool IsBlank(const char* text) {
    if (!text) return true;
    for (; *text; ++text)
        if (!IsCSpace(*text)) return false;
    return true;
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsCSpace(c)) return false;
    return true;
}

bool CText::AllBlank(std::string_view text) { return tvk::IsBlank(text); }

bool IsZeroText(const char* text) {
    if (!text) return false;
    for (; *text; ++text)
        if (*text != '0' && !IsCSpace(*text)) return false;
    return true;
}

std::string_view FieldView(std::string_view line, int from, int to) {
    size_t begin = static_cast<size_t>(from);
    if (from < 0 || begin >= line.size() || to < from) return {};
    return line.substr(begin, std::min(line.size(), static_cast<size_t>(to) + 1) - begin);
}

void ScanKeywords(std::string_view text, const std::vector<std::string>& table, std::vector<const char*>& hits) {
    hits.assign(table.size(), nullptr);
    size_t i = 0;
    while (i < text.size()) {
        if (IsCSpace(text[i])) {
            ++i;
            continue;
        }
        std::string_view rest = text.substr(i);
        bool matched = false;
        for (size_t k = 0; k < table.size(); ++k) {
            if (!table[k].empty() && rest.starts_with(table[k])) {
                hits[k] = text.data() + i;
                i += table[k].size() + 1;
                matched = true;
                break;
            }
        }
        if (!matched) ++i;
    }
}

const char* MatchLeadingKeyword(std::string_view text, const std::vector<std::string>& table, int& index) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    if (i == text.size()) return nullptr;
    std::string_view rest = text.substr(i);
    for (size_t k = 0; k < table.size(); ++k) {
        if (!table[k].empty() && rest.starts_with(table[k])) {
            index = static_cast<int>(k);
            return text.data() + i;
        }
    }
    return nullptr;
}

}  // namespace tvk
