// Text handling shared by the playlist formats: decoding, lines, trimming,
// and resolving entries against the playlist's folder.
#include "collection/Playlist.h"
#include "core/Ucommon.h"
#include "core/Utf8.h"

namespace {

bool IsDriveLetterEntry(std::string_view entry) {
    return entry.size() > 2 && entry[1] == ':';
}

bool IsNetworkEntry(std::string_view entry) {
    return entry.size() > 2 && entry.substr(0, 2) == "\\\\";
}

}  // namespace

std::string PlaylistTextToUtf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return ToUtf8(bytes);
}

std::vector<std::string_view> SplitPlaylistLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

std::string_view TrimPlaylistText(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string JoinPlaylistLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string ResolvePlaylistEntry(std::string_view entry, std::string_view folder) {
    if (IsDriveLetterEntry(entry) || IsNetworkEntry(entry)) return NormalizeSeparators(entry);
    // A single leading "\" was written on Windows for an entry relative to
    // the playlist; a leading "/" is an absolute path here.
    while (!entry.empty() && entry.front() == '\\') entry.remove_prefix(1);
    std::string path = NormalizeSeparators(entry);
    if (!path.empty() && path.front() == '/') return path;
    return std::string(folder) + path;
}
