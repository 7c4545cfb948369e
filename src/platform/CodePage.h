// Code page 1251 at the edges: character classes of the model's texts and the
// conversions to UTF-8 (file names, terminal, Qt) and to MS-DOS 866.
#pragma once
#include <string>
#include <string_view>

namespace tvk {

// Character classes by the 1251 table, whatever the process locale is.
bool IsAlpha1251(unsigned char c);
bool IsDigit1251(unsigned char c);
bool IsAlnum1251(unsigned char c);
bool IsSpace1251(unsigned char c);  // the C white-space class
unsigned char ToUpper1251(unsigned char c);
unsigned char ToLower1251(unsigned char c);
// Case-insensitive comparison of two 1251 texts (<0, 0, >0).
int CompareNoCase1251(std::string_view a, std::string_view b);
std::string Upper1251(std::string_view text);

// 1251 bytes to UTF-8; a byte with no character (0x98) becomes U+FFFD.
std::string Utf8From1251(std::string_view text);
// The same for a log text that quotes `native`, a path in the system's own
// encoding (UTF-8) already: every occurrence of it stays as it is.
std::string Utf8From1251Keeping(std::string_view text, std::string_view native);

// UTF-8 to 1251. Returns false (and leaves `out` unspecified) when the text is
// not valid UTF-8 or holds a character that 1251 cannot represent.
bool Cp1251FromUtf8(std::string_view utf8, std::string& out);
// For texts known to be representable (literals of the source); throws
// std::invalid_argument otherwise.
std::string Cp1251(std::string_view utf8);

// 1251 to MS-DOS 866, byte by byte; ASCII stays as it is.
void Convert1251To866(char* text, size_t length);

}  // namespace tvk
