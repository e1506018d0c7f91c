#pragma once
// The playlist formats the program reads and writes, one row each: the
// extension that names it and the routines that turn its bytes into entries
// and back.  Everything that asks "which format is this playlist" or "which
// extension does this format take" asks this table.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "collection/Playlist.h"

// A playlist file's format (the numbers are the index of the format in the
// windows' choice lists and of its row in the table).
enum class TPlaylistType : int32_t {
    M3U = 0,
    PLS = 1,
    B4S = 2,
};

struct TPlaylistFormat {
    TPlaylistType type;
    std::string_view extension;  // lower case, without the dot
    TPlaylistContents (*read)(std::string_view bytes);
    // Tracks inside `folder` (with its trailing "/") may be written relative
    // to it; only M3U does so.
    std::string (*write)(const TPlaylistContents& contents, std::string_view folder);
};

// Every format, in the order of its number.
std::span<const TPlaylistFormat> PlaylistFormats();
// The row of a format; a number that names none is M3U's.
const TPlaylistFormat& PlaylistFormatFor(TPlaylistType type);
// The format a playlist is read as: the one its extension names (without
// regard to case), M3U for any other.
const TPlaylistFormat& PlaylistFormatOf(std::string_view path);
// True when the path's extension names a playlist format.
bool IsPlaylistPath(std::string_view path);
