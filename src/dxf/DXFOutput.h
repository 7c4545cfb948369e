// The text of a DXF file collected in memory and handed to the file in large
// chunks. Line ends are written as CR LF here, exactly as a text-mode file
// would turn "\n", so the bytes reach the file unchanged.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/File.h"

namespace tvk {

// "  0" ... "999": the numbers below 1000 right-aligned in three characters.
struct DXFSmallNumbers {
    char text[1000][4];
    constexpr DXFSmallNumbers() : text() {
        for (int n = 0; n < 1000; ++n) {
            text[n][0] = n >= 100 ? char('0' + n / 100) : ' ';
            text[n][1] = n >= 10 ? char('0' + n / 10 % 10) : ' ';
            text[n][2] = char('0' + n % 10);
            text[n][3] = ' ';
        }
    }
};
inline constexpr DXFSmallNumbers kDXFSmallNumbers{};

class CDXFOutput {
public:
    explicit CDXFOutput(size_t chunkSize = size_t(1) << 20);

    // Starts collecting for `file` (not owned); nullptr stops. Collected bytes
    // are not written by Attach: Flush first.
    void Attach(CFile* file);
    CFile* File() const { return file_; }

    // Contract: `n` in decimal, right-aligned in `width` characters (padded with
    // spaces on the left); a longer number is written whole.
    void Aligned(long long n, int width) {
        // Group codes and most integers: a blank field and one entry of the
        // table, with fixed-size copies (the field is at most 8 wide).
        if (n >= 0 && n < 1000 && width >= 3 && width <= 8 && size_t(limit_ - end_) >= 16) {
            std::memcpy(end_, "        ", 8);
            std::memcpy(end_ + width - 3, kDXFSmallNumbers.text[n], 4);  // the 4th byte is overwritten or unused
            end_ += width;
            return;
        }
        AlignedSlow(n, width);
    }
    // The bytes as they are, except that every "\n" becomes CR LF.
    void Text(std::string_view text);
    // The value with 16 significant digits in the _gcvt form ("0.", "2.5").
    void Number(double value);
    // CR LF.
    void NewLine() {
        Reserve(2);
        *end_++ = '\r';
        *end_++ = '\n';
    }

    // Writes everything collected to the file; throws CFileException.
    void Flush();
    // Forgets what is collected without writing it (after a failure).
    void Discard() { end_ = buffer_.data(); }
    size_t Pending() const { return size_t(end_ - buffer_.data()); }

private:
    void Reserve(size_t bytes) {
        if (size_t(limit_ - end_) < bytes) MakeRoom(bytes);
    }
    void MakeRoom(size_t bytes);
    void AlignedSlow(long long n, int width);

    std::vector<char> buffer_;
    char* end_;
    char* limit_;
    size_t chunkSize_;
    CFile* file_ = nullptr;

    // The last numbers written, by their bits: coordinates repeat often
    // (attribute anchors, heights of labels) and their text is the costly part.
    struct CachedNumber {
        uint64_t bits;
        unsigned char length;
        char text[32];  // the longest 16-digit _gcvt text has 23 characters
    };
    CachedNumber cache_[64];
};

}  // namespace tvk
