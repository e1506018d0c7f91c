#include "views/SortKey.h"

#include <array>
#include <charconv>

#include "collection/Um3u_obj.h"
#include "core/Settings.h"
#include "views/TextCollator.h"

namespace {
const std::array<const char*, 6> kOrders = {"AYG", "AGY", "YAG", "YGA", "GAY", "GYA"};
const char* const kMostPlayed = "MostPlayed";
const char* const kLastPlayed = "LastPlayed";
constexpr int64_t kPlayCountBase = 1000000;
constexpr int64_t kLastPlayedBase = 50000000000000;
constexpr int64_t kYearBase = 5000;

TSortKeyPart TextPart(const std::string& value, size_t width) {
    return {TextPartOf(value, width), width};
}

TSortKeyPart YearPart(int32_t year, bool yearAsc) {
    return {YearPartOf(year, yearAsc), 0};
}

// A stamp "yyyymmddhhnnss" read as one decimal number; 0 when unreadable.
int64_t StampNumber(const std::string& stamp) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(stamp.data(), stamp.data() + stamp.size(), value);
    return error == std::errc() && end == stamp.data() + stamp.size() ? value : 0;
}

}  // namespace

std::string TextPartOf(const std::string& value, size_t width) {
    return FirstCharacters(LowerText(value), width);
}

std::string YearPartOf(int32_t year, bool yearAsc) {
    return std::to_string(yearAsc ? int64_t{year} : kYearBase - year);
}

TSortSettings SortSettingsOf(const TSettings& settings) {
    return {settings.SortString, settings.YearAsc, settings.MostOftenPlayedCount,
            settings.LastPlayedCount};
}

TSortMode SortModeOf(const std::string& sortString) {
    if (sortString == kMostPlayed) return TSortMode::MostPlayed;
    if (sortString == kLastPlayed) return TSortMode::LastPlayed;
    return TSortMode::Order;
}

std::string OrderLetters(const std::string& sortString) {
    for (const char* order : kOrders)
        if (sortString == order) return sortString;
    return kOrders[0];
}

bool IsSortCommandString(const std::string& sortString) {
    return SortModeOf(sortString) != TSortMode::Order || OrderLetters(sortString) == sortString;
}

std::string SortStringAfterLoad(const std::string& sortString) {
    return SortModeOf(sortString) == TSortMode::Order ? OrderLetters(sortString) : kOrders[0];
}

bool SortModeIncludes(const Tm3u& album, TSortMode mode) {
    switch (mode) {
        case TSortMode::MostPlayed:
            return album.PlayCount != 0;
        case TSortMode::LastPlayed:
            return !album.LastPlayed.empty();
        case TSortMode::Order:
            break;
    }
    return true;
}

std::string ChartPrefix(const Tm3u& album, TSortMode mode) {
    switch (mode) {
        case TSortMode::MostPlayed:
            return std::to_string(kPlayCountBase - album.PlayCount);
        case TSortMode::LastPlayed:
            return std::to_string(kLastPlayedBase - StampNumber(album.LastPlayed));
        case TSortMode::Order:
            break;
    }
    return {};
}

std::vector<TSortKeyPart> SortKeyBody(const Tm3u& album, const std::string& letters, bool yearAsc) {
    std::vector<TSortKeyPart> parts;
    parts.reserve(letters.size() + 1);
    for (char letter : letters) {
        switch (letter) {
            case 'A':
                parts.push_back(TextPart(album.Artist, kArtistPartWidth));
                break;
            case 'G':
                parts.push_back(TextPart(album.Genre, kGenrePartWidth));
                break;
            default:
                parts.push_back(YearPart(album.Year, yearAsc));
                break;
        }
    }
    parts.push_back(TextPart(album.Album, kAlbumPartWidth));
    return parts;
}

std::optional<std::vector<TSortKeyPart>> SortKeyParts(const Tm3u& album,
                                                      const TSortSettings& settings) {
    const TSortMode mode = SortModeOf(settings.SortString);
    if (!SortModeIncludes(album, mode)) return std::nullopt;
    std::vector<TSortKeyPart> parts;
    if (mode != TSortMode::Order) parts.push_back({ChartPrefix(album, mode), 0});
    auto body = SortKeyBody(album, OrderLetters(settings.SortString), settings.YearAsc);
    parts.insert(parts.end(), body.begin(), body.end());
    return parts;
}

std::optional<std::string> SortKeyText(const Tm3u& album, const TSortSettings& settings) {
    auto parts = SortKeyParts(album, settings);
    if (!parts) return std::nullopt;
    std::string key;
    for (const auto& part : *parts) {
        key += part.text;
        const size_t length = CharacterCount(part.text);
        if (length < part.width) key.append(part.width - length, ' ');
    }
    return key;
}
