// Album picture files and cached covers: setting, deleting, building and
// caching, and covers taken from the tracks' own tags.
#include "covers/AlbumPicture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "CoverFixtures.h"
#include "TempDir.h"
#include "core/FileSystem.h"
#include "core/Progress.h"
#include "core/PumpEvents.h"
#include "covers/EmbeddedPicture.h"
#include "tags/OggPages.h"
#include "tags/OggVorbis.h"

namespace {

class AlbumPictureTest : public testing::Test {
  protected:
    TempDir dir;
    TDirectory catalogue;
};

TEST_F(AlbumPictureTest, JpegFileIsCopiedByteForByte) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    album.CachedCover = "old";
    const std::string jpeg = MakeJpeg(40, 30);
    const std::string source = dir.File("pictures/cover.jpeg", jpeg);
    EXPECT_EQ(SetPicture(album, PictureFromFile, source), PictureDone);
    EXPECT_EQ(dir.Read("a/list.jpg"), jpeg);
    EXPECT_EQ(album.PictureState, TPictureState::Present);
    EXPECT_TRUE(album.CachedCover.empty());  // the caller marks the list modified
}

TEST_F(AlbumPictureTest, OtherFormatsGoThroughTheConverter) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    const std::string bmp = dir.File("p.bmp", "BM....");
    EXPECT_EQ(SetPicture(album, PictureFromFile, bmp), PictureFileUnreadable);  // no converter
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
    const std::string converted = MakeJpeg(16, 16);
    std::string asked;
    const TPictureConverter convert = [&](const std::string& path) {
        asked = path;
        return converted;
    };
    EXPECT_EQ(SetPicture(album, PictureFromFile, bmp, {}, convert), PictureDone);
    EXPECT_EQ(asked, bmp);
    EXPECT_EQ(dir.Read("a/list.jpg"), converted);
}

TEST_F(AlbumPictureTest, FailuresKeepThePictureStateButDropTheCache) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B", MakeJpeg(20, 20));
    const std::string before = dir.Read("a/list.jpg");
    const struct {
        int kind;
        std::string file, jpeg;
        int result;
    } cases[] = {
        {PictureFromFile, dir / "missing.jpg", "", PictureFileUnreadable},
        {PictureFromFile, dir.File("junk.jpg", "junk"), "", PictureFileUnreadable},
        {PictureFromClipboard, "", "", PictureClipboardEmpty},
        {PictureFromJpeg, "", "not a jpeg", PictureJpegUnreadable},
        {5, "", "", PictureNothingDone},
    };
    for (const auto& c : cases) {
        album.CachedCover = "cached";
        EXPECT_EQ(SetPicture(album, c.kind, c.file, c.jpeg), c.result) << c.kind;
        EXPECT_EQ(album.PictureState, TPictureState::Present);
        EXPECT_TRUE(album.CachedCover.empty());
        EXPECT_EQ(dir.Read("a/list.jpg"), before);
    }
}

TEST_F(AlbumPictureTest, JpegBytesAndClipboardAreWrittenUnchanged) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    for (int kind : {PictureFromJpeg, PictureFromClipboard}) {
        const std::string jpeg = MakeJpeg(10 + kind, 12);
        album.PictureState = TPictureState::Missing;
        EXPECT_EQ(SetPicture(album, kind, {}, jpeg), PictureDone);
        EXPECT_EQ(dir.Read("a/list.jpg"), jpeg);
        EXPECT_EQ(album.PictureState, TPictureState::Present);
    }
}

TEST_F(AlbumPictureTest, DeleteWorksAlsoWhenTheFileIsGone) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B", MakeJpeg(20, 20));
    EXPECT_EQ(SetPicture(album, PictureDelete), PictureDone);
    EXPECT_FALSE(FileExists(dir / "a/list.jpg"));
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
    album.PictureState = TPictureState::Present;
    EXPECT_EQ(SetPicture(album, PictureDelete), PictureDone);
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
}

