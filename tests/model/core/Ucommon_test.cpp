#include "core/Ucommon.h"

#include <gtest/gtest.h>

#include <system_error>

#include "TempDir.h"

TEST(Ucommon, SafeFileName) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"Live: Part One?", "Live_ Part One_"},
        {"A|B \"C\"", "A_B _C_"},
        {"<a>/b\\c", "_a__b_c"},
        {"Déjà vu * 2.", "Déjà vu * 2."},
        // A leading dot would hide the file from the next scan.
        {"...Of Dots And Dashes - First Light (2001)", "_..Of Dots And Dashes - First Light (2001)"},
        {"../.. - ..", "_._.. - .."},
        {".", "_"},
        {"..", "_."},
        {"A .hidden inside.", "A .hidden inside."},
        // A control byte would split a playlist entry; nothing at all is no name.
        {"Two\nLines\r\t", "Two_Lines__"},
        {"", "_"},
    };
    for (const auto& c : cases) EXPECT_EQ(SafeFileName(c.in), c.out) << c.in;
}

TEST(Ucommon, DupAmpersandsKeeps255BytesAfterEachAmpersand) {
    EXPECT_EQ(DupAmpersands("Rock & Roll"), "Rock && Roll");
    EXPECT_EQ(DupAmpersands("&&"), "&&&&");
    const std::string longPiece(300, 'x');
    EXPECT_EQ(DupAmpersands(longPiece), std::string(255, 'x'));
    // Only 255 bytes follow an ampersand: the second one lies beyond them.
    EXPECT_EQ(DupAmpersands(longPiece + "&" + longPiece + "&y"),
              longPiece + "&&" + std::string(255, 'x'));
    // The 255 bytes after the first one hold the second one and 54 more.
    EXPECT_EQ(DupAmpersands("a&" + std::string(200, 'x') + "&" + longPiece),
              "a&&" + std::string(200, 'x') + "&&" + std::string(54, 'x'));
    // The cut never splits a character.
    EXPECT_EQ(DupAmpersands("&" + std::string(254, 'x') + "é"), "&&" + std::string(254, 'x'));
    EXPECT_EQ(StripAmpersands("&File && more"), "File  more");
}

TEST(Ucommon, TextMatches) {
    struct Case {
        const char* search;
        const char* value;
        bool wordsOnly;
        bool match;
    } cases[] = {
        {"rock & roll", "Roll Rock", true, true},
        {"rock & roll", "Roll Rock", false, false},
        {"rock & roll", "ROCK & ROLL music", false, true},
        {"rock & roll", "rock and roll", false, false},
        {"rock & roll", "rock and roll", true, true},
        {"ock", "Rocks", true, true},
        {"don't", "I Don't Know", true, true},
        {"", "anything", false, false},
        {"& - !", "& - !", true, false},
        {"é", "Été", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextMatches(c.search, c.value, c.wordsOnly), c.match)
            << c.search << " / " << c.value << " words " << c.wordsOnly;
}

TEST(Ucommon, UrlEncode) {
    EXPECT_EQ(UrlEncode("a&b c"), "a%26b+c");
    EXPECT_EQ(UrlEncode("AC/DC"), "AC%2FDC");
    EXPECT_EQ(UrlEncode("é~-_."), "%C3%A9%7E%2D%5F%2E");
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(Ucommon, StrToIntOrZero) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42}, {"  42", 42}, {"42 ", 0}, {"-7", -7},         {"+7", 7},
        {"", 0},    {"abc", 0},   {"4x", 0},  {"99999999999", 0}, {"2147483647", 2147483647}};
    for (const auto& c : cases) EXPECT_EQ(StrToIntOrZero(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(StrToIntDef("bad", 800), 800);
    EXPECT_EQ(IntToStrSafe(-12), "-12");
}

TEST(Ucommon, StripControlCharsKeepsUtf8Whole) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"a\tb\r\nc\x7f", "abc"},
        {"Ü\x01"
         "ber",
         "Über"},
        // U+0081 and U+009D are dropped; U+0080 (0xC2 0x80) and "í" (0xC3 0xAD) stay.
        {"x\xC2\x81y\xC2\x9Dz", "xyz"},
        {"\xC2\x80\xC3\xAD", "\xC2\x80\xC3\xAD"},
        {"日本\x1f語", "日本語"},
    };
    for (const auto& c : cases) EXPECT_EQ(StripControlChars(c.in), c.out);
}

