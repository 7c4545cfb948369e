// Buffered output of generated text with column helpers for the fixed layout.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace gentlx {

class CTextOut {
public:
    // Creates `path`; throws std::runtime_error naming the file and the cause.
    CTextOut(std::string path, std::string_view lineEnd);
    ~CTextOut();
    CTextOut(const CTextOut&) = delete;
    CTextOut& operator=(const CTextOut&) = delete;

    void Put(std::string_view text) {
        if (m_used + text.size() > m_buffer.size()) Flush();
        if (text.size() > m_buffer.size()) {
            WriteDirect(text);
        } else {
            std::copy(text.begin(), text.end(), m_buffer.data() + m_used);
            m_used += text.size();
        }
        m_column += text.size();
    }
    void Put(char c) { Put(std::string_view(&c, 1)); }
    // Blanks up to `column` (nothing when the line is already there).
    void Column(size_t column) {
        if (m_column >= column) return;
        size_t n = column - m_column;  // a few dozen at most
        if (m_used + n > m_buffer.size()) Flush();
        std::memset(m_buffer.data() + m_used, ' ', n);
        m_used += n;
        m_column = column;
    }
    void Integer(int64_t value);
    void Right(int64_t value, size_t width);  // right-aligned in `width` columns
    void Millimetres(int64_t mm);             // as metres with three decimals
    void EndLine() {
        Put(m_lineEnd);
        m_column = 0;
    }
    // Writes what is left and closes; throws std::runtime_error on failure.
    void Close();
    uint64_t Bytes() const { return m_bytes + m_used; }

private:
    void Flush();
    void WriteDirect(std::string_view text);
    void Fail(const char* what);

    std::string m_path;
    std::string m_lineEnd;
    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    size_t m_column = 0;
    uint64_t m_bytes = 0;
};

}  // namespace gentlx