TEST_F(AlbumPictureTest, DeleteThatFailsIsReportedAndKeepsThePictureState) {
    // A folder (not empty) where the picture file should be cannot be removed.
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    dir.File("a/list.jpg/inside", "x");
    album.PictureState = TPictureState::Present;
    album.CachedCover = "cached";
    TFailure failure;
    EXPECT_EQ(SetPicture(album, PictureDelete, {}, {}, {}, &failure), PictureNotDeleted);
    EXPECT_EQ(album.PictureState, TPictureState::Present);
    EXPECT_TRUE(album.CachedCover.empty());
    EXPECT_EQ(failure.file, dir / "a/list.jpg");
    EXPECT_EQ(failure.reason, "Could not delete file");
    EXPECT_NE(failure.error, 0);
}

TEST_F(AlbumPictureTest, WriteThatFailsIsNotTakenForAnUnreadablePicture) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    dir.File("a/list.jpg/inside", "x");
    TFailure failure;
    EXPECT_EQ(SetPicture(album, PictureFromJpeg, {}, MakeJpeg(20, 20), {}, &failure),
              PictureNotWritten);
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
    EXPECT_EQ(failure.reason, "Could not write file");
    EXPECT_EQ(failure.file, dir / "a/list.jpg");
}

TEST_F(AlbumPictureTest, ThumbnailForShowingLeavesTheAlbumAlone) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B", MakeJpeg(600, 600));
    const std::string shown = MakeAlbumThumbnail(album, {true, 0, false});
    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(shown, w, h));
    EXPECT_EQ(w, 128);
    EXPECT_TRUE(album.CachedCover.empty());
    EXPECT_EQ(MakeAlbumThumbnail(AddAlbumIn(catalogue, dir, "b", "A", "C"), {true, 0, false}), "");
}

TEST_F(AlbumPictureTest, CachedCoverStateAndBuilding) {
    Tm3u& with = AddAlbumIn(catalogue, dir, "a", "A", "B", MakeJpeg(600, 600));
    Tm3u& without = AddAlbumIn(catalogue, dir, "b", "A", "C");
    Tm3u& vanished = AddAlbumIn(catalogue, dir, "c", "A", "D", MakeJpeg(60, 60));
    std::filesystem::remove(dir / "c/list.jpg");
    const TCoverOptions options{true, 0, false};

    EXPECT_EQ(HasCachedCover(with), TCachedCoverState::NotCached);
    EXPECT_EQ(HasCachedCover(without), TCachedCoverState::NotApplicable);
    EXPECT_EQ(HasCachedCover(vanished), TCachedCoverState::NotApplicable);

    EXPECT_TRUE(BuildCachedCover(with, false, options));
    EXPECT_EQ(HasCachedCover(with), TCachedCoverState::Cached);
    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(with.CachedCover, w, h));
    EXPECT_EQ(w, 128);
    EXPECT_FALSE(BuildCachedCover(with, false, {true, 2, false}));  // kept
    EXPECT_TRUE(BuildCachedCover(with, true, {true, 2, false}));    // forced: rebuilt
    ASSERT_TRUE(JpegSize(with.CachedCover, w, h));
    EXPECT_EQ(w, 512);
    EXPECT_FALSE(BuildCachedCover(without, false, options));
    EXPECT_FALSE(BuildCachedCover(vanished, false, options));
}

TEST_F(AlbumPictureTest, CacheAllCoversBuildsOnlyMissingOnesWithProgress) {
    Tm3u& a = AddAlbumIn(catalogue, dir, "a", "A", "1", MakeJpeg(200, 200));
    Tm3u& b = AddAlbumIn(catalogue, dir, "b", "A", "2", MakeJpeg(200, 200));
    AddAlbumIn(catalogue, dir, "c", "A", "3");
    b.CachedCover = "kept";
    EXPECT_EQ(CacheAllCovers(catalogue, {false, 0, true}), 0u);
    EXPECT_TRUE(a.CachedCover.empty());

    TProgress progress;
    std::vector<int64_t> counts;
    SetPumpEventsHook([&] { counts.push_back(progress.Total()); });
    EXPECT_EQ(CacheAllCovers(catalogue, {true, 0, true}, &progress), 1u);
    SetPumpEventsHook({});
    EXPECT_EQ(counts, (std::vector<int64_t>{3, 3, 3}));
    EXPECT_EQ(progress.Done(), 3);
    EXPECT_FALSE(a.CachedCover.empty());
    EXPECT_EQ(b.CachedCover, "kept");
    EXPECT_EQ(CacheAllCovers(catalogue, {true, 0, true}), 0u);

    // Asked to stop, it builds nothing more.
    a.CachedCover.clear();
    TProgress stopped;
    stopped.Cancel();
    EXPECT_EQ(CacheAllCovers(catalogue, {true, 0, true}, &stopped), 0u);
    EXPECT_TRUE(a.CachedCover.empty());
}

