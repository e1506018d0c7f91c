#include "tags/TagText.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/Utf8.h"

namespace {

// The characters of the Windows-1252 bytes 0x80-0x9F, taken from the decoder
// so that both directions share one table.
const std::array<char32_t, 32>& Windows1252High() {
    static const std::array<char32_t, 32> table = [] {
        std::array<char32_t, 32> t{};
        for (size_t i = 0; i < t.size(); ++i) {
            std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(0x80 + i)));
            size_t pos = 0;
            t[i] = NextUtf8Char(utf8, pos);
        }
        return t;
    }();
    return table;
}

bool Windows1252Byte(char32_t c, char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    const auto& high = Windows1252High();
    auto found = std::find(high.begin(), high.end(), c);
    if (found == high.end()) return false;
    byte = static_cast<char>(0x80 + (found - high.begin()));
    return true;
}

// The text without a multi-byte sequence that is cut off at its end.
std::string_view WithoutCutSequence(std::string_view text) {
    const size_t size = text.size();
    for (size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80) continue;
        const size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? text.substr(0, size - back) : text;
    }
    return text;
}

}  // namespace

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    auto unitAt = [&](size_t i) -> char16_t {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    size_t i = 0;
    if (bytes.size() >= 2) {
        char16_t first = unitAt(0);
        if (first == 0xFEFF) i = 2;
        if (first == 0xFFFE) {
            bigEndian = !bigEndian;
            i = 2;
        }
    }
    std::string out;
    out.reserve(bytes.size());
    for (; i + 1 < bytes.size(); i += 2) {
        char16_t unit = unitAt(i);
        if (unit == 0) break;
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // a lone surrogate
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToUtf16LE(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    auto put = [&](char32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = NextUtf8Char(text, pos);
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

bool Utf8ToLatin1(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = NextUtf8Char(text, pos);
        if (c > 0xFF) return false;
        bytes += static_cast<char>(c);
    }
    return true;
}

bool Utf8ToWindows1252(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (size_t pos = 0; pos < text.size();) {
        char byte = 0;
        if (!Windows1252Byte(NextUtf8Char(text, pos), byte)) return false;
        bytes += byte;
    }
    return true;
}

std::string Utf8ToWindows1252Lossy(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char byte = '?';
        Windows1252Byte(NextUtf8Char(text, pos), byte);
        bytes += byte;
    }
    return bytes;
}

std::string TagBytesToUtf8(std::string_view bytes, bool mayBeCut) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    // A cut sequence is forgiven only in text that shows itself as UTF-8
    // elsewhere; "Caf\xE9" stays 8-bit text.
    std::string_view whole = WithoutCutSequence(bytes);
    const bool multiByte = std::any_of(
        whole.begin(), whole.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (mayBeCut && whole.size() < bytes.size() && multiByte && IsValidUtf8(whole))
        return std::string(whole);
    return Windows1252ToUtf8(bytes);
}

std::string Utf8Left(std::string_view text, size_t maxChars) {
    size_t pos = 0;
    for (size_t count = 0; count < maxChars && pos < text.size(); ++count) NextUtf8Char(text, pos);
    return std::string(text.substr(0, pos));
}

std::string_view TrimLowRight(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

std::string_view TrimLow(std::string_view text) {
    text = TrimLowRight(text);
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    return text;
}
