#include "collection/Playlist.h"

#include <gtest/gtest.h>

#include "SafeWriteCases.h"
#include "collection/PlaylistFormat.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"

namespace {

struct Entry {
    std::string path;
    int32_t durationMs = -1;  // -1: no length given
    std::string title;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.path << ", " << e.durationMs << ", " << e.title << "}";
}

std::vector<Entry> EntriesOf(const TPlaylistContents& contents) {
    std::vector<Entry> entries;
    for (const auto& e : contents.entries)
        entries.push_back({e.path, e.durationMs.value_or(-1), e.title});
    return entries;
}

struct EntryCase {
    const char* name;
    std::string text;
    std::vector<Entry> expected;
};

TEST(M3uRead, EntryInformationRules) {
    const EntryCase cases[] = {
        {"extinf gives length and title",
         "#EXTM3U\r\n#EXTINF:215,Song A\r\nsong a.mp3\r\n",
         {{"song a.mp3", 215000, "Song A"}}},
        {"negative length discards", "#EXTINF:-1,Stream\nx.mp3\n", {{"x.mp3", -1, ""}}},
        {"zero length discards what was pending",
         "#EXTINF:215,A\n#EXTINF:0,x\ny.mp3\n",
         {{"y.mp3", -1, ""}}},
        {"no length before the comma is no information line",
         "#EXTINF:,Title\nz.mp3\n",
         {{"z.mp3", -1, ""}}},
        {"unreadable length discards", "#EXTINF:abc,T\na.mp3\n", {{"a.mp3", -1, ""}}},
        {"lower-case tag is a comment", "#extinf:100,T\na.mp3\n", {{"a.mp3", -1, ""}}},
        {"length is trimmed", "#EXTINF: 42 ,  T  \na.mp3\n", {{"a.mp3", 42000, "T"}}},
        {"hexadecimal id before the title",
         "#EXTINF:100,0x1F,Real Title\na.mp3\n",
         {{"a.mp3", 100000, "Real Title"}}},
        {"comments between information and path keep it",
         "#EXTINF:100,T\n#@Artist:X\n# note\na.mp3\n",
         {{"a.mp3", 100000, "T"}}},
        {"information is used once",
         "#EXTINF:100,T\na.mp3\nb.mp3\n",
         {{"a.mp3", 100000, "T"}, {"b.mp3", -1, ""}}},
        {"CR, LF and CR LF endings, blanks trimmed, empty lines skipped",
         "  a.mp3  \r\r\nb.mp3\n\n\tc.mp3\r",
         {{"a.mp3", -1, ""}, {"b.mp3", -1, ""}, {"c.mp3", -1, ""}}},
        {"same file twice stays two entries here",
         "a.mp3\na.mp3\n",
         {{"a.mp3", -1, ""}, {"a.mp3", -1, ""}}},
        {"byte order mark is not part of the first line",
         "\xEF\xBB\xBF#EXTM3U\na.mp3\n",
         {{"a.mp3", -1, ""}}},
        {"Windows-1252 text becomes UTF-8",
         "#EXTINF:10,Caf\xE9\r\nCaf\xE9 \x80.mp3\r\n",
         {{"Caf\xC3\xA9 \xE2\x82\xAC.mp3", 10000, "Caf\xC3\xA9"}}},
        {"UTF-8 text is kept",
         "#EXTINF:10,Caf\xC3\xA9\nx.mp3\n",
         {{"x.mp3", 10000, "Caf\xC3\xA9"}}},
        {"huge length does not overflow",
         "#EXTINF:99999999,T\na.mp3\n",
         {{"a.mp3", INT32_MAX, "T"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntriesOf(TM3uPlaylist::Read(c.text)), c.expected) << c.name;
}

TEST(M3uRead, AlbumTags) {
    struct Case {
        const char* text;
        std::string artist, album, genre;
        std::optional<int32_t> year;
    } cases[] = {
        {"#@ARTIST: Band", "Band", "", "", std::nullopt},
        {"#@artist:Band", "Band", "", "", std::nullopt},
        {"#@Artist:AC/DC", "AC/DC", "", "", std::nullopt},  // values are no paths
        {"#@Album:Live\n#@Genre:Rock\n#@Year:1999", "", "Live", "Rock", 1999},
        {"#@year: 19x5", "", "", "", 0},
        {"#@Artist:   \n#@Year:", "", "", "", std::nullopt},  // empty values change nothing
        {"#@Artist:A\n#@Artist:B", "B", "", "", std::nullopt},
    };
    for (const auto& c : cases) {
        TPlaylistContents contents = TM3uPlaylist::Read(c.text);
        EXPECT_EQ(contents.artist, c.artist) << c.text;
        EXPECT_EQ(contents.album, c.album) << c.text;
        EXPECT_EQ(contents.genre, c.genre) << c.text;
        EXPECT_EQ(contents.year, c.year) << c.text;
        EXPECT_TRUE(contents.entries.empty()) << c.text;
    }
}

TPlaylistContents SampleAlbum() {
    TPlaylistContents contents;
    contents.artist = "AC/DC";
    contents.album = "Live";
    contents.genre = "Rock";
    contents.year = 1992;
    contents.entries = {{"/m/A/01 Intro.mp3", 59999, "Intro"},
                        {"/m/A/sub/02.mp3", 1000, ""},
                        {"/elsewhere/03.mp3", 0, "Far & away"}};
    return contents;
}

TEST(M3uWrite, AlbumTagsRelativePathsWholeSecondsAndCrLf) {
    EXPECT_EQ(TM3uPlaylist::Write(SampleAlbum(), "/m/A/"),
              "#EXTM3U\r\n#@Artist:AC/DC\r\n#@Album:Live\r\n#@Genre:Rock\r\n#@Year:1992\r\n"
              "#EXTINF:59,Intro\r\n01 Intro.mp3\r\n"
              "#EXTINF:1,\r\nsub/02.mp3\r\n"
              "#EXTINF:0,Far & away\r\n/elsewhere/03.mp3\r\n");
    TPlaylistContents empty;
    EXPECT_EQ(TM3uPlaylist::Write(empty, "/m/A/"), "#EXTM3U\r\n");
}

TEST(M3uWrite, ReadsBackWhatItWrote) {
    TPlaylistContents read = TM3uPlaylist::Read(TM3uPlaylist::Write(SampleAlbum(), "/m/A/"));
    EXPECT_EQ(read.artist, "AC/DC");
    EXPECT_EQ(read.year, 1992);
    // A zero length is written but, as on reading any file, gives no length.
    EXPECT_EQ(EntriesOf(read), (std::vector<Entry>{{"01 Intro.mp3", 59000, "Intro"},
                                                   {"sub/02.mp3", 1000, ""},
                                                   {"/elsewhere/03.mp3", -1, ""}}));
}

TEST(PlsRead, OnlyFileLinesNameTracks) {
    const EntryCase cases[] = {
        {"numbered and unnumbered file lines",
         "[playlist]\r\nFile3=..\\b.mp3\r\nTitle3=B\r\nLength3=20\r\nfile=x.mp3\r\n"
         "NumberOfEntries=2\r\nVersion=2\r\n",
         {{"..\\b.mp3", -1, ""}, {"x.mp3", -1, ""}}},
        {"case of the key and blanks around the line",
         "  FILE1=/a.mp3  \nFiles\nFileX\nfil=y.mp3\n",
         {{"/a.mp3", -1, ""}}},
        {"value after the first equals sign", "File1=a=b.mp3\n", {{"a=b.mp3", -1, ""}}},
        {"long values are not cut",
         "File1=" + std::string(600, 'x') + "\n",
         {{std::string(600, 'x'), -1, ""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntriesOf(TPlsPlaylist::Read(c.text)), c.expected) << c.name;
}

TEST(PlsWrite, ExactLines) {
    EXPECT_EQ(TPlsPlaylist::Write({}),
              "[playlist]\r\nPlaylistName=Playlist\r\nNumberOfEntries=0\r\nVersion=2\r\n");
    TPlaylistContents contents;
    contents.entries = {{"/m/A/a.mp3", 59999, "Intro"}, {"/m/b.mp3", 0, ""}};
    EXPECT_EQ(TPlsPlaylist::Write(contents),
              "[playlist]\r\nPlaylistName=Playlist\r\n"
              "File1=/m/A/a.mp3\r\nTitle1=Intro\r\nLength1=59\r\n"
              "File2=/m/b.mp3\r\nTitle2=\r\nLength2=0\r\n"
              "NumberOfEntries=2\r\nVersion=2\r\n");
}

TEST(B4sRead, EntriesOfPlaylistElements) {
    const EntryCase cases[] = {
        {"file prefix removed, length in milliseconds",
         R"(<?xml version="1.0"?><WinAmpXML><playlist num_entries="1" label="x">)"
         R"(<entry Playstring="file:C:\a.mp3"><Name>A</Name><Length>201000</Length></entry>)"
         "</playlist></WinAmpXML>",
         {{"C:\\a.mp3", 201000, ""}}},
        {"root name not checked, prefix case folded, value not trimmed",
         R"(<Other><playlist><entry Playstring="FILE: a.mp3"><length>5</length></entry>)"
         R"(<entry><Length>1</Length></entry><entry Playstring="b.mp3"/></playlist></Other>)",
         {{" a.mp3", 5, ""}, {"b.mp3", -1, ""}}},
        {"unreadable length gives zero",
         R"(<W><playlist><entry Playstring="a.mp3"><Length>abc</Length></entry></playlist></W>)",
         {{"a.mp3", 0, ""}}},
        {"only playlist children named exactly",
         R"(<W><Playlist><entry Playstring="a.mp3"/></Playlist><playlist><Entry Playstring="b"/>)"
         R"(</playlist></W>)",
         {}},
        {"not well-formed names no tracks",
         R"(<W><playlist><entry Playstring="a.mp3"/><entry Playstring=)",
         {}},
        {"empty file", "", {}},
        {"Windows-1252 bytes in a UTF-8 document",
         "<W><playlist><entry Playstring=\"Caf\xE9.mp3\"/></playlist></W>",
         {{"Caf\xC3\xA9.mp3", -1, ""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EntriesOf(TB4sPlaylist::Read(c.text)), c.expected) << c.name;
}

TEST(B4sWrite, DocumentStructureAndRoundTrip) {
    TPlaylistContents contents;
    contents.entries = {{"/m/A/Caf\xC3\xA9 & co.mp3", 59999, "Intro <1>"}};
    const std::string xml = TB4sPlaylist::Write(contents);
    EXPECT_EQ(xml.rfind(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)", 0), 0u);
    EXPECT_NE(xml.find(R"(<playlist num_entries="1" label="Playlist">)"), std::string::npos);
    EXPECT_NE(xml.find("<Name>Intro &lt;1&gt;</Name>"), std::string::npos);
    EXPECT_NE(xml.find("<Length>59999</Length>"), std::string::npos);
    EXPECT_EQ(xml.substr(xml.size() - 2), "\r\n");
    EXPECT_EQ(xml.find('\n'), xml.find("\r\n") + 1);  // no bare LF
    EXPECT_EQ(EntriesOf(TB4sPlaylist::Read(xml)),
              (std::vector<Entry>{{"/m/A/Caf\xC3\xA9 & co.mp3", 59999, ""}}));
}

TEST(PlaylistEntry, ResolvedAgainstThePlaylistFolder) {
    const struct {
        const char* entry;
        const char* expected;
    } cases[] = {
        {"song a.mp3", "/m/A/song a.mp3"},
        {"\\a.mp3", "/m/A/a.mp3"},  // a single leading "\" is relative
        {"sub\\b.mp3", "/m/A/sub/b.mp3"},
        {"..\\b.mp3", "/m/A/../b.mp3"},
        {"./c.mp3", "/m/A/./c.mp3"},
        {"/abs/a.mp3", "/abs/a.mp3"},
        {"C:/Music/a.mp3", "C:/Music/a.mp3"},
        {"C:\\Music\\a.mp3", "C:/Music/a.mp3"},
        {"\\\\host\\share\\a.mp3", "//host/share/a.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePlaylistEntry(c.entry, "/m/A/"), c.expected) << c.entry;
}

// An album written back as a playlist of its own format.
TWriterCase PlaylistCase(const std::string& name, TPlaylistType format) {
    return {name,
            [](const std::string& path) {
                std::ofstream(path) << "#EXTM3U\r\nold.mp3\r\n[playlist]\r\nFile1=old.mp3\r\n";
            },
            [format](const std::string& path) {
                Tm3u album(path);
                album.AddTrack(ExtractFilePath(path) + "new.mp3", false);
                return album.WritePlaylist(format) && album.PlaylistPath == path;
            },
            [](const std::string& path) {
                const std::string text = ReadWholeFile(path);
                return text.find("new.mp3") != std::string::npos &&
                       text.find("old.mp3") == std::string::npos;
            }};
}

TEST(PlaylistWrite, EverySafeWriteCaseForEachFormat) {
    CheckSafeWrites({PlaylistCase("album.m3u", TPlaylistType::M3U),
                     PlaylistCase("album.pls", TPlaylistType::PLS),
                     PlaylistCase("album.b4s", TPlaylistType::B4S)});
}

TEST(PlaylistFormatOf, ChoosesByExtensionAndM3uForAnyOther) {
    const struct {
        const char* path;
        TPlaylistType type;
        bool named;
    } cases[] = {
        {"/a/x.m3u", TPlaylistType::M3U, true}, {"/a/x.PLS", TPlaylistType::PLS, true},
        {"/a/x.b4s", TPlaylistType::B4S, true}, {"/a/x.m3u8", TPlaylistType::M3U, false},
        {"/a/xpls", TPlaylistType::M3U, false}, {"/a.pls/x", TPlaylistType::M3U, false},
        {"", TPlaylistType::M3U, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaylistFormatOf(c.path).type, c.type) << c.path;
        EXPECT_EQ(IsPlaylistPath(c.path), c.named) << c.path;
    }
    // Each row is found by its own number, and reads what it writes.
    for (const TPlaylistFormat& format : PlaylistFormats()) {
        EXPECT_EQ(&PlaylistFormatFor(format.type), &format);
        TPlaylistContents contents;
        contents.entries.push_back({"/m/a.mp3", 61000, "A"});
        const TPlaylistContents back = format.read(format.write(contents, "/other/"));
        ASSERT_EQ(back.entries.size(), 1u) << format.extension;
        EXPECT_EQ(back.entries[0].path, "/m/a.mp3") << format.extension;
    }
}

}  // namespace
