#include "dxf/DXFOutput.h"

#include <cstring>

#include "platform/NumberText.h"

namespace tvk {

namespace {
// Longest _gcvt text of 16 digits: sign, 16 digits, point, "e+308".
constexpr size_t kMaxNumberText = 32;
}  // namespace

CDXFOutput::CDXFOutput(size_t chunkSize) : chunkSize_(chunkSize < 4096 ? 4096 : chunkSize) {
    buffer_.resize(chunkSize_ + 4096);
    end_ = buffer_.data();
    limit_ = buffer_.data() + buffer_.size();
    for (auto& c : cache_) {
        c.bits = ~uint64_t(0);  // a NaN pattern no caller passes by chance
        c.length = 0;
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

void CDXFOutput::Aligned(long long n, int width) {
    char digits[24];
    char* p = digits + sizeof digits;
    unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (n < 0) *--p = '-';
    int length = int(digits + sizeof digits - p);
    int pad = width > length ? width - length : 0;
    Reserve(size_t(pad + length));
    std::memset(end_, ' ', size_t(pad));
    end_ += pad;
    std::memcpy(end_, p, size_t(length));
    end_ += length;
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
        int n = FormatGcvt(value, 16, text);
        c.bits = bits;
        c.length = static_cast<unsigned char>(n);
        std::memcpy(c.text, text, size_t(n));
    }
    Reserve(kMaxNumberText);
    std::memcpy(end_, c.text, c.length);
    end_ += c.length;
    if (Pending() >= chunkSize_ && file_) Flush();
}

}  // namespace tvk
