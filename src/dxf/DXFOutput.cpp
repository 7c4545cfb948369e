#include "dxf/DXFOutput.h"

#include <cstring>

#include "platform/NumberText.h"

namespace tvk {

CDXFOutput::CDXFOutput(size_t chunkSize) : chunkSize_(chunkSize < 4096 ? 4096 : chunkSize) {
    buffer_.resize(chunkSize_ + 4096);
    end_ = buffer_.data();
    limit_ = buffer_.data() + buffer_.size();
    for (auto& c : cache_) {
        c.bits = ~uint64_t(0);  // a NaN pattern no caller passes by chance
        c.length = 0;
        std::memset(c.text, 0, sizeof c.text);
    }
}

void CDXFOutput::Attach(CFile* file) { file_ = file; }

void CDXFOutput::MakeRoom(size_t bytes) {
    if (Pending() >= chunkSize_ && file_) Flush();
    if (size_t(limit_ - end_) >= bytes) return;
    size_t used = Pending();
    buffer_.resize(used + bytes + chunkSize_);
    end_ = buffer_.data() + used;
    limit_ = buffer_.data() + buffer_.size();
}

void CDXFOutput::Flush() {
    size_t used = Pending();
    if (used && file_) {
        end_ = buffer_.data();  // forgotten even when writing fails: never written twice
        file_->Write(buffer_.data(), used);
    }
}

void CDXFOutput::AlignedSlow(long long n, int width) {
    if (n >= 0 && n < 1000 && width >= 3 && width <= 8) {
        Reserve(16);  // and the chunk goes to the file when full
        Aligned(n, width);
        return;
    }
    // The digits are built right-aligned in a field of blanks and copied with
    // one fixed-size copy: this runs for every group code and integer.
    constexpr int kField = 24;  // more than the 20 characters of any long long
    if (width > kField) {
        Reserve(size_t(width - kField));
        std::memset(end_, ' ', size_t(width - kField));
        end_ += width - kField;
        width = kField;
    }
    char field[2 * kField];
    std::memset(field, ' ', sizeof field);
    char* const digitsEnd = field + kField;
    char* p = digitsEnd;
    unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (n < 0) *--p = '-';
    const int length = int(digitsEnd - p);
    const int shown = width > length ? width : length;
    Reserve(kField);
    std::memcpy(end_, digitsEnd - shown, kField);  // only `shown` bytes count
    end_ += shown;
    if (Pending() >= chunkSize_ && file_) Flush();
}

void CDXFOutput::Text(std::string_view text) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* stop = nl ? nl : end;
        size_t n = size_t(stop - p);
        Reserve(n + 2);
        std::memcpy(end_, p, n);
        end_ += n;
        if (!nl) break;
        *end_++ = '\r';
        *end_++ = '\n';
        p = nl + 1;
    }
    if (Pending() >= chunkSize_ && file_) Flush();
}

void CDXFOutput::Number(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    CachedNumber& c = cache_[(bits ^ (bits >> 29) ^ (bits >> 47)) & 63];
    if (c.bits != bits) {
        char text[64];
        const int n = FormatGcvt(value, 16, text);
        c.bits = bits;
        c.length = static_cast<unsigned char>(n);
        std::memcpy(c.text, text, sizeof c.text);
    }
    Reserve(sizeof c.text);
    std::memcpy(end_, c.text, sizeof c.text);  // fixed size: only `length` bytes count
    end_ += c.length;
    if (Pending() >= chunkSize_ && file_) Flush();
}

}  // namespace tvk
