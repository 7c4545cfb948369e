#include "platform/CodePage.h"

#include <stdexcept>
#include <unordered_map>

namespace tvk {
namespace {
#include "platform/Cp1251Tables.inc"

const std::unordered_map<char32_t, unsigned char>& UnicodeTo1251() {
    static const auto* table = [] {
        auto* m = new std::unordered_map<char32_t, unsigned char>;
        for (int b = 0; b < 256; ++b)
            if (kCp1251ToUnicode[b] != 0xFFFD) (*m)[kCp1251ToUnicode[b]] = static_cast<unsigned char>(b);
        return m;
    }();
    return *table;
}
}  // namespace

bool IsAlpha1251(unsigned char c) { return kCp1251Class[c] & 1; }
bool IsDigit1251(unsigned char c) { return kCp1251Class[c] & 2; }
bool IsAlnum1251(unsigned char c) { return kCp1251Class[c] & 3; }
bool IsSpace1251(unsigned char c) { return kCp1251Class[c] & 4; }
unsigned char ToUpper1251(unsigned char c) { return kCp1251Upper[c]; }
unsigned char ToLower1251(unsigned char c) { return kCp1251Lower[c]; }

int CompareNoCase1251(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = kCp1251Upper[static_cast<unsigned char>(a[i])];
        int cb = kCp1251Upper[static_cast<unsigned char>(b[i])];
        if (ca != cb) return ca - cb;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::string Upper1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(kCp1251Upper[static_cast<unsigned char>(c)]);
    return out;
}

std::string Utf8From1251(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char b : text) {
        char32_t u = kCp1251ToUnicode[b];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string Utf8From1251Keeping(std::string_view text, std::string_view native) {
    std::string out;
    size_t at = native.empty() ? std::string_view::npos : text.find(native);
    while (at != std::string_view::npos) {
        out += Utf8From1251(text.substr(0, at));
        out += native;
        text.remove_prefix(at + native.size());
        at = text.find(native);
    }
    return out + Utf8From1251(text);
}

bool Cp1251FromUtf8(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    const auto& table = UnicodeTo1251();
    for (size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        char32_t u;
        int extra;
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0) {
            u = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            u = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            u = b & 0x07;
            extra = 3;
        } else return false;
        if (i + extra >= utf8.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) return false;
            u = (u << 6) | (cont & 0x3F);
        }
        i += extra + 1;
        auto it = table.find(u);
        if (it == table.end()) return false;
        out += static_cast<char>(it->second);
    }
    return true;
}

std::string Cp1251(std::string_view utf8) {
    std::string out;
    if (!Cp1251FromUtf8(utf8, out)) throw std::invalid_argument("text not representable in code page 1251");
    return out;
}

void Convert1251To866(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(kCp1251To866[static_cast<unsigned char>(text[i])]);
}

}  // namespace tvk
