#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <system_error>

#include "TempDir.h"

namespace {
TIniFile FromText(std::string_view text) {
    TIniFile ini;
    ini.LoadFromText(text);
    return ini;
}
}  // namespace

TEST(IniFile, SectionsAndKeysIgnoreCase) {
    const TIniFile ini = FromText("[Window]\nWidth=1024\n");
    EXPECT_EQ(ini.ReadInteger("window", "WIDTH", 0), 1024);
    EXPECT_TRUE(ini.ValueExists("WINDOW", "width"));
    EXPECT_FALSE(ini.ValueExists("Window", "Height"));
}

TEST(IniFile, ReadsEveryLineEnding) {
    for (const char* text : {"[A]\r\nx=1\r\ny=2\r\n", "[A]\nx=1\ny=2", "[A]\rx=1\ry=2\r"}) {
        const TIniFile ini = FromText(text);
        EXPECT_EQ(ini.ReadString("A", "x", ""), "1") << text;
        EXPECT_EQ(ini.ReadString("A", "y", ""), "2") << text;
    }
}

TEST(IniFile, TypedReadsFallBackOnBadValues) {
    const TIniFile ini =
        FromText("[S]\nnumber= 42 \nword=abc\nhalf=12x\nempty=\none=1\ntwo=2\ntrue=true\nzero=0\n");
    struct Case {
        const char* key;
        int integer;  // ReadInteger with fallback 7
        bool flag;    // ReadBool with fallback true
    } cases[] = {
        {"number", 42, false}, {"word", 7, false}, {"half", 7, false},
        {"empty", 7, false},   {"one", 1, true},   {"two", 2, false},
        {"true", 7, false},    {"zero", 0, false}, {"missing", 7, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadInteger("S", c.key, 7), c.integer) << c.key;
        EXPECT_EQ(ini.ReadBool("S", c.key, true), c.flag) << c.key;
    }
}

TEST(IniFile, UnknownContentSurvivesARewrite) {
    TIniFile ini = FromText(
        "; written by hand\n"
        "[Other]\n"
        "Keep=me\n"
        "; note\n"
        "Value=a=b\n"
        "[Window]\n"
        "Width=800\n"
        "Extra=x\n");
    ini.WriteInteger("WINDOW", "width", 1024);
    ini.WriteString("Window", "Height", "768");
    ini.WriteString("New", "Key", "v");
    EXPECT_EQ(ini.ToText(),
              "; written by hand\n"
              "\n[Other]\nKeep=me\n; note\nValue=a=b\n"
              "\n[Window]\nWidth=1024\nExtra=x\nHeight=768\n"
              "\n[New]\nKey=v\n");
}

TEST(IniFile, RoundTripThroughAFile) {
    TempDir dir;
    TIniFile ini;
    EXPECT_FALSE(ini.Load(dir / "mavelo.ini"));
    ini.WriteString("File", "CurrentFile", "/music/my list.mvo");
    ini.WriteBool("Window", "StayOnTop", true);
    ini.WriteInteger("Audio", "DriverIndex", -1);
    ini.Save(dir / "mavelo.ini");

    TIniFile again;
    ASSERT_TRUE(again.Load(dir / "mavelo.ini"));
    EXPECT_EQ(again.ReadString("File", "CurrentFile", ""), "/music/my list.mvo");
    EXPECT_TRUE(again.ReadBool("Window", "StayOnTop", false));
    EXPECT_EQ(again.ReadInteger("Audio", "DriverIndex", 0), -1);
    EXPECT_EQ(again.ToText(), ini.ToText());
}

TEST(IniFile, ALineBreakInAValueCannotAddKeys) {
    TIniFile ini;
    ini.WriteString("File", "CurrentFile", "/a\nInjected=1\r\n[Other]");
    const TIniFile again = FromText(ini.ToText());
    EXPECT_FALSE(again.ValueExists("File", "Injected"));
    EXPECT_EQ(again.Sections(), std::vector<std::string>{"File"});
}

TEST(IniFile, SaveFailureThrowsAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("mavelo.ini", "[A]\nx=1\n");
    TIniFile ini;
    ini.WriteString("A", "x", "2");
    EXPECT_THROW(ini.Save(dir / "missing-folder/mavelo.ini"), std::system_error);
    EXPECT_EQ(dir.Read("mavelo.ini"), "[A]\nx=1\n");
}

TEST(IniFile, EraseSectionAndListings) {
    TIniFile ini = FromText("[A]\nx=1\ny=2\n[BrowsePreset_1]\nName=a\n[b]\nz=3\n");
    EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"x", "y"}));
    ini.EraseSection("browsepreset_1");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "b"}));
    ini.DeleteKey("A", "X");
    EXPECT_EQ(ini.ReadSection("A"), std::vector<std::string>{"y"});
}

TEST(IniFile, SectionOrderRulePlacesOldAndNewSections) {
    TIniFile ini = FromText("[Unknown]\nu=1\n[C]\nc=1\n[A]\na=1\n");
    ini.SetSectionOrder([](std::string_view s) {
        return s == "A" ? 0 : s == "B" ? 1 : s == "C" ? 2 : 9;
    });
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "C", "Unknown"}));
    ini.WriteString("B", "b", "1");
    ini.WriteString("Z", "z", "1");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "B", "C", "Unknown", "Z"}));
}
