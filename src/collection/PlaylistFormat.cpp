#include "collection/PlaylistFormat.h"

#include <array>

#include "core/Ucommon.h"

namespace {

std::string WritePls(const TPlaylistContents& contents, std::string_view) {
    return TPlsPlaylist::Write(contents);
}
std::string WriteB4s(const TPlaylistContents& contents, std::string_view) {
    return TB4sPlaylist::Write(contents);
}

constexpr std::array<TPlaylistFormat, 3> kFormats{{
    {TPlaylistType::M3U, "m3u", &TM3uPlaylist::Read, &TM3uPlaylist::Write},
    {TPlaylistType::PLS, "pls", &TPlsPlaylist::Read, &WritePls},
    {TPlaylistType::B4S, "b4s", &TB4sPlaylist::Read, &WriteB4s},
}};

// The format whose extension ends the path after a dot, or none.
const TPlaylistFormat* NamedFormat(std::string_view path) {
    for (const TPlaylistFormat& format : kFormats) {
        const size_t length = format.extension.size() + 1;
        if (path.size() < length || path[path.size() - length] != '.') continue;
        if (SameTextAscii(path.substr(path.size() - format.extension.size()), format.extension))
            return &format;
    }
    return nullptr;
}

}  // namespace

std::span<const TPlaylistFormat> PlaylistFormats() {
    return kFormats;
}

const TPlaylistFormat& PlaylistFormatFor(TPlaylistType type) {
    for (const TPlaylistFormat& format : kFormats)
        if (format.type == type) return format;
    return kFormats[0];
}

const TPlaylistFormat& PlaylistFormatOf(std::string_view path) {
    const TPlaylistFormat* format = NamedFormat(path);
    return format ? *format : kFormats[0];
}

bool IsPlaylistPath(std::string_view path) {
    return NamedFormat(path) != nullptr;
}
