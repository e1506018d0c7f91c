#pragma once
// The sort key of an album in the view list: fixed-width artist, genre and
// album parts and a year part, in the order the sort string names, or a play
// chart (most often played, last played) in front of the "AYG" order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Tm3u;
struct TSettings;

struct TSortSettings {
    std::string SortString = "AYG";  // order letters, "MostPlayed" or "LastPlayed"
    bool YearAsc = false;            // off: newest first
    int MostOftenPlayedCount = 25;
    int LastPlayedCount = 25;
};

// The sort settings of the program's settings.
TSortSettings SortSettingsOf(const TSettings& settings);

enum class TSortMode { Order, MostPlayed, LastPlayed };
TSortMode SortModeOf(const std::string& sortString);

// The three order letters of the key body: the sort string when it is one of
// the six orders of the sort commands, else "AYG".
std::string OrderLetters(const std::string& sortString);
// True for the eight sort strings the sort commands set.
bool IsSortCommandString(const std::string& sortString);
// The sort string to re-run after a list is loaded, created or scanned: a
// chart (or a name no command has) falls back to "AYG".
std::string SortStringAfterLoad(const std::string& sortString);

// Widths of the text parts of a key, in characters.
constexpr size_t kArtistPartWidth = 50;
constexpr size_t kGenrePartWidth = 30;
constexpr size_t kAlbumPartWidth = 50;

// The text of an artist, genre or album part: lower-cased and cut to `width`
// characters (the padding left out).
std::string TextPartOf(const std::string& value, size_t width);
// The year part: the year, or 5000 minus the year when years go newest first.
std::string YearPartOf(int32_t year, bool yearAsc);

// One part of a key: a text cut to its width (lower-cased, padding left out)
// or a decimal number written as text.
struct TSortKeyPart {
    std::string text;
    size_t width = 0;  // 0: the text is a number part and has no padding
};

// Whether the chart of the mode lists the album (every album outside charts).
bool SortModeIncludes(const Tm3u& album, TSortMode mode);
// The chart prefix of an album ("" outside charts): 1000000 minus the play
// count, or 50000000000000 minus the last-played stamp read as a number.
std::string ChartPrefix(const Tm3u& album, TSortMode mode);
// The key body: artist, genre and year parts in the order of the letters
// (see OrderLetters), then the album part.
std::vector<TSortKeyPart> SortKeyBody(const Tm3u& album, const std::string& letters, bool yearAsc);

// The parts of an album's key in comparison order: the chart prefix (if any),
// then the body.  Empty when a chart leaves the album out.
std::optional<std::vector<TSortKeyPart>> SortKeyParts(const Tm3u& album,
                                                      const TSortSettings& settings);
// The key as one text, parts padded with blanks to their widths: what the
// order is defined on.
std::optional<std::string> SortKeyText(const Tm3u& album, const TSortSettings& settings);
