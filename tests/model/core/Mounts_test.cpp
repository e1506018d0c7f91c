#include "core/Mounts.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {
const char* const kMountInfo =
    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "25 22 0:22 / /proc rw,nosuid - proc proc rw\n"
    "40 22 8:3 / /home rw,relatime shared:5 master:2 - ext4 /dev/sda3 rw\n"
    "61 40 11:0 / /home/me/My\\040Disc ro,nosuid,nodev shared:30 - iso9660 /dev/sr0 ro\n"
    "62 22 11:1 / /media/dvd ro - udf /dev/sr1 ro\n"
    "63 22 0:50 / /media/dvd\\134x rw - tmpfs tmpfs rw\n"
    "broken line\n";
}  // namespace

TEST(Mounts, ParsesMountPointsTypesAndSources) {
    const auto table = ParseMountTable(kMountInfo);
    ASSERT_EQ(table.size(), 6u);
    EXPECT_EQ(table[2].mountPoint, "/home");
    EXPECT_EQ(table[2].fsType, "ext4");  // optional fields before "-" skipped
    EXPECT_EQ(table[3].mountPoint, "/home/me/My Disc");
    EXPECT_EQ(table[3].fsType, "iso9660");
    EXPECT_EQ(table[3].source, "/dev/sr0");
    EXPECT_EQ(table[5].mountPoint, "/media/dvd\\x");
}

TEST(Mounts, OpticalFileSystems) {
    EXPECT_TRUE(IsOpticalFileSystem("iso9660"));
    EXPECT_TRUE(IsOpticalFileSystem("udf"));
    EXPECT_FALSE(IsOpticalFileSystem("ext4"));
    EXPECT_FALSE(IsOpticalFileSystem("vfat"));
}

TEST(Mounts, TheLongestMountPointHoldingThePathDecides) {
    const auto table = ParseMountTable(kMountInfo);
    struct Case {
        const char* path;
        const char* mountPoint;
    } cases[] = {
        {"/home/me/My Disc/", "/home/me/My Disc"},
        {"/home/me/My Disc/bin/", "/home/me/My Disc"},
        {"/home/me/My Discs/", "/home"},
        {"/media/dvd", "/media/dvd"},
        {"/media/dvd2/", "/"},
        {"/usr/bin/", "/"},
    };
    for (const auto& c : cases) {
        const MountEntry* mount = MountOf(table, c.path);
        ASSERT_NE(mount, nullptr) << c.path;
        EXPECT_EQ(mount->mountPoint, c.mountPoint) << c.path;
    }
}

TEST(Mounts, RunningFromCd) {
    TempDir dir;
    const std::string table = dir.File("mountinfo", kMountInfo);
    EXPECT_TRUE(RunningFromCd("/home/me/My Disc/mavelo/", table));
    EXPECT_TRUE(RunningFromCd("/media/dvd/", table));
    EXPECT_FALSE(RunningFromCd("/home/me/", table));
    EXPECT_FALSE(RunningFromCd("/media/dvd\\x/", table));
    EXPECT_FALSE(RunningFromCd("/home/me/My Disc/", dir / "no-table"));
}
