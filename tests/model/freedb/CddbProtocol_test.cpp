// Requests built from the disc table and the hello; the server's answers
// parsed from canned reply texts (tests/data/cddb).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "freedb/CddbProtocol.h"
#include "freedb/Udiscid.h"

namespace {
std::string Reply(const std::string& name) {
    std::ifstream in(std::string(MAVELO_TEST_DATA) + "/cddb/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_FALSE(text.str().empty()) << name;
    return text.str();
}

std::vector<std::string> Titles(const TDiscDetails& d) {
    std::vector<std::string> titles;
    for (const auto& t : d.Tracks) titles.push_back(t.Title);
    return titles;
}
}  // namespace

TEST(CddbRequests, HelloAndUrls) {
    // Blanks become "_", sent escaped like every other sign: the server reads home_pc.
    EXPECT_EQ(CddbHello("home pc", "my.host"), "home%5Fpc+my%2Ehost+Mavelo+v1%2E00%2E01");
    // Every byte but letters and digits is escaped, a UTF-8 name included.
    EXPECT_EQ(CddbHello("jos\xC3\xA9", "a-b"), "jos%C3%A9+a%2Db+Mavelo+v1%2E00%2E01");

    auto table = BuildDiscTable({180000, 200500, 240250});
    ASSERT_TRUE(table);
    EXPECT_EQ(CddbQueryUrl("http://srv/~cddb/cddb.cgi", *table, "u", "h"),
              "http://srv/~cddb/cddb.cgi?cmd=cddb+query+14026c03+3+0+13500+28537+620"
              "&hello=u+h+Mavelo+v1%2E00%2E01&proto=6");
    EXPECT_EQ(CddbReadUrl("http://srv/cddb.cgi", "rock", "14026c03", "u", "h"),
              "http://srv/cddb.cgi?cmd=cddb+read+rock+14026c03"
              "&hello=u+h+Mavelo+v1%2E00%2E01&proto=6");
    // A category or identifier from the server's answer cannot add or cut off
    // fields of the request.
    EXPECT_EQ(CddbReadUrl("http://srv/cddb.cgi", "ro&cmd=x#ck", "1 2?3", "u", "h"),
              "http://srv/cddb.cgi?cmd=cddb+read+ro%26cmd%3Dx%23ck+1+2%3F3"
              "&hello=u+h+Mavelo+v1%2E00%2E01&proto=6");
}

TEST(CddbQueryReply, MatchLists) {
    struct Case {
        std::string file;
        std::vector<std::string> categories;
        std::string firstTitle;
    } cases[] = {
        {"query_211_inexact.txt", {"rock", "blues"}, "Artist One / First Album"},
        {"query_210_exact.txt", {"rock", "misc", "data"}, "Artist One / First Album"},
        // The single exact match sits on the status line and counts as one.
        {"query_200_single.txt", {"rock"}, "Artist One / First Album"},
        {"query_202_none.txt", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto reply = ParseCddbQueryReply(Reply(c.file));
        EXPECT_FALSE(reply.Refused);
        std::vector<std::string> categories;
        for (const auto& m : reply.Matches) {
            categories.push_back(m.Category);
            EXPECT_EQ(m.DiscId.size(), 8u);
        }
        EXPECT_EQ(categories, c.categories);
        if (!reply.Matches.empty()) {
            EXPECT_EQ(reply.Matches[0].Title, c.firstTitle);
        }
    }
}

TEST(CddbQueryReply, RefusalKeepsTheServersWords) {
    auto reply = ParseCddbQueryReply(Reply("query_500_refused.txt"));
    EXPECT_TRUE(reply.Refused);
    EXPECT_EQ(reply.StatusLine, "500 Unknown application");
    EXPECT_TRUE(reply.Matches.empty());
    // Lines starting with "(" and lines without an identifier are no matches.
    auto odd = ParseCddbQueryReply("211 list\n(comment)\nlonely\nrock 01020304\n.\n");
    ASSERT_EQ(odd.Matches.size(), 1u);
    EXPECT_EQ(odd.Matches[0].Title, "");
}

TEST(CddbReadReply, Records) {
    struct Case {
        std::string file;
        std::string artist, album, year, genre, length;
        std::vector<std::string> durations, titles;
    } cases[] = {
        {"read_basic.txt",
         "Artist One",
         "First Album",
         "1999",
         "Rock",
         "10:00",
         {"3:58", "6:00"},
         {"Opening", "Closing Time"}},
        {"read_split_values.txt",
         "The Orchestra of the Long Name",
         "Symphony No. 9 in D minor, Choral",
         "1824",
         "Classical",
         "5:00",
         {"1:58", "3:00"},
         {"Allegro ma non troppo, un poco maestoso", "Molto vivace"}},
        {"read_no_separator.txt",
         "Greatest Hits",
         "Greatest Hits",
         "2001",
         "Soundtrack",
         "1:35",
         {"1:33"},
         {"Theme"}},
        // No offsets: the titles still make the tracks, of unknown duration.
        {"read_title_with_part.txt",
         "Some Composer",
         "Opus 1 / Part Two",
         "",
         "",
         "",
         {"0:00"},
         {"Only movement"}},
        {"read_title_in_offsets.txt",
         "Band",
         "Record",
         "",
         "",
         "2:00",
         {"1:00", "0:58"},
         {"", "Second"}},
        {"read_utf8.txt", "Кино", "Группа крови", "1988", "Рок", "3:20", {"3:18"}, {"夜の歌"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto reply = ParseCddbReadReply(Reply(c.file));
        ASSERT_FALSE(reply.Refused);
        const auto& d = reply.Details;
        EXPECT_EQ(d.Artist, c.artist);
        EXPECT_EQ(d.Album, c.album);
        EXPECT_EQ(d.Year, c.year);
        EXPECT_EQ(d.Genre, c.genre);
        EXPECT_EQ(d.Length, c.length);
        std::vector<std::string> durations;
        for (const auto& t : d.Tracks) durations.push_back(t.Duration);
        EXPECT_EQ(durations, c.durations);
        EXPECT_EQ(Titles(d), c.titles);
        EXPECT_EQ(d.Entries().size(), 5 + 2 * d.Tracks.size());
    }
}

TEST(CddbReadReply, OddInput) {
    EXPECT_TRUE(ParseCddbReadReply(Reply("read_401_missing.txt")).Refused);
    // Numbers that do not parse count as 0; a length line with text after
    // the number still reads it.
    auto d = ParseCddbReadReply(
                 "210 rock 01020304\n# Track frame offsets:\n#\tabc\n#\t300\n#\n"
                 "# disc LENGTH: 10 secs\nTTITLEx=T\n.\n")
                 .Details;
    EXPECT_EQ(d.Length, "0:10");
    ASSERT_EQ(d.Tracks.size(), 2u);
    EXPECT_EQ(d.Tracks[0].Duration, "0:04");  // 300 frames from 0
    EXPECT_EQ(d.Tracks[0].Title, "T");        // "TTITLEx" is track 0
    EXPECT_EQ(d.Tracks[1].Duration, "0:06");  // 750 - 300 frames
    // Values are cut to 255 bytes, track titles to 1024, never inside a character.
    const std::string longName(300, 'a'), longTitle(1100, 'b');
    auto cut = ParseCddbReadReply("210 rock 01020304\nDTITLE=" + longName + " / x\nTTITLE0=" +
                                  longTitle + "\nDGENRE=" + std::string(254, 'g') +
                                  "\xC3\xA9\n.\n")
                   .Details;
    EXPECT_EQ(cut.Artist.size(), 255u);
    EXPECT_EQ(cut.Tracks[0].Title.size(), 1024u);
    EXPECT_EQ(cut.Genre, std::string(254, 'g'));
}

TEST(CddbReadReply, TrackNumbersBeyondTheRecordNameNoTrack) {
    // Numbers too large for any record are ignored, never taken as track 0.
    auto d = ParseCddbReadReply(
                 "210 rock 01020304\nTTITLE0=One\nTTITLE2147483648=Wrapped\n"
                 "TTITLE99999999999999999999=Huge\nTTITLE256=Beyond\nTTITLE-1=Negative\n"
                 "TTITLE001=Two\n.\n")
                 .Details;
    EXPECT_EQ(Titles(d), (std::vector<std::string>{"One", "Two"}));
}

// A transfer that stops partway (no Content-Length, the connection closed)
// leaves a reply without its closing "." line: none of it counts.
TEST(CddbReplies, CutShortRepliesYieldNothing) {
    const std::string read = Reply("read_basic.txt");
    const std::string query = Reply("query_211_inexact.txt");
    const std::string readWithoutEnd = read.substr(0, read.rfind("\n.") + 1);
    const std::string queryWithoutEnd = query.substr(0, query.rfind("\n.") + 1);
    struct Case {
        std::string name, text;
    } reads[] = {
        {"read without its end", readWithoutEnd},
        {"read cut inside a line", read.substr(0, read.find("DTITLE=") + 12)},
        {"read with the status only", read.substr(0, read.find('\n') + 1)},
        {"no CDDB status", "DTITLE=Cut Artist / Cut Album\n.\n"},
        {"an HTML page", "<html>\n<body>rock 01020304 Not / A match</body>\n</html>\n"},
    };
    for (const auto& c : reads) {
        SCOPED_TRACE(c.name);
        auto reply = ParseCddbReadReply(c.text);
        EXPECT_TRUE(reply.CutShort);
        EXPECT_TRUE(reply.Details.Artist.empty());
        EXPECT_TRUE(reply.Details.Tracks.empty());
        auto asQuery = ParseCddbQueryReply(c.text);
        EXPECT_TRUE(asQuery.Matches.empty());
    }
    auto cutQuery = ParseCddbQueryReply(queryWithoutEnd);
    EXPECT_TRUE(cutQuery.CutShort);
    EXPECT_TRUE(cutQuery.Matches.empty());
    // Whole replies are not cut short; single-line statuses need no end line.
    for (auto name : {"read_basic.txt", "query_211_inexact.txt", "query_200_single.txt",
                      "query_202_none.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ParseCddbReadReply(Reply(name)).CutShort);
        EXPECT_FALSE(ParseCddbQueryReply(Reply(name)).CutShort);
    }
    // Lines after the end are not part of the answer.
    auto trailing = ParseCddbQueryReply(query + "jazz 0f0f0f0f After / The End\n");
    EXPECT_EQ(trailing.Matches.size(), 2u);
}

TEST(CddbReplyText, Utf8OrLatin1) {
    EXPECT_EQ(CddbReplyText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(CddbReplyText("Caf\xE9"), "Caf\xC3\xA9");          // Latin-1 é
    EXPECT_EQ(CddbReplyText("\x93q\x94"), "\xC2\x93q\xC2\x94");  // Latin-1, not Windows-1252
}
