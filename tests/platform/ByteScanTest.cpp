// The word-at-a-time scans against plain byte loops, over every short text of
// a small alphabet and random longer ones: a mask or an overlap off by one
// byte shows as a difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "platform/ByteScan.h"
#include "platform/Text.h"

namespace tvk {
namespace {

int PlainPointOfDecimal(std::string_view text) {
    int points = 0;
    for (char c : text) {
        if (c == '.') ++points;
        else if (c < '0' || c > '9') return -1;
    }
    return points <= 1 ? points : -1;
}

bool PlainMayHoldLetter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) & 0x40) return true;
    return false;
}

std::string_view PlainTrimmed(std::string_view text) {
    while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsCSpace(text.back())) text.remove_suffix(1);
    return text;
}

void ExpectScansAgree(const std::string& text) {
    SCOPED_TRACE("text \"" + text + "\"");
    EXPECT_EQ(PointOfDecimal(text), PlainPointOfDecimal(text));
    if (text.size() <= 15) {
        char sixteen[16];
        std::memset(sixteen, '.', sizeof sixteen);  // bytes past the text must not count
        std::memcpy(sixteen, text.data(), text.size());
        EXPECT_EQ(PointOfDecimal(sixteen, text.size()), PlainPointOfDecimal(text));
    }
    EXPECT_EQ(MayHoldLetter(text), PlainMayHoldLetter(text));
    EXPECT_EQ(LeadingBlanks(text), std::min(text.find_first_not_of(' '), text.size()));
    const std::string_view trimmed = TrimmedView(text);
    const std::string_view expected = PlainTrimmed(text);
    EXPECT_EQ(trimmed.data(), expected.data());
    EXPECT_EQ(trimmed.size(), expected.size());
}

TEST(ByteScanTest, EveryShortTextOfDigitsPointsBlanksAndLettersScansAsByteLoopsDo) {
    const std::string alphabet = "07. \tx\xC0";
    for (size_t length = 0; length <= 6; ++length) {
        std::string text(length, '0');
        size_t combinations = 1;
        for (size_t i = 0; i < length; ++i) combinations *= alphabet.size();
        for (size_t k = 0; k < combinations; ++k) {
            for (size_t i = 0, rest = k; i < length; ++i, rest /= alphabet.size())
                text[i] = alphabet[rest % alphabet.size()];
            ExpectScansAgree(text);
            if (HasFailure()) return;
        }
    }
}

TEST(ByteScanTest, LongerTextsAcrossWordBoundariesScanAsByteLoopsDo) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789. \r@\x98-";
    for (int round = 0; round < 20000 && !HasFailure(); ++round) {
        const size_t length = random() % 40;
        // Mostly digits with at most a few other bytes, so every answer occurs.
        std::string text(length, '5');
        for (size_t others = random() % 3; others > 0 && length > 0; --others)
            text[random() % length] = alphabet[random() % alphabet.size()];
        if (length > 0 && random() % 2) text.insert(0, std::string(random() % 20, ' '));
        if (random() % 2) text.append(std::string(random() % 20, ' '));
        ExpectScansAgree(text);
    }
}

}  // namespace
}  // namespace tvk
