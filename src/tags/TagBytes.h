#pragma once
// Fixed-width numbers inside tag bytes.  Readers take a view and an offset the
// caller has already checked against the view's size.
#include <cstdint>
#include <string>
#include <string_view>

inline uint32_t ByteAt(std::string_view b, size_t i) {
    return static_cast<unsigned char>(b[i]);
}

inline uint32_t ReadBE(std::string_view b, size_t at, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v = (v << 8) | ByteAt(b, at + i);
    return v;
}
inline uint64_t ReadLE(std::string_view b, size_t at, int width) {
    uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | ByteAt(b, at + i);
    return v;
}
// Four bytes of seven significant bits each, most significant first.
inline uint32_t ReadSyncsafe(std::string_view b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 7) | (ByteAt(b, at + i) & 0x7F);
    return v;
}

inline void AppendBE(std::string& out, uint32_t v, int width) {
    for (int i = width - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void AppendLE(std::string& out, uint64_t v, int width) {
    for (int i = 0; i < width; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void AppendSyncsafe(std::string& out, uint32_t v) {
    for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (7 * i)) & 0x7F);
}
inline void PutLE32(std::string& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
