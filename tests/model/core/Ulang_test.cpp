#include "core/Ulang.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "TempDir.h"
#include "Unprivileged.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Ucommon.h"

namespace {
// Each test gets its own program folder and starts with no language loaded.
class LangTest : public testing::Test {
  protected:
    void SetUp() override {
        InitProgramFolder("", dir_.Path());
        LangLines().clear();
        LangList().clear();
        CurrentLanguage() = "English";
    }
    void UseLines(std::vector<std::string> lines) { LangLines() = std::move(lines); }
    // A language file in the program folder.
    void WriteLanguage(const std::string& name, const std::string& text) {
        dir_.File(name + ".lng", text);
    }

    TempDir dir_;
};
}  // namespace

TEST(LangLineParse, SplitsSectionKeyAndText) {
    struct Case {
        const char* line;
        std::string section;
        std::vector<std::string> elements;
        std::string text;
        bool hasEquals;
    } cases[] = {
        {"FormFilter.LabelArtist.Caption=Artiste",
         "FormFilter",
         {"FormFilter", "LabelArtist", "Caption"},
         "Artiste",
         true},
        {"Global.AreYouSure=Sûr ? a=b.c", "Global", {"Global", "AreYouSure"}, "Sûr ? a=b.c", true},
        {"Global.AreYouSure =x", "Global", {"Global", "AreYouSure "}, "x", true},
        {"Global.Title=", "Global", {"Global", "Title"}, "", true},
        {"FormMain.Caption", "FormMain", {"FormMain", "Caption"}, "", false},
        {" Global.Title=x", " Global", {" Global", "Title"}, "x", true},
        // The section ends at the first "." of the line, even after the "=".
        {"Global=a.b", "Global=a", {"Global"}, "a.b", true},
    };
    for (const auto& c : cases) {
        const LangLine line = ParseLangLine(c.line);
        EXPECT_FALSE(line.isComment) << c.line;
        EXPECT_EQ(line.section, c.section) << c.line;
        EXPECT_EQ(line.elements, c.elements) << c.line;
        EXPECT_EQ(line.text, c.text) << c.line;
        EXPECT_EQ(line.hasEquals, c.hasEquals) << c.line;
    }
    EXPECT_TRUE(ParseLangLine("").isComment);
    EXPECT_TRUE(ParseLangLine("// Global.Title=x").isComment);
    EXPECT_TRUE(ParseLangLine("/Global.Title=x").isComment);
}

TEST(LangLineParse, TextIsCutTo1024BytesWithoutSplittingACharacter) {
    EXPECT_EQ(ParseLangLine("tips.x=" + std::string(1500, 'a')).text, std::string(1024, 'a'));
    // 1023 ASCII bytes and then a two-byte character: the cut falls inside it.
    const std::string text = std::string(1023, 'a') + "é" + "tail";
    EXPECT_EQ(ParseLangLine("tips.x=" + text).text, std::string(1023, 'a'));
}

TEST_F(LangTest, LookupTakesTheFirstExactGlobalLine) {
    UseLines({
        "// comment",
        "global.AreYouSure=lower-case section",
        "Global.AreYouSure =blank before equals",
        "Global.areyousure=other case",
        "Global.AreYouSure.Extra=first",
        "Global.AreYouSure=second",
        "Global.NoEquals",
        "FormMain.AreYouSure=window line",
    });
    EXPECT_EQ(LangText("AreYouSure", "Are you sure ?"), "first");
    EXPECT_EQ(LangText("NoEquals", "default"), "default");
    EXPECT_EQ(LangText("Title", "Mavelo"), "Mavelo");
}

TEST_F(LangTest, DefaultsWhenNoLanguageIsLoaded) {
    EXPECT_EQ(LangText("AreYouSure", "Are you sure ?"), "Are you sure ?");
    EXPECT_EQ(LangText("AreYouSure", "Are your sure ?"), "Are your sure ?");
}

TEST_F(LangTest, TipsAreTheTipsLinesInAnyCase) {
    UseLines({"tips.1=First", "TIPS.2=Second", "Tips=no dot", "tips.3", "/tips.4=comment",
              "Global.Tip=not a tip", "Tips.x=Third = with equals"});
    std::vector<std::string> tips{"old"};
    LoadTips(tips);
    EXPECT_EQ(tips, (std::vector<std::string>{"First", "Second", "Third = with equals"}));
}

