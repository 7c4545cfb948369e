// The text of a DXF file collected in memory and handed to the file in large
// chunks. Line ends are written as CR LF here, exactly as a text-mode file
// would turn "\n", so the bytes reach the file unchanged.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/File.h"

namespace tvk {

class CDXFOutput {
public:
    explicit CDXFOutput(size_t chunkSize = size_t(1) << 20);

    // Starts collecting for `file` (not owned); nullptr stops. Collected bytes
    // are not written by Attach: Flush first.
    void Attach(CFile* file);
    CFile* File() const { return file_; }

    // Contract: `n` in decimal, right-aligned in `width` characters (padded with
    // spaces on the left); a longer number is written whole.
    void Aligned(long long n, int width);
    // The bytes as they are, except that every "\n" becomes CR LF.
    void Text(std::string_view text);
    // The value with 16 significant digits in the _gcvt form ("0.", "2.5").
    void Number(double value);
    // CR LF.
    void NewLine() { Reserve(2); *end_++ = '\r'; *end_++ = '\n'; }

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
