// Covers databases: the file layout, loading damaged files, finding, adding
// album covers and merging with scripted answers of the replacement window.
#include "covers/Ucov_obj.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "CoverFixtures.h"
#include "TempDir.h"
#include "collection/UIo.h"
#include "covers/CoverKey.h"
#include "covers/Ucrc32.h"

namespace {

std::string Int(int32_t v) {
    const uint32_t u = uint32_t(v);
    return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}
std::string Str(const std::string& s) {
    return Int(int32_t(s.size())) + s;
}
std::string CoverEntry(const std::string& title, int32_t year, const std::string& thumb) {
    return Str(title) + Int(year) + Int(Crc32Signed(thumb)) + Int(int32_t(thumb.size()));
}

// Two artists, three covers, thumbnails "AAA", "BB", "C" in entry order.
std::string SampleFile() {
    return Int(1001) + Int(1) + Int(2) +                                        //
           Str("ABBA") + Int(2) + CoverEntry("Arrival", 1976, "AAA") +          //
           CoverEntry("Waterloo", 1974, "BB") +                                 //
           Str("The Beatles") + Int(1) + CoverEntry("Abbey Road", 1969, "C") +  //
           "AAABBC";
}

std::string Load(TCoverDb& db, const std::string& bytes) {
    TLoadSave stream;
    stream.OpenBytes(bytes);
    return db.LoadDb(stream);
}

// Writes the database to memory; the database takes what was written, as
// after a file written safely.
std::string Save(TCoverDb& db) {
    TLoadSave stream;
    stream.OpenWriteToMemory();
    db.Saved(db.SaveDb(stream));
    return stream.Bytes();
}

// Answers the replacement window from a script; records what it was shown.
struct ScriptedWindow {
    struct Step {
        TReplaceAnswer answer;
        bool tick = false;
    };
    std::vector<Step> steps;
    std::vector<bool> warnings;  // answers to the overwrite warning
    std::vector<TReplaceOffer> shown;
    int warningsAsked = 0;
    TReplacePrompts Prompts() {
        return {[this](const TReplaceOffer& offer, bool& all) {
                    shown.push_back(offer);
                    const Step s = steps.at(shown.size() - 1);
                    all = all || s.tick;
                    return s.answer;
                },
                [this](const std::string&) { return warnings.at(size_t(warningsAsked++)); }};
    }
};

TEST(CoverDbFile, LoadsAndWritesTheLayoutByteForByte) {
    TCoverDb db;
    ASSERT_EQ(Load(db, SampleFile()), "");
    EXPECT_EQ(db.Quality, 1);
    ASSERT_EQ(db.Artists.Count(), 2u);
    const TFoundCover waterloo = db.FindCover("abba", "WATERLOO");
    ASSERT_NE(waterloo.Cover, nullptr);
    EXPECT_EQ(waterloo.Artist->Name, "ABBA");
    EXPECT_EQ(waterloo.Cover->Year, 1974);
    EXPECT_EQ(db.CoverBytes(*waterloo.Cover), "BB");
    EXPECT_EQ(db.CoverBytes(*db.FindCover("the-beatles", "Abbey Road!").Cover), "C");
    EXPECT_EQ(Save(db), SampleFile());
}

TEST(CoverDbFile, WritesArtistsAndCoversInKeyOrder) {
    TCoverDb db(0);
    auto add = [&](const std::string& artist, const std::string& title, const std::string& bytes) {
        TArtist* a = db.Artists.Find(CoverKey(artist));
        if (!a) {
            auto made = std::make_unique<TArtist>();
            made->Name = artist;
            a = db.Artists.Add(CoverKey(artist), std::move(made));
        }
        auto cover = std::make_unique<TCover>();
        cover->AlbumTitle = title;
        cover->Offset = int32_t(db.Thumbnails.size());
        cover->Size = int32_t(bytes.size());
        cover->Crc = Crc32Signed(bytes);
        db.Thumbnails += bytes;
        a->Covers.Add(CoverKey(title), std::move(cover));
    };
    add("Zappa", "Zoot", "z");
    add("abba", "Waterloo", "w");
    add("abba", "Arrival", "a");
    const std::string expected = Int(1001) + Int(0) + Int(2) + Str("abba") + Int(2) +
                                 CoverEntry("Arrival", 0, "a") + CoverEntry("Waterloo", 0, "w") +
                                 Str("Zappa") + Int(1) + CoverEntry("Zoot", 0, "z") + "awz";
    EXPECT_EQ(Save(db), expected);
    // The thumbnails now lie in file order.
    EXPECT_EQ(db.Thumbnails, "awz");
    EXPECT_EQ(db.CoverBytes(*db.FindCover("Zappa", "Zoot").Cover), "z");
}

TEST(CoverDbFile, LoadsOddFilesAsThePartsSay) {
    TCoverDb db;
    EXPECT_EQ(Load(db, Int(1001) + Int(0) + Int(0)), "");  // 12 bytes: empty, no message
    EXPECT_TRUE(db.Artists.Empty());

    EXPECT_NE(Load(db, SampleFile().replace(0, 4, Int(1000))), "");  // wrong version
    EXPECT_TRUE(db.Artists.Empty());

    // A second artist with the same key is left out, but its thumbnail
    // still takes its place in the block.
    const std::string twice = Int(1001) + Int(0) + Int(2) + Str("ABBA") + Int(1) +
                              CoverEntry("Arrival", 1, "11") + Str("abba!") + Int(1) +
                              CoverEntry("Gold", 2, "222") + "11222";
    ASSERT_EQ(Load(db, twice), "");
    EXPECT_EQ(db.Artists.Count(), 1u);
    EXPECT_EQ(db.FindCover("ABBA", "Gold").Cover, nullptr);
}

TEST(CoverDbFile, DamagedFilesFailKeepingWhatWasRead) {
    const std::string whole = SampleFile();
    const std::string negative = Int(1001) + Int(0) + Int(1) + Str("A") + Int(1) + Str("T") +
                                 Int(0) + Int(0) + Int(-5) + "xxxxxxxx";
    for (const std::string& bytes :
         {std::string(), whole.substr(0, 30), whole.substr(0, whole.size() - 1), negative}) {
        TCoverDb db;
        EXPECT_THROW(Load(db, bytes), EMyFileError) << bytes.size();
    }
    TCoverDb db;
    EXPECT_THROW(Load(db, whole.substr(0, whole.size() - 1)), EMyFileError);
    EXPECT_EQ(db.Artists.Count(), 2u);  // the entries were read, the block was not
}

TEST(CoverDbFile, WriteKeepsThePreviousLocalFileAsBackup) {
    TempDir dir;
    const std::string path = dir.File("mavelo.cdb", SampleFile());
    TCoverDb db;
    ASSERT_TRUE(ReadCoverDbFile(path, db));
    db.Artists.Remove("abba");
    ASSERT_TRUE(WriteCoverDbFile(path, db, true));
    EXPECT_EQ(dir.Read("mavelo.cdb.bak"), SampleFile());
    TCoverDb again;
    ASSERT_TRUE(ReadCoverDbFile(path, again));
    EXPECT_EQ(again.Artists.Count(), 1u);
    EXPECT_EQ(again.CoverBytes(*again.FindCover("The Beatles", "Abbey Road").Cover), "C");
    // A folder in the way: the write fails and says so.
    EXPECT_FALSE(WriteCoverDbFile(dir.Folder("taken"), db, false));
}

TEST(CoverDbFile, LocalNameIsRecognisedInAnyFolderAndCase) {
    EXPECT_TRUE(IsLocalCoverDbName("/tmp/x/MAVELO.CDB"));
    EXPECT_TRUE(IsLocalCoverDbName("mavelo.cdb"));
    EXPECT_FALSE(IsLocalCoverDbName("/tmp/mavelo.cdb.bak"));
    EXPECT_FALSE(IsLocalCoverDbName("/tmp/other.cdb"));
}

TEST(AddAlbumCover, AddsChecksAndReplacesByKeys) {
    TempDir dir;
    TDirectory catalogue;
    const std::string first = MakeJpeg(300, 300);
    Tm3u& beatles = AddAlbumIn(catalogue, dir, "a", "The Beatles", "Abbey Road", first);
    Tm3u& same = AddAlbumIn(catalogue, dir, "b", "the beatles", "ABBEY ROAD!", first);
    Tm3u& other =
        AddAlbumIn(catalogue, dir, "c", "THE-BEATLES", "abbey road", MakeJpeg(300, 300, 90, 77));
    Tm3u& none = AddAlbumIn(catalogue, dir, "d", "Nobody", "Nothing");

    TCoverDb db(0);
    EXPECT_EQ(db.AddAlbumCover(nullptr, false), 0);
    EXPECT_EQ(db.AddAlbumCover(&none, false), 0);
    EXPECT_EQ(db.AddAlbumCover(&beatles, false), 1);
    EXPECT_EQ(db.AddAlbumCover(&same, true), 0);  // thumbnail made at the next save
    Save(db);
    const TCover& stored = *db.FindCover("The Beatles", "Abbey Road").Cover;
    EXPECT_EQ(stored.Size, int32_t(db.Thumbnails.size()));
    EXPECT_EQ(stored.Crc, Crc32Signed(db.Thumbnails));
    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(db.Thumbnails, w, h));
    EXPECT_EQ(w, 128);