TEST_F(LangTest, LoadingReadsEveryLineEndAndSetsTheLanguage) {
    WriteLanguage("Testish", "Global.A=1\r\nGlobal.B=2\nGlobal.C=3\rtips.x=tip\r\n");
    ASSERT_TRUE(LoadLanguageFile("Testish"));
    EXPECT_EQ(CurrentLanguage(), "Testish");
    EXPECT_EQ(LangLines().size(), 4u);
    EXPECT_EQ(LangText("B", ""), "2");
    EXPECT_EQ(LangText("C", ""), "3");
}

TEST_F(LangTest, BytesInMemoryLoadAsAFileDoes) {
    LoadLanguage(TReadSource::Bytes("\xEF\xBB\xBFGlobal.A=1\r\ntips.x=t\xC3\xA9\n"), "Memoryish");
    EXPECT_EQ(CurrentLanguage(), "Memoryish");
    EXPECT_EQ(LangLines().size(), 2u);
    EXPECT_EQ(LangText("A", ""), "1");  // the byte-order mark is no text
    std::vector<std::string> tips;
    LoadTips(tips);
    EXPECT_EQ(tips, std::vector<std::string>{"t\xC3\xA9"});
}

TEST_F(LangTest, MissingFileChangesNothing) {
    WriteLanguage("Testish", "Global.A=1\n");
    ASSERT_TRUE(LoadLanguageFile("Testish"));
    EXPECT_FALSE(LoadLanguageFile("NoSuchLanguage"));
    EXPECT_FALSE(LoadLanguageFile("../Testish"));
    EXPECT_EQ(CurrentLanguage(), "Testish");
    EXPECT_EQ(LangText("A", ""), "1");
}

TEST_F(LangTest, FileInWindows1252IsConverted) {
    WriteLanguage("Oldish", "\xEF\xBB\xBFGlobal.BOM=kept\n");
    ASSERT_TRUE(LoadLanguageFile("Oldish"));
    EXPECT_EQ(LangText("BOM", ""), "kept");
    WriteLanguage("Testish", "Global.Yes=Oui, d\xE9j\xE0 \x80 5\n");
    ASSERT_TRUE(LoadLanguageFile("Testish"));
    EXPECT_EQ(LangText("Yes", ""), "Oui, déjà € 5");
}

TEST_F(LangTest, UnreadableFileThrows) {
    WriteLanguage("Locked", "Global.A=1\n");
    RunUnprivileged({dir_.Path()}, [&] {
        std::filesystem::permissions(dir_ / "Locked.lng", std::filesystem::perms::none);
        EXPECT_THROW(LoadLanguageFile("Locked"), std::system_error);
    });
}

TEST_F(LangTest, ListIsSortedIgnoringCaseWithEachNameOnce) {
    const std::string other = dir_.Folder("other");
    for (int i = 0; i < 30; ++i) {
        const std::string name =
            std::string(1, static_cast<char>((i % 2 ? 'a' : 'A') + (29 - i) % 26)) + "lang" +
            std::to_string(i);
        WriteLanguage(name, "");
    }
    WriteLanguage("deutsch", "");
    dir_.File("other/Deutsch.lng", "");  // same name in another case: listed once
    dir_.File("other/Zulu.lng", "");
    dir_.File("other/notes.txt", "");
    dir_.Folder("other/Folder.lng");
    ListLanguageFilesIn({IncludeTrailingSeparator(dir_.Path()), other + "/"});
    const auto& list = LangList();
    ASSERT_EQ(list.size(), 32u);
    for (size_t i = 1; i < list.size(); ++i)
        EXPECT_LT(LowerAscii(list[i - 1]), LowerAscii(list[i])) << list[i - 1] << " " << list[i];
    EXPECT_NE(std::find(list.begin(), list.end(), "deutsch"), list.end());
    EXPECT_EQ(std::find(list.begin(), list.end(), "Deutsch"), list.end());
}
