// CText: one text field of the survey model, in code page 1251.
//
// A model text is either absent (the line ended before the field) or present
// (possibly empty or blank). A million points carry several million texts, so
// the type is 16 bytes and keeps texts of up to 15 bytes inline, without any
// allocation; longer texts live on the heap. The bytes are always followed by
// a NUL, so Get() can go to C functions directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace tvk {

class CText {
public:
    CText() noexcept { SetAbsent(); }
    CText(std::nullptr_t) noexcept { SetAbsent(); }
    // Present with the given bytes.
    CText(std::string_view text) { Init(text.data(), text.size()); }
    CText(const std::string& text) { Init(text.data(), text.size()); }
    // nullptr gives an absent text.
    CText(const char* text) {
        if (text) Init(text, std::strlen(text));
        else SetAbsent();
    }
    CText(const CText& other) {
        if (other.IsNull()) SetAbsent();
        else Init(other.Get(), other.size());
    }
    CText(CText&& other) noexcept {
        std::memcpy(buf_, other.buf_, sizeof buf_);
        other.SetAbsent();
    }
    CText& operator=(const CText& other) {
        if (this != &other) {
            CText copy(other);
            Swap(copy);
        }
        return *this;
    }
    CText& operator=(CText&& other) noexcept {
        if (this != &other) {
            Release();
            std::memcpy(buf_, other.buf_, sizeof buf_);
            other.SetAbsent();
        }
        return *this;
    }
    ~CText() { Release(); }

    void Swap(CText& other) noexcept {
        char tmp[16];
        std::memcpy(tmp, buf_, 16);
        std::memcpy(buf_, other.buf_, 16);
        std::memcpy(other.buf_, tmp, 16);
    }

    bool IsNull() const { return Tag() == kAbsent; }
    explicit operator bool() const { return !IsNull(); }

    // The NUL-terminated bytes, or nullptr when absent.
    const char* Get() const { return IsNull() ? nullptr : Data(); }
    // The bytes, "" when absent.
    const char* c_str() const { return IsNull() ? "" : Data(); }
    // Writable bytes of the present text (same length), nullptr when absent.
    char* Data() {
        if (Tag() == kAbsent) return nullptr;
        return Tag() == kHeap ? HeapPtr() : buf_;
    }
    const char* Data() const { return const_cast<CText*>(this)->Data(); }
    size_t size() const {
        uint8_t t = Tag();
        if (t == kAbsent) return 0;
        if (t == kHeap) return HeapLen();
        return 15 - t;
    }
    std::string_view View() const { return IsNull() ? std::string_view() : std::string_view(Data(), size()); }
    std::string Str() const { return std::string(View()); }

    // The 16-byte buffer of a present text of at most 15 bytes (its bytes,
    // a NUL, then bytes of no meaning), else nullptr: word-wise scans read it whole.
    const char* InlineBytes() const { return Tag() < kHeap ? buf_ : nullptr; }

    // True when absent, empty or only C white space. Most texts are trimmed
    // fields, decided by their first byte without a call.
    bool IsBlank() const {
        const std::string_view text = View();
        if (!text.empty() && !IsCSpace(text.front())) return false;
        return AllBlank(text);
    }

    void Reset() {
        Release();
        SetAbsent();
    }
    void Assign(std::string_view text) {
        CText t(text);
        Swap(t);
    }

    // Equal when both are absent, or both present with the same bytes.
    friend bool operator==(const CText& a, const CText& b) { return a.IsNull() == b.IsNull() && a.View() == b.View(); }

private:
    static bool AllBlank(std::string_view text);

    static constexpr uint8_t kAbsent = 0xFF;
    static constexpr uint8_t kHeap = 0xFE;
    // Byte 15 is the tag: 15 - length for inline texts (so a 15-byte text
    // ends with the NUL it needs), kAbsent, or kHeap with pointer and length.
    uint8_t Tag() const { return static_cast<uint8_t>(buf_[15]); }
    void SetAbsent() noexcept {
        buf_[0] = 0;
        buf_[15] = static_cast<char>(kAbsent);
    }
    char* HeapPtr() const {
        char* p;
        std::memcpy(&p, buf_, sizeof p);
        return p;
    }
    size_t HeapLen() const {
        uint32_t n;
        std::memcpy(&n, buf_ + 8, sizeof n);
        return n;
    }
    void Init(const char* text, size_t n) {
        if (n <= 15) {
            std::memcpy(buf_, text, n);
            buf_[n] = 0;
            buf_[15] = static_cast<char>(15 - n);
        } else {
            // The length is kept in 32 bits; model texts are line fields.
            if (n > UINT32_MAX) throw std::length_error("model text too long");
            char* p = new char[n + 1];
            std::memcpy(p, text, n);
            p[n] = 0;
            uint32_t len = static_cast<uint32_t>(n);
            std::memcpy(buf_, &p, sizeof p);
            std::memcpy(buf_ + 8, &len, sizeof len);
            buf_[15] = static_cast<char>(kHeap);
        }
    }
    void Release() noexcept {
        if (Tag() == kHeap) delete[] HeapPtr();
    }

    char buf_[16];
};

static_assert(sizeof(CText) == 16);

}  // namespace tvk
