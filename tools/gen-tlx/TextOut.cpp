#include "TextOut.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace gentlx {

CTextOut::CTextOut(std::string path, std::string_view lineEnd)
    : m_path(std::move(path)), m_lineEnd(lineEnd), m_buffer(1 << 20) {
    m_file = std::fopen(m_path.c_str(), "wb");
    if (!m_file) Fail("cannot create");
}

CTextOut::~CTextOut() {
    if (m_file) std::fclose(m_file);
}

void CTextOut::Integer(int64_t value) {
    char buf[24];
    auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    Put(std::string_view(buf, static_cast<size_t>(end - buf)));
}

void CTextOut::Right(int64_t value, size_t width) {
    char buf[24];
    auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    size_t n = static_cast<size_t>(end - buf);
    Column(m_column + (n < width ? width - n : 0));
    Put(std::string_view(buf, n));
}

void CTextOut::Millimetres(int64_t mm) {
    if (mm < 0) {
        Put('-');
        mm = -mm;
    }
    Integer(mm / 1000);
    char frac[4] = {'.', static_cast<char>('0' + mm / 100 % 10), static_cast<char>('0' + mm / 10 % 10),
                    static_cast<char>('0' + mm % 10)};
    Put(std::string_view(frac, 4));
}

void CTextOut::Close() {
    Flush();
    std::FILE* f = m_file;
    m_file = nullptr;
    if (std::fclose(f) != 0) Fail("cannot write");
}

void CTextOut::Flush() {
    if (m_used == 0) return;
    if (std::fwrite(m_buffer.data(), 1, m_used, m_file) != m_used) Fail("cannot write");
    m_bytes += m_used;
    m_used = 0;
}

void CTextOut::WriteDirect(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) Fail("cannot write");
    m_bytes += text.size();
}

void CTextOut::Fail(const char* what) {
    throw std::runtime_error(std::string(what) + " " + m_path + ": " + std::strerror(errno));
}

}  // namespace gentlx
