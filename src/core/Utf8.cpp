#include "core/Utf8.h"

#include <cstdint>

namespace {
bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return 0;
    for (size_t k = 2; k < length; ++k)
        if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) return 0;
    return length;
}

char32_t NextUtf8Char(std::string_view text, size_t& pos) {
    const size_t length = Utf8SequenceLength(text, pos);
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (length == 0) {
        ++pos;
        return 0xFFFD;
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k)
        value = (value << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    pos += length;
    return value;
}

namespace {
// Windows-1252 bytes 0x80-0x9F; the undefined ones keep their C1 code.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
    return out;
}

std::string ToUtf8(std::string_view text) {
    return IsValidUtf8(text) ? std::string(text) : Windows1252ToUtf8(text);
}

std::string_view Utf8Prefix(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    // Step back over at most three continuation bytes to the start of the
    // character that the cut would split; in text that is not UTF-8 cut as is.
    for (size_t back = 0; back <= 3 && back <= maxBytes; ++back) {
        const size_t end = maxBytes - back;
        if (!IsContinuation(static_cast<unsigned char>(text[end]))) return text.substr(0, end);
    }
    return text.substr(0, maxBytes);
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
