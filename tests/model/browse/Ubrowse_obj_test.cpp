#include "browse/Ubrowse_obj.h"

#include <gtest/gtest.h>

#include "core/IniFile.h"
#include "core/Ulang.h"

namespace {
TIniFile FromText(std::string_view text) {
    TIniFile ini;
    ini.LoadFromText(text);
    return ini;
}

TBrowseDetailsList LoadedFrom(std::string_view text) {
    TBrowseDetailsList list;
    list.Load(FromText(text));
    return list;
}

// A look that differs from the default in every field.
TBrowseDetails Unusual() {
    TBrowseDetails d;
    d.Width = 230;
    d.Height = 101;
    d.Space = 0;
    d.BackgroundColor = BrowseRgb(1, 2, 3);
    d.PanelColor = BrowseRgb(4, 5, 6);
    d.SelectedPanelColor = BrowseRgb(7, 8, 9);
    d.InSelectionPanelColor = BrowseRgb(10, 11, 12);
    d.PanelBorder = false;
    d.Artist3DColor = BrowseRgb(13, 14, 15);
    d.Album3DColor = BrowseRgb(16, 17, 18);
    d.Year3DColor = BrowseRgb(19, 20, 21);
    d.Artist3D = false;
    d.Album3D = false;
    d.Year3D = false;
    d.ArtistFont = {"DejaVu Sans", 11, BrowseRgb(200, 0, 0), false, true, true};
    d.AlbumFont = {"Liberation Serif", 9, BrowseRgb(0, 200, 0), true, false, true};
    d.YearFont = {"DejaVu Sans Mono", 14, BrowseRgb(0, 0, 200), true, true, false};
    d.SetListBackColor = true;
    return d;
}

class BrowsePresets : public ::testing::Test {
  protected:
    void SetUp() override {
        LangLines().clear();
        CurrentLanguage() = "English";
    }
};
}  // namespace

TEST_F(BrowsePresets, WithoutBrowseSectionOneDefaultEntry) {
    for (const char* text : {"", "[Browse]\nPresetsCount=0\n", "[Browse]\nPresetsCount=-4\n",
                             "[Browse]\nPresetsCount=abc\n"}) {
        SCOPED_TRACE(text);
        const TBrowseDetailsList list = LoadedFrom(text);
        ASSERT_EQ(list.Count(), 1u);
        EXPECT_EQ(list[0].Name, "* Default *");
        EXPECT_EQ(list.Current(), TBrowseDetails{});
        EXPECT_EQ(list.Current().Width, 120);
        EXPECT_EQ(list.Current().Height, 160);
        EXPECT_EQ(list.Current().Space, 4);
        EXPECT_TRUE(list.PresetNames().empty());
    }
}

TEST_F(BrowsePresets, DefaultsAreTheStoredNumbers) {
    const TBrowseDetails d;
    EXPECT_EQ(d.BackgroundColor, 16777215);
    EXPECT_EQ(d.PanelColor, 15658734);
    EXPECT_EQ(d.SelectedPanelColor, 15722193);
    EXPECT_EQ(d.InSelectionPanelColor, 16381422);
    EXPECT_EQ(d.ArtistFont, (TBrowseFont{"MS Sans Serif", 8, 0, true, false, false}));
    EXPECT_EQ(d.YearFont.Name, "Courier New");
    EXPECT_FALSE(d.SetListBackColor);
}

TEST_F(BrowsePresets, SizesOutOfRangeAreCorrected) {
    struct Case {
        const char* keys;
        int width, height, space;
    } cases[] = {
        {"Width=50\nSpace=-3\n", 100, 160, 0},
        {"Width=99\nHeight=100\nSpace=0\n", 100, 100, 0},
        {"Width=-500\nHeight=12\nSpace=50\n", 100, 100, 50},
        {"Width=400\nHeight=399\n", 400, 399, 4},
        {"Width=wide\n", 120, 160, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        const auto list = LoadedFrom(std::string("[Browse]\nPresetsCount=1\n[BrowsePreset_1]\n") +
                                     c.keys);
        EXPECT_EQ(list.Current().Width, c.width);
        EXPECT_EQ(list.Current().Height, c.height);
        EXPECT_EQ(list.Current().Space, c.space);
    }
}

TEST_F(BrowsePresets, NamesOfEntryZeroAndOfUnnamedPresets) {
    const auto list = LoadedFrom(
        "[Browse]\nPresetsCount=3\n"
        "[BrowsePreset_1]\nPresetName=Mine\nWidth=200\n"
        "[BrowsePreset_2]\nPresetName=Dark\n"
        "[BrowsePreset_3]\nWidth=150\n"
        "[BrowsePreset_4]\nPresetName=Beyond the count\n");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0].Name, "* Default *");  // the stored name is not used
    EXPECT_EQ(list.Current().Width, 200);
    EXPECT_EQ(list.PresetNames(), (std::vector<std::string>{"Dark", "Browse mode preset 3"}));
    EXPECT_EQ(list[2].Details.Width, 150);
}

TEST_F(BrowsePresets, NamesFollowTheLanguage) {
    LangLines() = {"Global.DefaultBrowsePreset=* Défaut *", "Global.PresetName=Préréglage"};
    const auto list = LoadedFrom("[Browse]\nPresetsCount=2\n[BrowsePreset_2]\n");
    EXPECT_EQ(list[0].Name, "* Défaut *");
    EXPECT_EQ(list[1].Name, "Préréglage 2");
    LangLines().clear();
}