    EXPECT_EQ(db.AddAlbumCover(&same, false), 0);  // the same picture
    TCover* found = nullptr;
    EXPECT_EQ(db.AddAlbumCover(&other, true, &found), 2);
    EXPECT_EQ(found, &stored);
    EXPECT_TRUE(stored.InThumbnails());  // only checked
    EXPECT_EQ(db.AddAlbumCover(&other, false), 2);
    EXPECT_EQ(stored.PicturePath(), other.PictureFile());
    EXPECT_EQ(db.AddAlbumCover(&other, false), 0);  // already waiting
    const int32_t oldCrc = stored.Crc;
    Save(db);
    EXPECT_NE(stored.Crc, oldCrc);
    EXPECT_EQ(stored.AlbumTitle, "Abbey Road");  // title stays as first stored
}

TEST(AddAlbumCover, UnreadablePictureGivesAnEmptyThumbnail) {
    TempDir dir;
    TDirectory catalogue;
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "X", "Y", "not a jpeg");
    TCoverDb db;
    EXPECT_EQ(db.AddAlbumCover(&album, false), 1);
    Save(db);
    const TCover& cover = *db.FindCover("X", "Y").Cover;
    EXPECT_EQ(cover.Size, 0);
    EXPECT_EQ(cover.Crc, 0);
}

