#include "cli/Json.h"

#include <cstdio>

#include "core/Utf8.h"

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}
