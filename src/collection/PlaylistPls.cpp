// PLS: an INI-like list whose "FileN=" lines name the tracks.  Titles and
// lengths are written for other players but not read back.
#include "collection/Playlist.h"
#include "core/Ucommon.h"

TPlaylistContents TPlsPlaylist::Read(std::string_view bytes) {
    TPlaylistContents contents;
    const std::string text = PlaylistTextToUtf8(bytes);
    for (std::string_view raw : SplitPlaylistLines(text)) {
        std::string_view line = TrimPlaylistText(raw);
        auto equals = line.find('=');
        // "File3=x", and "file=x" without a number too.
        if (line.size() < 4 || !SameTextAscii(line.substr(0, 4), "file") ||
            equals == std::string_view::npos)
            continue;
        contents.entries.push_back({std::string(line.substr(equals + 1)), std::nullopt, {}});
    }
    return contents;
}

std::string TPlsPlaylist::Write(const TPlaylistContents& contents) {
    std::vector<std::string> lines{"[playlist]", "PlaylistName=Playlist"};
    size_t number = 0;
    for (const auto& entry : contents.entries) {
        const std::string n = std::to_string(++number);
        lines.push_back("File" + n + "=" + entry.path);
        lines.push_back("Title" + n + "=" + entry.title);
        lines.push_back("Length" + n + "=" + std::to_string(entry.durationMs.value_or(0) / 1000));
    }
    lines.push_back("NumberOfEntries=" + std::to_string(contents.entries.size()));
    lines.push_back("Version=2");
    return JoinPlaylistLines(lines);
}
