#include "views/SortKey.h"

#include <gtest/gtest.h>

#include "collection/Um3u_obj.h"

namespace {
std::string Pad(const std::string& text, size_t width, size_t characters = 0) {
    return text + std::string(width - (characters ? characters : text.size()), ' ');
}

Tm3u Album(const std::string& artist, const std::string& genre, const std::string& title,
           int year) {
    Tm3u album("/m/a.m3u");
    album.Artist = artist;
    album.Genre = genre;
    album.Album = title;
    album.Year = year;
    return album;
}

const std::string kArtist = Pad("abba", 50);
const std::string kGenre = Pad("pop", 30);
const std::string kTitle = Pad("gold", 50);
}  // namespace

TEST(SortKeyText, OrdersPartsAsTheSortStringSays) {
    const Tm3u album = Album("ABBA", "Pop", "Gold", 1992);
    struct Case {
        const char* sortString;
        bool yearAsc;
        std::string key;
    } cases[] = {
        {"AYG", false, kArtist + "3008" + kGenre + kTitle},
        {"AYG", true, kArtist + "1992" + kGenre + kTitle},
        {"AGY", false, kArtist + kGenre + "3008" + kTitle},
        {"YAG", false, "3008" + kArtist + kGenre + kTitle},
        {"YGA", false, "3008" + kGenre + kArtist + kTitle},
        {"GAY", false, kGenre + kArtist + "3008" + kTitle},
        {"GYA", false, kGenre + "3008" + kArtist + kTitle},
        // Anything but the six orders builds the body in the order AYG.
        {"GA", false, kArtist + "3008" + kGenre + kTitle},
        {"XYZ", false, kArtist + "3008" + kGenre + kTitle},
        {"", true, kArtist + "1992" + kGenre + kTitle},
    };
    for (const auto& c : cases) {
        TSortSettings settings{c.sortString, c.yearAsc};
        EXPECT_EQ(SortKeyText(album, settings), c.key) << c.sortString << " " << c.yearAsc;
    }
}

TEST(SortKeyText, YearPartAndFixedWidths) {
    const TSortSettings descending{"AYG", false}, ascending{"AYG", true};
    const std::string empty50(50, ' '), empty30(30, ' ');
    EXPECT_EQ(SortKeyText(Album("", "", "", 0), descending), empty50 + "5000" + empty30 + empty50);
    EXPECT_EQ(SortKeyText(Album("", "", "", 0), ascending), empty50 + "0" + empty30 + empty50);
    EXPECT_EQ(SortKeyText(Album("", "", "", 1999), descending),
              empty50 + "3001" + empty30 + empty50);

    // Only the first 50 (30) characters take part.
    const std::string longArtist = std::string(50, 'a') + "bcdefghij";
    const std::string longGenre = std::string(35, 'g');
    EXPECT_EQ(SortKeyText(Album(longArtist, longGenre, "", 2000), descending),
              std::string(50, 'a') + "3000" + std::string(30, 'g') + empty50);

    // Characters, not bytes: a multi-byte letter is lower-cased and counts once,
    // and a cut never splits it.
    EXPECT_EQ(SortKeyText(Album("ÉMILE", "", "", 0), ascending),
              Pad("émile", 50, 5) + "0" + empty30 + empty50);
    const std::string accented = std::string(49, 'x') + "ÉÉ";
    EXPECT_EQ(SortKeyText(Album(accented, "", "", 0), ascending),
              std::string(49, 'x') + "é" + "0" + empty30 + empty50);
}

TEST(SortKeyText, ChartsPrefixTheirNumberAndLeaveOutUnplayedAlbums) {
    Tm3u album = Album("ABBA", "Pop", "Gold", 1992);
    const std::string body = kArtist + "3008" + kGenre + kTitle;
    const TSortSettings mostPlayed{"MostPlayed"}, lastPlayed{"LastPlayed"};

    EXPECT_EQ(SortKeyText(album, mostPlayed), std::nullopt);
    EXPECT_EQ(SortKeyText(album, lastPlayed), std::nullopt);

    album.PlayCount = 5;
    album.LastPlayed = "20050612153000";
    EXPECT_EQ(SortKeyText(album, mostPlayed), "999995" + body);
    EXPECT_EQ(SortKeyText(album, lastPlayed), "29949387847000" + body);
    // Charts always use the body order AYG, and honour the year order.
    EXPECT_EQ(SortKeyText(album, TSortSettings{"MostPlayed", true}),
              "999995" + kArtist + "1992" + kGenre + kTitle);
}

TEST(SortStrings, CommandNamesAndTheOrderAfterALoad) {
    struct Case {
        const char* sortString;
        bool isCommand;
        const char* afterLoad;
    } cases[] = {
        {"AYG", true, "AYG"},        {"GYA", true, "GYA"},  {"MostPlayed", true, "AYG"},
        {"LastPlayed", true, "AYG"}, {"ayg", false, "AYG"}, {"XYZ", false, "AYG"},
        {"", false, "AYG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSortCommandString(c.sortString), c.isCommand) << c.sortString;
        EXPECT_EQ(SortStringAfterLoad(c.sortString), c.afterLoad) << c.sortString;
    }
}
