// Scans of texts eight bytes at a time, for the questions asked of every
// field of a big survey millions of times: is this coordinate a plain
// decimal, can this value be an infinity, where does the blank padding end,
// does this value need quotes. The common case is decided without
// converting anything.
#pragma once
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tvk {

namespace bytescan {

static_assert(std::endian::native == std::endian::little, "the word masks assume little-endian bytes");

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHigh = kOnes * 0x80;

inline uint64_t LoadWord(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The high bit of every byte of `word` that equals `byte`.
inline uint64_t BytesEqual(uint64_t word, unsigned char byte) {
    const uint64_t d = word ^ (kOnes * byte);
    return ~(((d & ~kHigh) + ~kHigh) | d) & kHigh;
}

// The high bit of every byte of `word` that is not an ASCII digit.
inline uint64_t NonDigits(uint64_t word) {
    const uint64_t x = word ^ (kOnes * '0');
    return (((x & ~kHigh) + kOnes * (0x80 - 10)) | x) & kHigh;
}

}  // namespace bytescan

// Contract: the number of '.' in `text` when it holds nothing but ASCII
// digits and at most one point (0 or 1), else -1.
inline int PointOfDecimal(std::string_view text) {
    using namespace bytescan;
    const size_t n = text.size();
    int points = 0;
    if (n < 8) {
        for (char c : text) {
            if (static_cast<unsigned char>(c - '0') < 10u) continue;
            if (c != '.' || points++) return -1;
        }
        return points;
    }
    for (size_t i = 0; i < n; i += 8) {
        // The last word ends at the text's end and overlaps the one before.
        const size_t at = std::min(i, n - 8);
        const uint64_t word = LoadWord(text.data() + at);
        uint64_t point = BytesEqual(word, '.');
        if (NonDigits(word) & ~point) return -1;
        point &= ~uint64_t{0} << (8 * (i - at));  // bytes the word before counted
        if (point & (point - 1)) return -1;
        points += point != 0;
    }
    return points <= 1 ? points : -1;
}

// The same for a text of at most 15 bytes at `sixteen`, which must have 16
// readable bytes: two words and no branch on the bytes.
inline int PointOfDecimal(const char* sixteen, size_t length) {
    using namespace bytescan;
    const uint64_t digits = kOnes * '0';
    const uint64_t keepLow = length >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * length)) - 1;
    const uint64_t keepHigh = length <= 8 ? 0 : (uint64_t{1} << (8 * (length - 8))) - 1;
    const uint64_t low = (LoadWord(sixteen) & keepLow) | (digits & ~keepLow);
    const uint64_t high = (LoadWord(sixteen + 8) & keepHigh) | (digits & ~keepHigh);
    const uint64_t pointLow = BytesEqual(low, '.'), pointHigh = BytesEqual(high, '.');
    if ((NonDigits(low) & ~pointLow) | (NonDigits(high) & ~pointHigh)) return -1;
    const int points = (pointLow != 0) + (pointHigh != 0);
    if (points > 1 || (pointLow & (pointLow - 1)) || (pointHigh & (pointHigh - 1))) return -1;
    return points;
}

// Contract: the number of ' ' that `text` starts with.
inline size_t LeadingBlanks(std::string_view text) {
    using namespace bytescan;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t nonBlanks = ~BytesEqual(LoadWord(text.data() + i), ' ') & kHigh;
        if (nonBlanks) return i + static_cast<size_t>(std::countr_zero(nonBlanks)) / 8;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    return i;
}

// Contract: false only when no byte of `text` can belong to an ASCII letter
// (no byte has bit 0x40 set); a text without letters reads as no infinity
// and no NaN, whatever else it holds.
inline bool MayHoldLetter(std::string_view text) {
    using namespace bytescan;
    const char* p = text.data();
    const size_t n = text.size();
    uint64_t seen = 0;
    if (n < 8) {
        for (size_t i = 0; i < n; ++i) seen |= static_cast<unsigned char>(p[i]);
    } else {
        for (size_t i = 0; i + 8 < n; i += 8) seen |= LoadWord(p + i);
        seen |= LoadWord(p + n - 8);
    }
    return (seen & (kOnes * 0x40)) != 0;
}

}  // namespace tvk
