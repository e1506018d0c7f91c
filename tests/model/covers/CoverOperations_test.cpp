// The covers operations as a whole: a database that stops partway stops
// every operation with the file named and is never written back; a write
// that fails leaves the database and the file as they were.
#include "covers/CoverOperations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "CoverFixtures.h"
#include "TempDir.h"
#include "core/Progress.h"
#include "covers/Ucov_obj.h"

namespace {

class CoverOperations : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            AddAlbumIn(catalogue, dir, "p" + std::to_string(i), "Artist " + std::to_string(i),
                       "Album", MakeJpeg(200, 200, 90, uint8_t(40 + 60 * i)));
        TProgress progress;
        ASSERT_TRUE(ExportAllCoversToFile(catalogue, local, 0, progress));
        std::filesystem::resize_file(local, std::filesystem::file_size(local) - 10);
        damaged = dir.Read("mavelo.cdb");
    }

    TempDir dir;
    TDirectory catalogue;
    std::string local = dir / "mavelo.cdb";
    std::string damaged;
};

TEST_F(CoverOperations, DamagedDatabaseStopsEveryOperationNamingIt) {
    TProgress progress;
    const auto exported =
        ExportCoversToDbFile(catalogue, local, 0, TOtherVersion::Rebuild, {}, progress);
    ASSERT_FALSE(exported);
    EXPECT_EQ(exported.Failure().file, local);
    EXPECT_EQ(exported.Failure().Text(),
              "Could not read file " + local + ": the file is damaged: it stops partway");

    const auto imported = ImportCoversFromDbFile(catalogue, local, 0, {}, {}, progress);
    ASSERT_FALSE(imported);
    EXPECT_EQ(imported.Failure().file, local);

    TCoverDb mine;
    const std::string mineFile = dir / "mine.cdb";
    ASSERT_TRUE(WriteCoverDbFile(mineFile, mine, false));
    const std::string mineBytes = dir.Read("mine.cdb");
    const auto merged = MergeCoverDbFile(mine, mineFile, local, {}, progress);
    ASSERT_FALSE(merged);
    EXPECT_EQ(merged.Failure().file, local);
    EXPECT_EQ(dir.Read("mine.cdb"), mineBytes);

    // Nothing was written: no backup either.
    EXPECT_EQ(dir.Read("mavelo.cdb"), damaged);
    EXPECT_FALSE(std::filesystem::exists(local + ".bak"));
    // And nothing of it was kept in memory.
    TCoverDb read;
    EXPECT_FALSE(ReadCoverDbFile(local, read));
    EXPECT_TRUE(read.Artists.Empty());
}

TEST_F(CoverOperations, FailedWriteLeavesTheDatabaseAsItWas) {
    TCoverDb db;
    ASSERT_EQ(db.AddAlbumCover(&catalogue.List[0], false), 1);  // waits for its thumbnail
    const std::string blocked = dir.Folder("blocked.cdb");    // a folder in the way
    ASSERT_FALSE(WriteCoverDbFile(blocked, db, false));
    const TCover& cover = *db.FindCover("Artist 0", "Album").Cover;
    EXPECT_EQ(cover.PicturePath(), catalogue.List[0].PictureFile());
    EXPECT_TRUE(db.Thumbnails.empty());
    // Written where it can be, the cover takes its thumbnail.
    ASSERT_TRUE(WriteCoverDbFile(dir / "ok.cdb", db, false));
    EXPECT_TRUE(cover.InThumbnails());
    EXPECT_EQ(size_t(cover.Size), db.Thumbnails.size());
    EXPECT_GT(cover.Size, 0);
}

TEST_F(CoverOperations, ExportRefusesOrRebuildsAFileOfAnotherVersion) {
    const std::string old = dir.File("old.cdb", std::string("\xe8\x03\0\0\0\0\0\0\0\0\0\0", 12));
    TProgress progress;
    const auto refused = ExportCoversToDbFile(catalogue, old, 0, TOtherVersion::Refuse, {}, progress);
    ASSERT_FALSE(refused);
    EXPECT_EQ(dir.Read("old.cdb").size(), 12u);
    const auto rebuilt = ExportCoversToDbFile(catalogue, old, 0, TOtherVersion::Rebuild, {}, progress);
    ASSERT_TRUE(rebuilt);
    EXPECT_TRUE(rebuilt->StartedEmpty);
    EXPECT_FALSE(rebuilt->VersionMessage.empty());
    EXPECT_EQ(rebuilt->Count, 3);
    TCoverDb read;
    ASSERT_TRUE(ReadCoverDbFile(old, read));
    EXPECT_EQ(read.CoverCount(), 3u);
}

TEST_F(CoverOperations, ExportAskedToStopWritesNothing) {
    TProgress stopped;
    stopped.Cancel();
    EXPECT_FALSE(ExportAllCoversToFile(catalogue, dir / "new.cdb", 0, stopped));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.cdb"));
    TProgress progress;
    ASSERT_TRUE(ExportAllCoversToFile(catalogue, dir / "good.cdb", 0, progress));
    const std::string before = dir.Read("good.cdb");
    dir.File("p0/list.jpg", MakeJpeg(300, 300, 90, 250));
    EXPECT_FALSE(
        ExportCoversToDbFile(catalogue, dir / "good.cdb", 0, TOtherVersion::Rebuild, {}, stopped));
    EXPECT_EQ(dir.Read("good.cdb"), before);
}

TEST_F(CoverOperations, ImportKeepsExistingPicturesOrCopiesThemFirst) {
    // A good database of the pictures, then every album gets another picture.
    TProgress progress;
    const std::string db = dir / "good.cdb";
    ASSERT_TRUE(ExportAllCoversToFile(catalogue, db, 0, progress));
    const std::string other = MakeJpeg(300, 300, 90, 250);
    for (size_t i = 0; i < 3; ++i) dir.File("p" + std::to_string(i) + "/list.jpg", other);

    TImportScope keep;
    keep.Existing = TExistingPicture::Keep;
    const auto kept = ImportCoversFromDbFile(catalogue, db, 0, keep, {}, progress);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Count, 0);
    EXPECT_EQ(kept->Kept, 3);
    EXPECT_EQ(dir.Read("p0/list.jpg"), other);

    TImportScope copy;
    copy.Existing = TExistingPicture::ReplaceKeepingCopy;
    const auto replaced = ImportCoversFromDbFile(catalogue, db, 0, copy, {}, progress);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->Count, 3);
    EXPECT_EQ(dir.Read("p0/list.jpg.bak"), other);
    EXPECT_NE(dir.Read("p0/list.jpg"), other);
}

}  // namespace
