// Album records: the values a template sees and their external text form.
#include <gtest/gtest.h>

#include "ExportFixtures.h"
#include "export/ExportAlbum.h"

namespace {
const std::string S(1, kRecordSeparator);

TEST(ExportAlbumTest, EmptyValuesAreBlankAndThePictureFollowsThePlaylist) {
    auto albums = SampleAlbums();
    const TExportAlbum full = MakeExportAlbum(*albums[0]);
    EXPECT_EQ(full.artist, "Ünïcödé Band");
    EXPECT_EQ(full.year, "1999");
    EXPECT_EQ(full.coverPath, "/music/a/Ça va.jpg");
    ASSERT_EQ(full.tracks.size(), 2u);
    EXPECT_EQ(full.tracks[1].title, " ");
    EXPECT_EQ(full.tracks[1].trackPath, "/music/a/02.mp3");

    const TExportAlbum bare = MakeExportAlbum(*albums[1]);
    EXPECT_EQ(AlbumRecordText(bare),
              " " + S + "Lonely" + S + " " + S + " " + S + "/music/b/list.pls" + S + " ");
    EXPECT_TRUE(bare.tracks.empty());
}

TEST(ExportAlbumTest, NegativeYearIsBlankAndB4sPictureIsJpg) {
    auto album = MakeAlbum({"/m/x.b4s", "A", "B", "G", -5, true, {}});
    const TExportAlbum record = MakeExportAlbum(*album);
    EXPECT_EQ(record.year, " ");
    EXPECT_EQ(record.coverPath, "/m/x.jpg");
}

TEST(ExportAlbumTest, RecordTextHasNoSeparatorAfterTheLastField) {
    auto albums = SampleAlbums();
    const std::string text = AlbumRecordText(MakeExportAlbum(*albums[0]));
    EXPECT_EQ(text, "Ünïcödé Band" + S + "Çà va" + S + "Chanson" + S + "1999" + S +
                        "/music/a/Ça va.m3u" + S + "/music/a/Ça va.jpg" + S + "Première" + S +
                        "/music/a/01.mp3" + S + " " + S + "/music/a/02.mp3");
}

// Characters whose UTF-8 form holds the byte 0xA7 ("ç" C3 A7, "§" C2 A7,
// "맧" EB A7 A7) stay whole when the record is read back.
TEST(ExportAlbumTest, ReadingTheRecordNeverSplitsUtf8) {
    struct Case {
        std::string artist, album;
    };
    const Case cases[] = {
        {"Françoise", "ç§ç"},
        {"§", "맧맧"},
        {"end with ç", "§"},
        {"plain", "text"},
    };
    for (const auto& c : cases) {
        TExportAlbum album{c.artist,
                           c.album,
                           "Genre",
                           "2001",
                           "/p/ç.m3u",
                           " ",
                           {{"Garçon", "/p/ç/1.mp3"}, {"§ 2", "/p/2.mp3"}}};
        const TExportAlbum back = ParseAlbumRecord(AlbumRecordText(album));
        EXPECT_EQ(back.artist, c.artist);
        EXPECT_EQ(back.album, c.album);
        EXPECT_EQ(back.playlistPath, "/p/ç.m3u");
        ASSERT_EQ(back.tracks.size(), 2u) << c.artist;
        EXPECT_EQ(back.tracks[0].title, "Garçon");
        EXPECT_EQ(back.tracks[1].trackPath, "/p/2.mp3");
    }
}

TEST(ExportAlbumTest, ShortRecordsReadWithBlanks) {
    const TExportAlbum album = ParseAlbumRecord("Artist" + S + "Album" + S + S + "1990");
    EXPECT_EQ(album.album, "Album");
    EXPECT_EQ(album.genre, " ");
    EXPECT_EQ(album.year, "1990");
    EXPECT_EQ(album.coverPath, " ");
    EXPECT_TRUE(album.tracks.empty());
    const TExportAlbum odd =
        ParseAlbumRecord("a" + S + "b" + S + "c" + S + "d" + S + "e" + S + "f" + S + "Title");
    ASSERT_EQ(odd.tracks.size(), 1u);
    EXPECT_EQ(odd.tracks[0].trackPath, " ");
}
}  // namespace
