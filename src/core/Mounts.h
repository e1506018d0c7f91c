#pragma once
// The mount table, to find optical media: a CD/DVD is a mounted iso9660 or
// udf file system and its "drive" is the mount point.
#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
    std::string mountPoint;  // unescaped ("\040" becomes a blank)
    std::string fsType;      // "ext4", "iso9660", ...
    std::string source;      // the mounted device, "/dev/sr0"
};

// Reads a table in the /proc/self/mountinfo format; an unreadable table gives
// no entries.
std::vector<MountEntry> ReadMountTable(const std::string& path = "/proc/self/mountinfo");
// Parses the text of such a table.
std::vector<MountEntry> ParseMountTable(std::string_view text);

bool IsOpticalFileSystem(std::string_view fsType);  // iso9660 or udf

// The entry whose mount point holds `path` (the longest such mount point).
const MountEntry* MountOf(const std::vector<MountEntry>& table, std::string_view path);

// True when the program folder lies on an optical medium: then the settings
// and the play queue are not written at exit.
bool RunningFromCd(const std::string& programFolder,
                   const std::string& mountTablePath = "/proc/self/mountinfo");
