#include "shp/DBFTable.h"

#include <algorithm>
#include <cstring>

#include "export/UniqueNames.h"

namespace tvk {

namespace {

uint8_t ClampToByte(int value, int low, int high) { return static_cast<uint8_t>(std::clamp(value, low, high)); }

}  // namespace

DBFField DBFFieldForColumn(int type, int width, int precision) {
    DBFField f;
    switch (type) {
    case 1:  // Integer
        f.type = 'N';
        f.length = 11;
        break;
    case 2:  // Smallint
        f.type = 'N';
        f.length = 6;
        break;
    case 3:  // Decimal
        f.type = 'N';
        f.length = ClampToByte(width, 1, kDBFMaxFieldLength);
        f.decimals = ClampToByte(precision, 0, std::clamp(f.length - 2, 0, kDBFMaxDecimals));
        break;
    case 4:  // Float
    case 5:  // Angular
        f.type = 'F';
        f.length = 16;
        f.decimals = 8;
        break;
    default:  // Char
        f.type = 'C';
        f.length = ClampToByte(width, 1, kDBFMaxFieldLength);
        break;
    }
    return f;
}

std::vector<std::string> DBFFieldNames(const std::vector<std::string>& columnNames, std::vector<unsigned>* changes) {
    std::vector<std::string> names;
    names.reserve(columnNames.size());
    if (changes) changes->assign(columnNames.size(), kNameKept);
    for (size_t i = 0; i < columnNames.size(); ++i) {
        const std::string& n = columnNames[i];
        names.push_back(n.substr(0, std::min(n.find('\0'), size_t{kDBFFieldNameBytes})));
        if (changes && names.back().size() < n.size()) (*changes)[i] |= kNameCut;
    }
    // Readers compare field names without regard to case.
    std::vector<bool> numbered = MakeUniqueIgnoringCase(names, kDBFFieldNameBytes, "_");
    for (size_t i = 0; changes && i < names.size(); ++i)
        if (numbered[i]) (*changes)[i] |= kNameMadeUnique;
    return names;
}

CDBFLayout::CDBFLayout(const std::vector<DBFColumn>& columns) {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const auto& c : columns) names.push_back(c.name);
    std::vector<unsigned> changes;
    names = DBFFieldNames(names, &changes);
    fields_.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        DBFField f = DBFFieldForColumn(columns[i].type, columns[i].width, columns[i].precision);
        f.name = names[i];
        f.nameChange = changes[i];
        f.offset = static_cast<uint32_t>(recordLength_);
        recordLength_ += f.length;
        fields_.push_back(std::move(f));
    }
}

std::string CDBFLayout::Header(const std::tm& date, uint32_t records) const {
    std::string h(32, '\0');
    h[0] = 3;
    h[1] = static_cast<char>(date.tm_year);
    h[2] = static_cast<char>(date.tm_mon + 1);
    h[3] = static_cast<char>(date.tm_mday);
    auto put16 = [&](size_t at, int64_t v) {
        h[at] = static_cast<char>(v);
        h[at + 1] = static_cast<char>(v >> 8);
    };
    for (int i = 0; i < 4; ++i) h[kDBFRecordCountOffset + i] = static_cast<char>(records >> (8 * i));
    put16(8, HeaderLength());
    put16(10, RecordLength());
    for (const auto& f : fields_) {
        char d[32] = {};
        std::memcpy(d, f.name.data(), std::min(f.name.size(), size_t{kDBFFieldNameBytes}));
        d[11] = f.type;
        for (int i = 0; i < 4; ++i) d[12 + i] = static_cast<char>(f.offset >> (8 * i));
        d[16] = static_cast<char>(f.length);
        d[17] = static_cast<char>(f.decimals);
        h.append(d, 32);
    }
    h.push_back(0x0D);
    return h;
}

void PutDBFValue(char* field, size_t length, std::string_view text) {
    // Values are short: a plain loop beats the calls of memcpy and memset.
    const size_t n = std::min(length, text.size());
    size_t i = 0;
    for (; i < n; ++i) field[i] = text[i];
    for (; i < length; ++i) field[i] = '\0';
}

}  // namespace tvk
