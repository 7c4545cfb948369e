// FEATURE_DATA values: realistic texts and numbers for every property type,
// drawn from a source of their own per feature so any writer gets the same ones.
#include <cstdio>

#include "GeneratedSurvey.h"
#include "Random.h"
#include "platform/CodePage.h"

namespace gentlx {

Text MakeText(std::string utf8) {
    Text t;
    t.cp1251 = tvk::Cp1251(utf8);
    t.utf8 = std::move(utf8);
    return t;
}

namespace {

const std::vector<std::vector<Text>>& WordLists() {
    static const auto lists = [] {
        const std::vector<std::vector<const char*>> utf8 = {
            {"кирпич", "бетон", "монолит ж/б", "панель", "дерево", "металл", "блоки ГСБ", "смешанный"},
            {"по данным БТИ 2019", "требует ремонта", "нет доступа", "снято по отражателю", "уточнить при обследовании",
             "согласовано с владельцем", "временное", "см. абрис № 14"},
            {"хорошее", "удовлетвор.", "аварийное", "сухостой", "разрушено"},
            {"берёза", "липа", "клён", "тополь", "ель", "сосна", "дуб", "ясень", "рябина"},
            {"асфальт", "плитка", "щебень", "грунт", "бетон", "брусчатка"},
        };
        std::vector<std::vector<Text>> out;
        for (const auto& list : utf8) {
            out.emplace_back();
            for (const char* w : list) out.back().push_back(MakeText(w));
        }
        return out;
    }();
    return lists;
}

std::string Format(const char* fmt, long long a, long long b = 0, long long c = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

long long PowerOfTen(int n) {
    long long r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

// A value that fits the property's type, width and precision.
DataValue MakeValue(const GenProperty& p, int number, CRandom& rnd) {
    DataValue v{number, {}, {}};
    switch (p.type) {
    case 0: {
        const auto& list = WordLists()[p.vocabulary % WordLists().size()];
        const Text& w = list[rnd.Below(static_cast<int64_t>(list.size()))];
        // the width counts 1251 bytes, one per character; cut on a character boundary
        size_t keep = w.cp1251.size() < static_cast<size_t>(p.width) ? w.cp1251.size() : p.width;
        size_t bytes = 0;
        for (size_t chars = 0; chars < keep; ++chars)
            bytes += (static_cast<unsigned char>(w.utf8[bytes]) < 0x80) ? 1 : 2;
        v.cp1251 = w.cp1251.substr(0, keep);
        v.utf8 = w.utf8.substr(0, bytes);
        return v;
    }
    case 1: v.utf8 = Format("%lld", rnd.Percent(50) ? rnd.Between(1950, 2024) : rnd.Between(1, 99999)); break;
    case 2: v.utf8 = Format("%lld", rnd.Between(1, 25)); break;
    case 3: {
        long long scale = PowerOfTen(p.precision);
        int whole = p.width - p.precision - 1;
        long long raw = rnd.Below(PowerOfTen(whole < 1 ? 0 : whole > 6 ? 6 : whole) * scale);
        v.utf8 = Format("%lld", raw / scale);
        if (p.precision > 0) v.utf8 += "." + Format("%lld", raw % scale + scale).substr(1);  // keeps leading zeros
        break;
    }
    case 4: v.utf8 = Format("%lld.%lld", rnd.Between(0, 40), rnd.Below(10)); break;
    default: v.utf8 = Format("%lld.%02lld%02lld", rnd.Below(360), rnd.Below(60), rnd.Below(60)); break;
    }
    v.cp1251 = v.utf8;
    return v;
}

}  // namespace

std::vector<DataValue> FeatureValues(const GeneratedSurvey& survey, int slot) {
    CRandom rnd(survey.seed, 0x44415441u + static_cast<uint64_t>(slot) * 2654435761u);
    const GenCode& code = survey.codes[survey.features[slot].code];
    std::vector<DataValue> values;
    for (size_t i = 0; i < code.properties.size(); ++i) {
        if (rnd.Percent(12)) continue;  // most properties have a value, not all
        values.push_back(MakeValue(survey.properties[code.properties[i]], static_cast<int>(i) + 1, rnd));
    }
    // now and then a value was corrected later in the file: the last line counts
    if (!values.empty() && rnd.Percent(2)) {
        DataValue again = values.front();
        again = MakeValue(survey.properties[code.properties[again.property - 1]], again.property, rnd);
        values.push_back(again);
    }
    return values;
}

}  // namespace gentlx
