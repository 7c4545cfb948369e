#include "mif/MIFText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/ByteScan.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"

namespace tvk {

void AppendMIFNumber(std::string& out, double value) {
    char buf[64];
    int n = FormatGcvt(value, 16, buf);
    out.append(buf, static_cast<size_t>(n));
}

void AppendMIFInt(std::string& out, long long value) {
    char buf[24];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, static_cast<size_t>(result.ptr - buf));
}

void AppendMIFXY(std::string& out, double x, double y) {
    AppendMIFNumber(out, x);
    out += ' ';
    AppendMIFNumber(out, y);
}

char* ConvertToMIFName(char* name) {
    size_t i = 0;
    for (; i < kMIFNameLength && name[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (!IsAlnum1251(c) && c != '_') name[i] = '_';
    }
    name[i] = '\0';
    if (IsDigit1251(static_cast<unsigned char>(name[0]))) name[0] = '_';
    return name;
}

MIFColumn DeclaredMIFColumn(const MIFColumn& column) {
    constexpr int kMaxWidth = 254;
    MIFColumn declared = column;
    switch (column.type) {
    case kTypeInteger:
    case kTypeSmallint:
    case kTypeFloat:
    case kTypeAngular: break;
    case kTypeDecimal:
        declared.width = std::clamp(column.width, 1, kMaxWidth);
        declared.precision = std::clamp(column.precision, 0, declared.width - 1);
        break;
    default:  // Char, and any type the model does not know, which is text too
        declared.type = kTypeChar;
        declared.width = std::clamp(column.width, 1, kMaxWidth);
        break;
    }
    return declared;
}

void AppendMIFColumn(std::string& out, const MIFColumn& given) {
    const MIFColumn column = DeclaredMIFColumn(given);
    char buf[64];
    out += '\t';
    out += column.name ? column.name : "";
    out += ' ';
    switch (column.type) {
    case kTypeInteger: out += "Integer"; break;
    case kTypeSmallint: out += "Smallint"; break;
    case kTypeDecimal:
        std::snprintf(buf, sizeof buf, "Decimal(%d,%d)", column.width, column.precision);
        out += buf;
        break;
    case kTypeFloat:
    case kTypeAngular: out += "Float"; break;
    default:
        std::snprintf(buf, sizeof buf, "Char(%d)", column.width);
        out += buf;
        break;
    }
    out += '\n';
}

void AppendMIFHeader(std::string& out, const MIFExtents& e, const std::vector<MIFColumn>& columns) {
    out += "Version 300\nCharset \"WindowsCyrillic\"\nCoordSys Nonearth Units \"m\"\n";
    // A square that covers both ranges, each with a margin of a tenth of itself.
    double dx = std::fabs(e.minX - e.maxX) * 0.1;
    double dy = std::fabs(e.minY - e.maxY) * 0.1;
    double lo = std::fmin(e.minX - dx, e.minY - dy);
    double hi = std::fmax(e.maxX + dx, e.maxY + dy);
    out += "Bounds (";
    AppendMIFNumber(out, lo);
    out += ", ";
    AppendMIFNumber(out, lo);
    out += ") (";
    AppendMIFNumber(out, hi);
    out += ", ";
    AppendMIFNumber(out, hi);
    out += ")\n";
    char buf[32];
    std::snprintf(buf, sizeof buf, "Columns %d\n", static_cast<int>(columns.size()));
    out += buf;
    for (const MIFColumn& column : columns) AppendMIFColumn(out, column);
    out += "Data\n";
}

void AppendMIDValue(std::string& out, const char* value) {
    if (!value) out.append("?\t", 2);
    else AppendMIDValue(out, std::string_view(value));
}

namespace {

// Whether a value holds a tab or a quote, a word at a time: it is asked of every value.
bool NeedsQuotes(std::string_view value) {
    using namespace bytescan;
    size_t i = 0;
    for (; i + 8 <= value.size(); i += 8) {
        const uint64_t word = LoadWord(value.data() + i);
        if (BytesEqual(word, '\t') | BytesEqual(word, '"')) return true;
    }
    bool quote = false;
    for (; i < value.size(); ++i) quote |= (value[i] == '\t') | (value[i] == '"');
    return quote;
}

}  // namespace

// Flattened: GCC would otherwise call out for the tab after every value.
[[gnu::flatten]] void AppendMIDValue(std::string& out, std::string_view value) {
    if (!NeedsQuotes(value)) {
        out.append(value);
        out += '\t';
        return;
    }
    out += '"';
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    out.append("\"\t", 2);
}

}  // namespace tvk
