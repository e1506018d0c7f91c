#pragma once
// Playlist file formats on byte buffers: M3U (with "#EXTINF:" lines and the
// program's "#@" album tags), PLS and B4S (XML).  Readers turn the file's
// bytes into entries as written; writers turn entries into the file's bytes
// (UTF-8, every line ending with CR LF).  Resolving entries against the
// playlist's folder is a separate step (ResolvePlaylistEntry).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TPlaylistEntry {
    std::string path;                   // as the file gives it (reading) or full (writing)
    std::optional<int32_t> durationMs;  // set only when the file gives a length
    std::string title;                  // "" when the file gives none
};

struct TPlaylistContents {
    std::vector<TPlaylistEntry> entries;
    // Album values (M3U only); "" and no year mean "not given".
    std::string artist;
    std::string album;
    std::string genre;
    std::optional<int32_t> year;
};

class TM3uPlaylist {
  public:
    static TPlaylistContents Read(std::string_view bytes);
    // Tracks inside `folder` (with its trailing "/") are written relative to it.
    static std::string Write(const TPlaylistContents& contents, std::string_view folder);
};

class TPlsPlaylist {
  public:
    static TPlaylistContents Read(std::string_view bytes);
    static std::string Write(const TPlaylistContents& contents);
};

class TB4sPlaylist {
  public:
    // A document that is not well-formed XML names no tracks.
    static TPlaylistContents Read(std::string_view bytes);
    static std::string Write(const TPlaylistContents& contents);
};

// The full path of an entry of a playlist lying in `folder` (with its
// trailing "/").  "\" becomes "/"; an entry beginning with "/" is absolute,
// and so are a drive-letter entry ("C:\x", which names no file here) and a
// network entry ("\\host\x"); any other entry, one beginning with a single
// "\" included, is relative to the folder.  "." and ".." are kept.
std::string ResolvePlaylistEntry(std::string_view entry, std::string_view folder);

// Text helpers shared by the formats.
// The file's text as UTF-8: a file that is not valid UTF-8 is taken as
// Windows-1252 and converted; a UTF-8 byte order mark is dropped.
std::string PlaylistTextToUtf8(std::string_view bytes);
// Lines ending at CR, LF or CR LF.
std::vector<std::string_view> SplitPlaylistLines(std::string_view text);
// Without leading and trailing bytes of code 32 or below.
std::string_view TrimPlaylistText(std::string_view text);
// Joins lines, each ending with CR LF.
std::string JoinPlaylistLines(const std::vector<std::string>& lines);