class Merge : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Load(local, SampleFile()), "");
        // The other database: ABBA Arrival and Waterloo with other bytes, a new
        // Beatles album, and the same Abbey Road.
        const std::string other =
            Int(1001) + Int(0) + Int(3) + Str("Abba") + Int(2) +
            CoverEntry("ARRIVAL", 1977, "aaa") + CoverEntry("Waterloo", 1975, "bbbb") +
            Str("Beatles, The") + Int(0) + Str("the beatles") + Int(2) +
            CoverEntry("Abbey Road", 1969, "C") + CoverEntry("Help!", 1965, "HH") + "aaabbbbCHH";
        // "Beatles, The" keys as "beatlesthe": an artist without covers.
        ASSERT_EQ(Load(incoming, other), "");
    }
    std::string Bytes(const std::string& artist, const std::string& title) {
        return local.CoverBytes(*local.FindCover(artist, title).Cover);
    }
    TCoverDb local, incoming;
    ScriptedWindow window;
};

TEST_F(Merge, AsksForEachDifferentCoverAndAddsNewOnes) {
    window.steps = {{TReplaceAnswer::No}, {TReplaceAnswer::Yes}};
    EXPECT_EQ(local.MergeDb(incoming, window.Prompts()), 2);  // Waterloo and Help!
    ASSERT_EQ(window.shown.size(), 2u);
    EXPECT_EQ(window.shown[0].Artist, "ABBA");
    EXPECT_EQ(window.shown[0].Album, "Arrival");
    EXPECT_EQ(window.shown[0].Current, "AAA");
    EXPECT_EQ(window.shown[0].Offered, "aaa");
    EXPECT_EQ(Bytes("ABBA", "Arrival"), "AAA");
    EXPECT_EQ(Bytes("ABBA", "Waterloo"), "bbbb");
    EXPECT_EQ(local.FindCover("ABBA", "Waterloo").Cover->Year, 1975);
    EXPECT_EQ(Bytes("The Beatles", "Help"), "HH");
    // Saved twice, the merged thumbnails stay right.
    const std::string saved = Save(local);
    EXPECT_EQ(Save(local), saved);
    TCoverDb reread;
    ASSERT_EQ(Load(reread, saved), "");
    EXPECT_EQ(reread.CoverBytes(*reread.FindCover("abba", "waterloo").Cover), "bbbb");
    EXPECT_EQ(reread.CoverBytes(*reread.FindCover("the beatles", "help").Cover), "HH");
    EXPECT_EQ(reread.CoverBytes(*reread.FindCover("the beatles", "abbey road").Cover), "C");
}

TEST_F(Merge, StopEndsAtOnceKeepingWhatWasDone) {
    window.steps = {{TReplaceAnswer::Stop}};
    EXPECT_EQ(local.MergeDb(incoming, window.Prompts()), 0);
    EXPECT_EQ(Bytes("ABBA", "Arrival"), "AAA");
    EXPECT_EQ(local.FindCover("the beatles", "help").Cover, nullptr);
}

TEST_F(Merge, ApplyForAllWithYesWarnsOnceThenReplacesSilently) {
    window.steps = {{TReplaceAnswer::Yes, true}};
    window.warnings = {true};
    EXPECT_EQ(local.MergeDb(incoming, window.Prompts()), 3);
    EXPECT_EQ(window.shown.size(), 1u);
    EXPECT_EQ(window.warningsAsked, 1);
    EXPECT_EQ(Bytes("ABBA", "Arrival"), "aaa");
    EXPECT_EQ(Bytes("ABBA", "Waterloo"), "bbbb");
}

TEST_F(Merge, NoToTheWarningEndsTheMerge) {
    window.steps = {{TReplaceAnswer::Yes, true}};
    window.warnings = {false};
    EXPECT_EQ(local.MergeDb(incoming, window.Prompts()), 0);
    EXPECT_EQ(Bytes("ABBA", "Arrival"), "AAA");
}

TEST_F(Merge, ApplyForAllWithNoKeepsEveryCoverWithoutAsking) {
    window.steps = {{TReplaceAnswer::No, true}};
    EXPECT_EQ(local.MergeDb(incoming, window.Prompts()), 1);  // only Help! is new
    EXPECT_EQ(window.shown.size(), 1u);
    EXPECT_EQ(window.warningsAsked, 0);
    EXPECT_EQ(Bytes("ABBA", "Waterloo"), "BB");
}

}  // namespace
