#include "views/OpticalMedia.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "views/Catalogue.h"

namespace {
// One line of a mountinfo table; blanks in the mount point are escaped.
std::string MountLine(int id, std::string mountPoint, const std::string& fsType,
                      const std::string& device) {
    for (size_t at; (at = mountPoint.find(' ')) != std::string::npos;)
        mountPoint.replace(at, 1, "\\040");
    return std::to_string(id) + " 1 8:1 / " + mountPoint + " ro,relatime - " + fsType + " " +
           device + " ro\n";
}

// The disc's scan run to its end on this thread.
std::unique_ptr<TDirectory> ScanMediumNow(const std::string& root, bool prescan) {
    TMediumScan scan(root, prescan);
    scan.Job().Run();
    TScanResult result;
    return scan.Finish(result);
}

class OpticalMediaTest : public ::testing::Test {
  protected:
    std::string Table(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line;
        return dir.File("mountinfo", text);
    }

    TempDir dir;
};
}  // namespace

TEST_F(OpticalMediaTest, OnlyIso9660AndUdfMountsAreMedia) {
    const std::string table = Table({MountLine(1, "/", "ext4", "/dev/sda1"),
                                     MountLine(2, "/media/My Disc", "iso9660", "/dev/sr0"),
                                     MountLine(3, "/media/dvd", "udf", "/dev/sr1"),
                                     MountLine(4, "/mnt/usb", "vfat", "/dev/sdb1")});
    EXPECT_EQ(ListOpticalMedia(table), (std::vector<TOpticalMedium>{{"/media/My Disc", "/dev/sr0"},
                                                                    {"/media/dvd", "/dev/sr1"}}));
    EXPECT_TRUE(ListOpticalMedia(dir / "no-table").empty());
}

TEST_F(OpticalMediaTest, ReadyMediumHasEntriesInItsRoot) {
    const std::string empty = dir.Folder("empty");
    const std::string full = dir.Folder("full");
    dir.File("full/track.mp3", "");
    const std::vector<TOpticalMedium> media = {{empty, "/dev/sr0"}, {full, "/dev/sr1"}};
    EXPECT_EQ(FindReadyMedium(media)->MountPoint, full);
    EXPECT_EQ(FindReadyMedium(media, empty), std::nullopt);
    EXPECT_EQ(FindReadyMedium(media, full)->Device, "/dev/sr1");
    EXPECT_EQ(FindReadyMedium({{dir / "gone", "/dev/sr2"}}), std::nullopt);
}

TEST_F(OpticalMediaTest, AutoLaunchListsDecideHowADiscOpens) {
    const std::string root = dir.Folder("disc");
    EXPECT_EQ(PlanCdOpening(root).action, TCdOpening::ScanMedium);

    dir.File("disc/cat.cmo", "");
    dir.File("disc/notes.mvo", "");
    dir.Folder("disc/folder.cmo");
    dir.File("disc/sub/deep.cmo", "");
    TCdPlan plan = PlanCdOpening(root);
    EXPECT_EQ(plan.action, TCdOpening::LoadList);
    EXPECT_EQ(plan.lists, std::vector<std::string>{root + "/cat.cmo"});

    dir.File("disc/OTHER.CMO", "");
    plan = PlanCdOpening(root);
    EXPECT_EQ(plan.action, TCdOpening::ChooseList);
    EXPECT_EQ(plan.lists, (std::vector<std::string>{root + "/OTHER.CMO", root + "/cat.cmo"}));
}

TEST_F(OpticalMediaTest, AScannedMediumReplacesTheCatalogueOnlyWhenItHoldsAlbums) {
    TCatalogue catalogue;
    catalogue.CurrentFile = "/lists/old.mvo";
    catalogue.Roots.Add("/music");
    auto old = std::make_unique<Tm3u>("/music/old.m3u");
    Tm3u* oldAlbum = old.get();
    catalogue.Directory.List.Add("/music/old.m3u", std::move(old));
    catalogue.Selections.Create("Kept");
    catalogue.Selections.Find("Kept")->Add(oldAlbum);

    const std::string blank = dir.Folder("blank");
    EXPECT_FALSE(AdoptScannedMedium(catalogue, ScanMediumNow(blank, false), blank));
    EXPECT_EQ(catalogue.Albums().Count(), 1u);
    EXPECT_EQ(catalogue.CurrentFile, "/lists/old.mvo");

    const std::string disc = dir.Folder("disc");
    dir.File("disc/Album/list.m3u", "1.mp3\n");
    dir.File("disc/Album/1.mp3", "");
    EXPECT_TRUE(AdoptScannedMedium(catalogue, ScanMediumNow(disc, true), disc));
    ASSERT_EQ(catalogue.Albums().Count(), 1u);
    EXPECT_EQ(catalogue.Albums().Key(0), disc + "/Album/list.m3u");
    EXPECT_EQ(catalogue.Roots.Folders(), std::vector<std::string>{disc});
    EXPECT_EQ(catalogue.CurrentFile, "");
    EXPECT_TRUE(catalogue.ListModified);
    ASSERT_NE(catalogue.Selections.Find("Kept"), nullptr);
    EXPECT_EQ(catalogue.Selections.Find("Kept")->Count(), 0u);
}

TEST_F(OpticalMediaTest, WatcherReportsEachNewMountOnce) {
    const std::string cd1 = MountLine(2, "/media/cd1", "iso9660", "/dev/sr0");
    const std::string cd2 = MountLine(3, "/media/cd2", "udf", "/dev/sr1");
    const std::string disk = MountLine(1, "/", "ext4", "/dev/sda1");
    const std::string table = Table({disk, cd1});
    TMediaWatcher watcher(table);
    EXPECT_TRUE(watcher.PollNewMedia().empty()) << "media present at start are no arrivals";

    Table({disk, cd1, cd2, MountLine(5, "/mnt/usb", "vfat", "/dev/sdb1")});
    EXPECT_EQ(watcher.PollNewMedia(), (std::vector<TOpticalMedium>{{"/media/cd2", "/dev/sr1"}}));
    EXPECT_TRUE(watcher.PollNewMedia().empty());

    Table({disk, cd2});  // cd1 ejected
    EXPECT_TRUE(watcher.PollNewMedia().empty());
    Table({disk, cd2, cd1});  // and inserted again
    EXPECT_EQ(watcher.PollNewMedia(), (std::vector<TOpticalMedium>{{"/media/cd1", "/dev/sr0"}}));
}