TEST_F(BrowsePresets, StylesAndFlagsAreOnOnlyForOne) {
    const auto list = LoadedFrom(
        "[Browse]\nPresetsCount=1\n[BrowsePreset_1]\n"
        "ArtistFontBold=0\nAlbumFontItalic=1\nAlbumFontUnderline=2\nYearFontBold=yes\n"
        "PanelBorder=0\nArtist3D=1\nbrowseSetListBackColor=1\nBackgroundColor=255\n");
    const TBrowseDetails& d = list.Current();
    EXPECT_FALSE(d.ArtistFont.Bold);
    EXPECT_TRUE(d.AlbumFont.Italic);
    EXPECT_FALSE(d.AlbumFont.Underline);
    EXPECT_FALSE(d.YearFont.Bold);
    EXPECT_FALSE(d.PanelBorder);
    EXPECT_TRUE(d.Artist3D);
    EXPECT_TRUE(d.SetListBackColor);
    EXPECT_EQ(BrowseRed(d.BackgroundColor), 255);  // 0x00BBGGRR: 255 is pure red
    EXPECT_EQ(BrowseBlue(d.BackgroundColor), 0);
}

TEST_F(BrowsePresets, SaveAndLoadKeepOrderAndEveryField) {
    TBrowseDetailsList list;
    list.Current() = Unusual();
    ASSERT_EQ(list.AddFromCurrent("Zebra"), TBrowsePresetResult::Done);
    list.Current() = TBrowseDetails{};
    ASSERT_EQ(list.AddFromCurrent("Alpha"), TBrowsePresetResult::Done);
    list.Current() = Unusual();
    list.Current().Width = 333;

    TIniFile ini = FromText("[Other]\nKeep=1\n");
    list.Save(ini);
    TBrowseDetailsList again;
    again.Load(ini);

    ASSERT_EQ(again.Count(), 3u);
    EXPECT_EQ(again[0].Name, "* Default *");
    EXPECT_EQ(again.Current(), list.Current());
    EXPECT_EQ(again.PresetNames(), (std::vector<std::string>{"Zebra", "Alpha"}));
    EXPECT_EQ(again[1].Details, Unusual());
    EXPECT_EQ(again[2].Details, TBrowseDetails{});
    EXPECT_EQ(ini.ReadString("Other", "Keep", ""), "1");
    EXPECT_EQ(ini.ReadInteger("BrowsePreset_1", "BackgroundColor", -1), 0x030201);
    EXPECT_EQ(ini.ReadString("BrowsePreset_1", "ArtistFontUnderline", ""), "1");
    EXPECT_EQ(ini.ReadString("BrowsePreset_1", "ArtistFontBold", ""), "0");
}

TEST_F(BrowsePresets, SaveDropsTheSectionsOfDeletedPresets) {
    TBrowseDetailsList list;
    list.AddFromCurrent("one");
    list.AddFromCurrent("two");
    TIniFile ini;
    list.Save(ini);
    ASSERT_TRUE(ini.SectionExists("BrowsePreset_3"));
    ASSERT_EQ(list.Delete(1), TBrowsePresetResult::Done);
    ASSERT_EQ(list.Delete(1), TBrowsePresetResult::Done);
    list.Save(ini);
    EXPECT_EQ(ini.ReadInteger("Browse", "PresetsCount", -1), 1);
    EXPECT_TRUE(ini.SectionExists("BrowsePreset_1"));
    EXPECT_FALSE(ini.SectionExists("BrowsePreset_2"));
    EXPECT_FALSE(ini.SectionExists("BrowsePreset_3"));
}

TEST_F(BrowsePresets, AHugeCountIsCut) {
    const auto list = LoadedFrom("[Browse]\nPresetsCount=2000000000\n");
    EXPECT_EQ(list.Count(), size_t(TBrowseDetailsList::kMaximumPresets));
}

TEST_F(BrowsePresets, PresetCommands) {
    TBrowseDetailsList list;
    list.Current() = Unusual();
    EXPECT_EQ(list.AddFromCurrent("Night"), TBrowsePresetResult::Done);
    // Another letter case is the same name; so is the name of entry 0.
    EXPECT_EQ(list.AddFromCurrent("NIGHT"), TBrowsePresetResult::NameExists);
    EXPECT_EQ(list.AddFromCurrent("* default *"), TBrowsePresetResult::NameExists);
    EXPECT_EQ(list.Count(), 2u);

    // Without a preset named, nothing changes (entry 0 is not a preset).
    for (std::optional<size_t> none : {std::optional<size_t>{}, std::optional<size_t>{0},
                                       std::optional<size_t>{2}}) {
        EXPECT_EQ(list.OverwriteWithCurrent(none), TBrowsePresetResult::NoSelection);
        EXPECT_EQ(list.LoadIntoCurrent(none), TBrowsePresetResult::NoSelection);
        EXPECT_EQ(list.Delete(none), TBrowsePresetResult::NoSelection);
    }
    EXPECT_EQ(list.Count(), 2u);

    list.Current() = TBrowseDetails{};
    EXPECT_EQ(list.LoadIntoCurrent(1), TBrowsePresetResult::Done);
    EXPECT_EQ(list.Current(), Unusual());
    EXPECT_EQ(list[0].Name, "* Default *");

    list.Current().Space = 17;
    EXPECT_EQ(list.OverwriteWithCurrent(1), TBrowsePresetResult::Done);
    EXPECT_EQ(list[1].Details.Space, 17);
    EXPECT_EQ(list[1].Name, "Night");

    EXPECT_EQ(list.Find("night"), std::optional<size_t>(1));
    EXPECT_EQ(list.Delete(1), TBrowsePresetResult::Done);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Current().Space, 17);  // the look in use stays
}
