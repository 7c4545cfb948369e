// Reading integers and doubles back out of written bytes.
#pragma once
#include <bit>
#include <cstdint>
#include <string>

namespace shptest {

inline uint32_t Big32(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(s.at(at + i))); };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}
inline uint32_t Little32(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(s.at(at + i))); };
    return b(3) << 24 | b(2) << 16 | b(1) << 8 | b(0);
}
inline uint16_t Little16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(s.at(at)) | static_cast<unsigned char>(s.at(at + 1)) << 8);
}
inline double LittleDouble(const std::string& s, size_t at) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(s.at(at + i));
    return std::bit_cast<double>(bits);
}
inline unsigned Byte(const std::string& s, size_t at) { return static_cast<unsigned char>(s.at(at)); }

}  // namespace shptest
