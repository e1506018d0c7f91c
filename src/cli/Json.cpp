#include "cli/Json.h"

#include <cstdio>

#include "collection/Ump3_obj.h"
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

void TJsonObject::Add(std::string_view name, double number) {
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%.3f", number);
    Raw(name, formatted);
}

void TJsonObject::Raw(std::string_view name, std::string_view json) {
    if (!members_.empty()) members_ += ',';
    members_ += JsonString(name);
    members_ += ':';
    members_ += json;
}

void AddTagValues(TJsonObject& json, const Tmp3& track) {
    json.Add("title", track.Title);
    json.Add("artist", track.Artist);
    json.Add("album", track.Album);
    json.Add("genre", track.Genre);
    json.Add("year", int64_t{track.Year});
}