TEST_F(AlbumPictureTest, CoverEmbeddedInTheFirstTrackWithoutWritingAFile) {
    Tm3u& album = AddAlbumIn(catalogue, dir, "a", "A", "B");
    dir.File("a/1.mp3", Id3v2WithPicture(MakeJpeg(300, 200)));
    EXPECT_FALSE(BuildCachedCover(album, false, {true, 0, false}));  // setting off
    EXPECT_TRUE(BuildCachedCover(album, false, {true, 0, true}));
    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(album.CachedCover, w, h));
    EXPECT_EQ(w, 128);
    EXPECT_EQ(album.PictureState, TPictureState::Missing);
    EXPECT_FALSE(FileExists(dir / "a/list.jpg"));
    EXPECT_EQ(HasCachedCover(album), TCachedCoverState::NotApplicable);
}

TEST(EmbeddedPicture, PrefersTheFrontCoverAndSkipsOtherFormats) {
    const std::string back = MakeJpeg(8, 8, 90, 10), front = MakeJpeg(8, 8, 90, 200);
    TVorbisComments comments;
    comments.Entries = {"TITLE=x", FlacPictureComment("\x89PNG....", 3),
                        FlacPictureComment(back, 4), FlacPictureComment(front, 3),
                        "METADATA_BLOCK_PICTURE=!!notbase64"};
    EXPECT_EQ(VorbisPicture(comments), front);
    comments.Entries.resize(3);
    EXPECT_EQ(VorbisPicture(comments), back);

    TempDir dir;
    const std::string both = Id3v2WithPicture(back, 4);
    EXPECT_EQ(EmbeddedPicture(dir.File("x.mp3", both)), back);
    EXPECT_EQ(EmbeddedPicture(dir.File("y.mp3", "no tag at all")), "");
    EXPECT_EQ(EmbeddedPicture(dir / "missing.mp3"), "");
}

TEST(EmbeddedPicture, ReadsTheCommentOfAnOggVorbisFile) {
    const std::string jpeg = MakeJpeg(64, 64);
    std::string identification = std::string("\x01vorbis", 7) + std::string(4, '\0');
    identification += '\2';
    identification += std::string("\x44\xAC\0\0", 4) + std::string(12, '\0') + "\xB8\x01";
    TVorbisComments comments;
    comments.Vendor = "test";
    comments.Entries = {"ARTIST=x", FlacPictureComment(jpeg)};
    comments.Tail = "\x01";
    size_t pages = 0;
    const std::string ogg =
        MakeOggPages({identification, BuildVorbisCommentPacket(comments)}, 7, 0, pages);
    TempDir dir;
    EXPECT_EQ(EmbeddedPicture(dir.File("t.ogg", ogg)), jpeg);
}

TEST(EmbeddedPicture, ReadsFlacOpusAndMp4Pictures) {
    // The fixtures carry one picture, the same 704 bytes of JPEG start.
    const std::string tags = std::string(MAVELO_TEST_DATA) + "/tags/";
    const std::string flac = EmbeddedPicture(tags + "flac_picture.flac");
    ASSERT_EQ(flac.size(), 704u);
    EXPECT_EQ(flac.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(EmbeddedPicture(tags + "opus_picture.opus"), flac);
    EXPECT_EQ(EmbeddedPicture(tags + "aac.m4a"), flac);
    for (const char* none : {"flac.flac", "opus.opus", "alac.m4a", "aac_no_tags.m4a"})
        EXPECT_EQ(EmbeddedPicture(tags + none), "") << none;
}

TEST(Base64, DecodesPaddedAndUnpaddedText) {
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {{"", ""},      {"TQ==", "M"},     {"TWE=", "Ma"}, {"TWFu", "Man"},
                 {"TWE", "Ma"}, {"TW\nFu", "Man"}, {"T", ""},      {"T*Fu", ""}};
    for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.text), c.bytes) << c.text;
}

}  // namespace
