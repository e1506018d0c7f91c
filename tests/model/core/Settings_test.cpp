#include "core/Settings.h"

#include <gtest/gtest.h>

#include "core/IniFile.h"
#include "core/Ucommon.h"

namespace {
TIniFile FromText(std::string_view text) {
    TIniFile ini;
    ini.LoadFromText(text);
    return ini;
}

TSettings ReadFrom(std::string_view text) {
    TSettings settings;
    settings.Read(FromText(text));
    return settings;
}
}  // namespace

TEST(Settings, MissingFileGivesTheDefaults) {
    const TSettings s = ReadFrom("");
    EXPECT_TRUE(s.ShowSplashScreen);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 600);
    EXPECT_EQ(s.CurrentPage, 0);
    EXPECT_EQ(s.CurrentLanguage, "English");
    EXPECT_EQ(s.CurrentFile, "");
    EXPECT_EQ(s.SortString, "AYG");
    EXPECT_EQ(s.FreeDB, "http://gnudb.gnudb.org/~cddb/cddb.cgi");
    EXPECT_EQ(s.FreeDBLogin, GetLoginName());
    EXPECT_EQ(s.FreeDBHostName, GetHostNameOrDefault());
    EXPECT_EQ(s.Mavelo, "");
    EXPECT_EQ(s.DriverIndex, -1);
    EXPECT_TRUE(s.WatchFolders);
    EXPECT_TRUE(s.RecentFiles.empty());
}

TEST(Settings, ValuesFollowTheTypeRules) {
    const TSettings s = ReadFrom(
        "[window]\nshowsplashscreen=2\nWidth=abc\nHeight=700\nStayOnTop=1\n"
        "[FILE]\nCurrentFile=/m/a.mvo\nCDAutoScan=yes\n"
        "[Sort]\nSortString=GAY\nYearAsc=1\n");
    EXPECT_FALSE(s.ShowSplashScreen);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 700);
    EXPECT_TRUE(s.StayOnTop);
    EXPECT_EQ(s.CurrentFile, "/m/a.mvo");
    EXPECT_FALSE(s.CDAutoScan);
    EXPECT_EQ(s.SortString, "GAY");
    EXPECT_TRUE(s.YearAsc);
}

TEST(Settings, ChoicesOutsideTheirRangeGiveTheDefault) {
    const TSettings s = ReadFrom(
        "[Window]\nCurrentPage=1\nCurrentPageList=2\nCoverPos=-1\n"
        "[Cache]\nCacheCoversQuality=3\n[Audio]\nVolume=256\nMixerType=7\n"
        "[Tagging]\nDefaultTagging=2\n[FreeDB]\nFreeDBBatchTagging=9\n");
    EXPECT_EQ(s.CurrentPage, 1);
    EXPECT_EQ(s.CurrentPageList, 0);
    EXPECT_EQ(s.CoverPos, 0);
    EXPECT_EQ(s.CacheCoversQuality, 0);
    EXPECT_EQ(s.Volume, 255);
    EXPECT_EQ(s.MixerType, 7);
    EXPECT_EQ(s.DefaultTagging, 2);
    EXPECT_EQ(s.FreeDBBatchTagging, 0);
}

TEST(Settings, ABooleanOtherThanOneIsWrittenBackAsZero) {
    TIniFile ini = FromText("[Window]\nShowSplashScreen=2\n");
    TSettings s;
    s.Read(ini);
    s.Write(ini);
    EXPECT_EQ(ini.ReadString("Window", "ShowSplashScreen", ""), "0");
}

TEST(Settings, RecentFilesReadAllCountedNamesAndSkipEmptyOnes) {
    std::string text = "[MRU]\nCount=9\n";
    for (int i = 0; i < 9; ++i)
        text += "File" + std::to_string(i) + "=/l/" + std::to_string(i) + ".mvo\n";
    EXPECT_EQ(ReadFrom(text).RecentFiles.size(), 9u);

    const TSettings gaps =
        ReadFrom("[MRU]\nCount=4\nFile0=/a.mvo\nFile1=\nFile3=/d.mvo\nFile4=/e.mvo\n");
    EXPECT_EQ(gaps.RecentFiles, (std::vector<std::string>{"/a.mvo", "/d.mvo"}));
}

TEST(Settings, RecentFilesBeyondTheNewCountStayInTheFile) {
    TIniFile ini = FromText("[MRU]\nCount=3\nFile0=/a.mvo\nFile1=/b.mvo\nFile2=/c.mvo\n");
    TSettings s;
    s.Read(ini);
    s.RecentFiles = {"/z.mvo"};
    s.Write(ini);
    EXPECT_EQ(ini.ReadInteger("MRU", "Count", 0), 1);
    EXPECT_EQ(ini.ReadString("MRU", "File0", ""), "/z.mvo");
    EXPECT_EQ(ini.ReadString("MRU", "File2", ""), "/c.mvo");
    EXPECT_EQ(ReadFrom(ini.ToText()).RecentFiles, std::vector<std::string>{"/z.mvo"});
}

