#include "covers/CoverKey.h"

#include "core/Utf8.h"

namespace {

// The key letter of one character; 0 for a character the key leaves out.
char KeyChar(char32_t c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) return char(c);
    if (c >= 'A' && c <= 'Z') return char(c - 'A' + 'a');
    if ((c >= 0xE0 && c <= 0xE6) || (c >= 0xC0 && c <= 0xC6)) return 'a';
    if (c >= 0xC8 && c <= 0xCB) return 'e';
    if (c >= 0xE8 && c <= 0xEB) return 'e';
    if ((c >= 0xCC && c <= 0xCF) || (c >= 0xEC && c <= 0xEF)) return 'i';
    if ((c >= 0xD2 && c <= 0xD6) || (c >= 0xF2 && c <= 0xF6)) return 'o';
    if ((c >= 0xD9 && c <= 0xDC) || (c >= 0xF9 && c <= 0xFC)) return 'u';
    switch (c) {
        case 0xE7:
        case 0xC7:
            return 'c';
        case 0xD0:
            return 'd';
        case 0x20AC:
            return 'e';  // the euro sign
        case 0xD1:
        case 0xF1:
            return 'n';
        case 0x152:
        case 0x153:
            return 'o';  // the ligatures OE and oe
        case 0x160:
        case 0x161:
            return 's';
        case 0xB5:
            return 'u';  // the micro sign
        case 0x178:
        case 0xDD:
        case 0xFD:
        case 0xFF:
            return 'y';
        case 0x17D:
        case 0x17E:
            return 'z';
        default:
            return 0;
    }
}

// Decodes one UTF-8 character of valid text and moves past it.
char32_t NextChar(std::string_view text, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + size_t(k) < text.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + size_t(k)]) & 0x3F);
    i += size_t(length);
    return c;
}

}  // namespace

std::string CoverKey(std::string_view name) {
    // Blanks and control characters drop out anyway, so trimming needs no
    // step of its own.
    const std::string text = ToUtf8(name);
    std::string key;
    key.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char k = KeyChar(NextChar(text, i));
        if (k != 0) key.push_back(k);
    }
    return key;
}