TEST(Ucommon, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\r\n"), (std::vector<std::string_view>{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Ucommon, IndexOfTextAndCaseHelpers) {
    const std::vector<std::string> list{"Rock", "", "Jazz", "rock"};
    EXPECT_EQ(IndexOfText(list, "ROCK"), 0u);
    EXPECT_EQ(IndexOfText(list, ""), 1u);
    EXPECT_FALSE(IndexOfText(list, "Pop").has_value());
    EXPECT_TRUE(SameTextAscii("ÉtÉ abc", "ÉtÉ ABC"));
    EXPECT_FALSE(SameTextAscii("é", "É"));  // only A-Z fold
}

TEST(Ucommon, NamesAreNeverEmpty) {
    EXPECT_FALSE(GetLoginName().empty());
    EXPECT_LE(GetLoginName().size(), 255u);
    EXPECT_FALSE(GetHostNameOrDefault().empty());
    EXPECT_LE(GetHostNameOrDefault().size(), 255u);
}

TEST(Ucommon, CountFoldersSkipsHiddenFoldersAndLinks) {
    TempDir dir;
    dir.Folder("root/a/b/c");
    dir.Folder("root/d");
    dir.Folder("root/.hidden/inside");
    dir.File("root/a/file.mp3", "");
    std::filesystem::create_directory_symlink(dir / "root/a", dir / "root/link");
    EXPECT_EQ(CountFolders(dir / "root"), 5);  // root, a, b, c, d
    EXPECT_EQ(CountFolders(dir / "root/d"), 1);
    EXPECT_EQ(CountFolders(dir / "missing"), 0);
}

TEST(Ucommon, CountPlaylistsWithOrWithoutTrailingSlash) {
    TempDir dir;
    for (const char* name : {"a.m3u", "b.M3U", "c.pls", "d.b4s", ".e.m3u", "f.mp3", "g.m3u8"})
        dir.File(std::string("album/") + name, "");
    dir.Folder("album/folder.m3u");
    dir.File("album/sub/h.m3u", "");
    EXPECT_EQ(CountFiles(dir / "album", "m3u"), 3);
    EXPECT_EQ(CountFiles(dir / "album", "MP3"), 1);
    EXPECT_EQ(CountPlaylists(dir / "album"), 5);
    EXPECT_EQ(CountPlaylists(dir / "album/"), 5);
    EXPECT_EQ(CountPlaylists(dir / "missing"), 0);
}

TEST(Ucommon, GetFileSizeBytes) {
    TempDir dir;
    EXPECT_EQ(GetFileSizeBytes(dir.File("f.bin", std::string(1234, 'x'))), 1234);
    EXPECT_EQ(GetFileSizeBytes(dir.File("empty", "")), 0);
    EXPECT_THROW(GetFileSizeBytes(dir / "missing"), std::system_error);
    EXPECT_THROW(GetFileSizeBytes(dir.Path()), std::system_error);
}

TEST(Ucommon, HelpTopicPages) {
    EXPECT_EQ(HelpTopicPage(1), "list.htm");
    EXPECT_EQ(HelpTopicPage(7), "filter.htm");
    EXPECT_EQ(HelpTopicPage(14), "template.htm");
    EXPECT_EQ(HelpTopicPage(0), "");
    EXPECT_EQ(HelpTopicPage(15), "");
}