TEST(Settings, WriteThenReadKeepsEveryValue) {
    TSettings s;
    s.CurrentFile = "/music/all.mvo";
    s.Width = 1280;
    s.CurrentLanguage = "French";
    s.CacheCoversQuality = 2;
    s.TrackFormat = "%number. %title";
    s.FullScreen = true;
    s.Volume = 100;
    s.LastCheck = 45000;
    s.Log = true;
    s.WatchFolders = false;
    s.Open = false;
    s.RecentFiles = {"/a.mvo", "/b.mvo"};
    s.FreeDBRenameDir = true;
    s.FreeDBBatchTagging = 2;
    TIniFile ini;
    s.Write(ini);
    const TSettings r = ReadFrom(ini.ToText());
    EXPECT_EQ(r.CurrentFile, s.CurrentFile);
    EXPECT_EQ(r.Width, 1280);
    EXPECT_EQ(r.CurrentLanguage, "French");
    EXPECT_EQ(r.CacheCoversQuality, 2);
    EXPECT_EQ(r.TrackFormat, "%number. %title");
    EXPECT_TRUE(r.FullScreen);
    EXPECT_EQ(r.Volume, 100);
    EXPECT_EQ(r.LastCheck, 45000);
    EXPECT_TRUE(r.Log);
    EXPECT_FALSE(r.WatchFolders);
    EXPECT_FALSE(r.Open);
    EXPECT_EQ(r.RecentFiles, s.RecentFiles);
    EXPECT_TRUE(r.FreeDBRenameDir);
    EXPECT_EQ(r.FreeDBBatchTagging, 2);
}

TEST(Settings, FreshFileHasEveryKeyInOrder) {
    TIniFile ini;
    TSettings().Write(ini);
    EXPECT_EQ(ini.Sections(),
              (std::vector<std::string>{"File", "Window", "Cache", "Format", "Sort", "Tips",
                                        "Browse", "Audio", "Internet", "Performance", "Export",
                                        "Tagging", "CoversDB", "MRU", "FreeDB"}));
    EXPECT_EQ(ini.ReadSection("Window").size(), 16u);
    EXPECT_EQ(ini.ReadSection("Window").front(), "ShowSplashScreen");
    EXPECT_EQ(ini.ReadSection("Internet"),
              (std::vector<std::string>{"FreeDB", "FreeDBLogin", "FreeDBHostName", "UseFreeDB",
                                        "Mavelo", "CheckUpdates", "LastCheck"}));
    EXPECT_EQ(ini.ReadSection("Performance"),
              (std::vector<std::string>{"EnablePrescan", "Log", "WatchFolders"}));
}

// Tool bars and browse presets are written by their own code, before or after
// the settings; the file still has every section at its place, and sections
// of other versions are kept at the end.
TEST(Settings, SectionsWrittenByOtherCodeStandAtTheirPlace) {
    TIniFile ini =
        FromText("[FreeDB]\nFreeDBTag=0\n[Future]\nx=1\n[MRU]\nCount=0\n[File]\nCurrentFile=\n");
    ini.WriteInteger("BrowsePreset_0", "Count", 1);
    TSettings().Write(ini);
    ini.WriteInteger("ToolBar", "ToolBarIndex0", 0);
    ini.WriteInteger("BrowsePreset_1", "Count", 1);
    ini.WriteInteger("Browse", "PresetsCount", 2);
    EXPECT_EQ(ini.Sections(),
              (std::vector<std::string>{"File", "Window", "Cache", "Format", "Sort", "Tips",
                                        "BrowsePreset_0", "BrowsePreset_1", "Browse", "Audio",
                                        "Internet", "Performance", "Export", "Tagging", "CoversDB",
                                        "ToolBar", "MRU", "FreeDB", "Future"}));
    EXPECT_EQ(ini.ReadSection("Browse"), (std::vector<std::string>{"FullScreen", "PresetsCount"}));
}

TEST(Settings, SectionRank) {
    EXPECT_LT(SettingsSectionRank("Tips"), SettingsSectionRank("browsepreset_12"));
    EXPECT_LT(SettingsSectionRank("BrowsePreset_3"), SettingsSectionRank("Browse"));
    EXPECT_LT(SettingsSectionRank("FreeDB"), SettingsSectionRank("Other"));
}
