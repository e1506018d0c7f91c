#include "tags/WMAfile.h"

#include <gtest/gtest.h>

#include <vector>

#include "TagTestFiles.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

namespace {

// ASF header objects, built the way the format stores them.
std::string Guid(uint32_t a, uint16_t b, uint16_t c, uint64_t d) {
    std::string g;
    AppendLE(g, a, 4);
    AppendLE(g, b, 2);
    AppendLE(g, c, 2);
    AppendBE(g, static_cast<uint32_t>(d >> 32), 4);
    AppendBE(g, static_cast<uint32_t>(d), 4);
    return g;
}

std::string Object(const std::string& guid, const std::string& body) {
    std::string o = guid;
    AppendLE(o, 24 + body.size(), 8);
    return o + body;
}

std::string Wide(const std::string& text) {
    return Utf8ToUtf16LE(text) + std::string(2, '\0');
}

std::string FileProperties(uint32_t maxBitRate) {
    std::string body(76, '\0');
    AppendLE(body, maxBitRate, 4);
    return Object(Guid(0x8CABDCA1, 0xA947, 0x11CF, 0x8EE400C00C205365), body);
}

std::string AudioStream(uint32_t channels, uint32_t sampleRate, uint32_t bytesPerSecond) {
    std::string body = Guid(0xF8699E40, 0x5B4D, 0x11CF, 0xA8FD00805F5C442B) + std::string(38, '\0');
    AppendLE(body, 0x161, 2);
    AppendLE(body, channels, 2);
    AppendLE(body, sampleRate, 4);
    AppendLE(body, bytesPerSecond, 4);
    body += std::string(6, '\0');
    return Object(Guid(0xB7DC0791, 0xA9B7, 0x11CF, 0x8EE600C00C205365), body);
}

std::string ContentDescription(const std::string& title, const std::string& author) {
    std::string body;
    for (const std::string* s : {&title, &author}) AppendLE(body, Wide(*s).size(), 2);
    body += std::string(6, '\0');
    return Object(Guid(0x75B22633, 0x668E, 0x11CF, 0xA6D900AA0062CE6C),
                  body + Wide(title) + Wide(author));
}

struct Descriptor {
    std::string name;
    int type;
    std::string value;  // raw bytes
};

std::string ExtendedDescription(const std::vector<Descriptor>& descriptors) {
    std::string body;
    AppendLE(body, descriptors.size(), 2);
    for (const auto& d : descriptors) {
        AppendLE(body, Wide(d.name).size(), 2);
        body += Wide(d.name);
        AppendLE(body, d.type, 2);
        AppendLE(body, d.value.size(), 2);
        body += d.value;
    }
    return Object(Guid(0xD2D0A440, 0xE307, 0x11D2, 0x97F000A0C95EA850), body);
}

std::string Asf(const std::vector<std::string>& objects) {
    std::string all;
    for (const auto& o : objects) all += o;
    std::string header = Guid(0x75B22630, 0x668E, 0x11CF, 0xA6D900AA0062CE6C);
    AppendLE(header, 30 + all.size(), 8);
    AppendLE(header, objects.size(), 4);
    return header + "\x01\x02" + all;
}

TWMAfile LoadBytes(const std::string& bytes) {
    TMemorySource source(bytes);
    TWMAfile wma;
    EXPECT_TRUE(wma.Load(source));
    return wma;
}

// A plausible stereo stream followed by the given objects.
std::string AsfWithStream(const std::vector<std::string>& objects) {
    std::vector<std::string> all = {FileProperties(64000), AudioStream(2, 44100, 8000)};
    all.insert(all.end(), objects.begin(), objects.end());
    return Asf(all);
}

TEST(WmaRead, FixtureMadeByAnotherWriter) {
    TWMAfile wma;
    ASSERT_TRUE(wma.Load(FixturePath("wma.wma")));
    EXPECT_TRUE(wma.Valid);
    EXPECT_EQ(wma.Title, "Wma title");
    EXPECT_EQ(wma.Artist, "Wma artist");
    EXPECT_EQ(wma.Album, "Wma album");
    EXPECT_EQ(wma.Year, "2003");
    EXPECT_EQ(wma.Genre, "Jazz");
    EXPECT_EQ(wma.Track, 4);
    EXPECT_EQ(wma.Comment, "Wma comment");
    EXPECT_EQ(wma.Channels, 1);
    EXPECT_EQ(wma.SampleRate, 8000);
    EXPECT_EQ(wma.BitRate, 24);
}

TEST(WmaRead, NotAsfAndMissingFiles) {
    TWMAfile wma;
    EXPECT_TRUE(wma.Load(FixturePath("not_asf.wma")));
    EXPECT_FALSE(wma.Valid);
    EXPECT_FALSE(wma.Load(FixturePath("missing.wma")));
}

TEST(WmaRead, StreamValuesAndPlausibility) {
    std::string file = Asf({FileProperties(64000), AudioStream(2, 44100, 8000)});
    file.resize(2400000);
    TWMAfile wma = LoadBytes(file);
    ASSERT_TRUE(wma.Valid);
    EXPECT_DOUBLE_EQ(wma.Duration, 300.0);
    EXPECT_EQ(wma.BitRate, 64);
    EXPECT_FALSE(LoadBytes(Asf({FileProperties(64000), AudioStream(2, 192000, 8000)})).Valid);
    EXPECT_FALSE(LoadBytes(Asf({FileProperties(0), AudioStream(2, 44100, 8000)})).Valid);
    EXPECT_FALSE(LoadBytes(Asf({FileProperties(64000), AudioStream(6, 44100, 8000)})).Valid);
}

TEST(WmaRead, LaterObjectGivesTheTitle) {
    const auto extended = ExtendedDescription({{"WM/Title", 0, Wide("From extended")}});
    const auto content = ContentDescription("From content", "Author");
    EXPECT_EQ(LoadBytes(AsfWithStream({content, extended})).Title, "From extended");
    EXPECT_EQ(LoadBytes(AsfWithStream({extended, content})).Title, "From content");
}

TEST(WmaRead, DescriptorNamesAndTypes) {
    std::string number;
    AppendLE(number, 7, 4);
    TWMAfile wma = LoadBytes(AsfWithStream({ExtendedDescription({
        {"wm/genre", 0, Wide("Rock")},
        {"WM/Track", 3, number},  // a number: skipped
        {"WM/AlbumTitle", 0, Wide("\xC3\x84lbum  ")},
        {"WM/Year", 0, Wide("1999")},
    })}));
    EXPECT_EQ(wma.Genre, "Rock");
    EXPECT_EQ(wma.Track, 0);
    EXPECT_EQ(wma.Album, "\xC3\x84lbum");
    EXPECT_EQ(wma.Year, "1999");
}

TEST(WmaRead, ProAndLosslessRatesKeepTheirTexts) {
    struct Case {
        uint32_t maxBitRate;
        uint32_t bytesPerSecond;
    } cases[] = {{768000, 96000}, {1411200, 176400}, {320000, 40000}};
    for (const auto& c : cases) {
        TWMAfile wma =
            LoadBytes(Asf({FileProperties(c.maxBitRate), AudioStream(2, 44100, c.bytesPerSecond),
                           ContentDescription("Title", "Artist")}));
        EXPECT_TRUE(wma.Valid) << c.maxBitRate;
        EXPECT_EQ(wma.Title, "Title") << c.maxBitRate;
        EXPECT_EQ(wma.BitRate, static_cast<int32_t>(uint64_t{c.bytesPerSecond} * 8 / 1000));
    }
}

TEST(WmaRead, TrackNumberWhereTrackIsAbsent) {
    std::string seven;
    AppendLE(seven, 7, 4);
    struct Case {
        std::vector<Descriptor> descriptors;
        int32_t track;
    } cases[] = {
        {{{"WM/TrackNumber", 3, seven}}, 7},
        {{{"WM/TrackNumber", 0, Wide("9/12")}}, 0},  // not a number
        {{{"WM/TrackNumber", 0, Wide("9")}}, 9},
        {{{"WM/TrackNumber", 3, seven}, {"WM/Track", 0, Wide("4")}}, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadBytes(AsfWithStream({ExtendedDescription(c.descriptors)})).Track, c.track)
            << c.track;
}

TEST(WmaRead, DamagedHeaderEndsTheReading) {
    std::string file = AsfWithStream(
        {ContentDescription("Kept", "A"), ExtendedDescription({{"WM/Genre", 0, Wide("Jazz")}})});
    file.resize(file.size() - 4);  // the last object runs past the end
    TWMAfile wma = LoadBytes(file);
    EXPECT_TRUE(wma.Valid);
    EXPECT_EQ(wma.Title, "Kept");
    EXPECT_EQ(wma.Genre, "");
}

}  // namespace
