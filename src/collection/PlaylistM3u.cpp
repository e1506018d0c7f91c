// M3U: one path a line, "#EXTINF:seconds,title" before a path gives its
// length and title, and the program's own "#@Artist:" "#@Album:" "#@Genre:"
// "#@Year:" lines carry the album values.  Other "#" lines are comments.
#include <algorithm>
#include <climits>

#include "collection/Playlist.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

namespace {

// Length and title of the next path, from an "#EXTINF:" line.
struct TPendingInfo {
    int32_t durationMs = 0;
    std::string title;
};

int32_t SecondsToMs(int seconds) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{seconds} * 1000, INT32_MIN, INT32_MAX));
}

// An information line is "#EXTINF:" (case matters) with its first comma
// after at least one character of length.
bool IsEntryInfoLine(std::string_view line) {
    if (line.substr(0, 8) != "#EXTINF:") return false;
    auto comma = line.find(',');
    return comma != std::string_view::npos && comma >= 9;
}

// A positive length makes the information pending; any other length
// discards what was pending.
std::optional<TPendingInfo> ParseEntryInfo(std::string_view line) {
    auto comma = line.find(',');
    int32_t duration = SecondsToMs(StrToIntOrZero(TrimPlaylistText(line.substr(8, comma - 8))));
    if (duration <= 0) return std::nullopt;
    std::string_view title = TrimPlaylistText(line.substr(comma + 1));
    // Some writers put a hexadecimal id before the title: "0x1F,Real Title".
    if (title.substr(0, 2) == "0x") {
        auto inner = title.find(',');
        if (inner != std::string_view::npos) title = TrimPlaylistText(title.substr(inner + 1));
    }
    return TPendingInfo{duration, std::string(title)};
}

// The value of one of the program's tags ("#@artist:" ...), compared
// without regard to case; nullopt when the line is not that tag.
std::optional<std::string_view> TagValue(std::string_view line, std::string_view tag) {
    if (line.size() < tag.size() || !SameTextAscii(line.substr(0, tag.size()), tag))
        return std::nullopt;
    return TrimPlaylistText(line.substr(tag.size()));
}

void ReadAlbumTag(std::string_view line, TPlaylistContents& contents) {
    // An empty value changes nothing.
    auto take = [&](std::string_view tag, std::string& field) {
        auto value = TagValue(line, tag);
        if (value && !value->empty()) field = std::string(*value);
        return value.has_value();
    };
    if (take("#@album:", contents.album) || take("#@artist:", contents.artist) ||
        take("#@genre:", contents.genre))
        return;
    auto year = TagValue(line, "#@year:");
    if (year && !year->empty()) contents.year = StrToIntOrZero(*year);
}

}  // namespace

TPlaylistContents TM3uPlaylist::Read(std::string_view bytes) {
    TPlaylistContents contents;
    std::optional<TPendingInfo> pending;
    const std::string text = PlaylistTextToUtf8(bytes);
    for (std::string_view raw : SplitPlaylistLines(text)) {
        std::string_view line = TrimPlaylistText(raw);
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (IsEntryInfoLine(line))
                pending = ParseEntryInfo(line);
            else
                ReadAlbumTag(line, contents);
            continue;
        }
        TPlaylistEntry entry{std::string(line), std::nullopt, {}};
        if (pending) {
            entry.durationMs = pending->durationMs;
            entry.title = std::move(pending->title);
            pending.reset();
        }
        contents.entries.push_back(std::move(entry));
    }
    return contents;
}

std::string TM3uPlaylist::Write(const TPlaylistContents& contents, std::string_view folder) {
    std::vector<std::string> lines{"#EXTM3U"};
    if (!contents.artist.empty()) lines.push_back("#@Artist:" + contents.artist);
    if (!contents.album.empty()) lines.push_back("#@Album:" + contents.album);
    if (!contents.genre.empty()) lines.push_back("#@Genre:" + contents.genre);
    if (contents.year.value_or(0) != 0) lines.push_back("#@Year:" + std::to_string(*contents.year));
    for (const auto& entry : contents.entries) {
        lines.push_back("#EXTINF:" + std::to_string(entry.durationMs.value_or(0) / 1000) + "," +
                        entry.title);
        const bool inFolder = !folder.empty() && PathStartsWith(entry.path, folder);
        lines.push_back(inFolder ? entry.path.substr(folder.size()) : entry.path);
    }
    return JoinPlaylistLines(lines);
}
