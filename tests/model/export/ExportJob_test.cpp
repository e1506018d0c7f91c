// A whole export: file type rules, the stages and their log lines, the
// output file, and HTML output that stays well-formed whatever the titles.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>

#include "ExportFixtures.h"
#include "TempDir.h"
#include "core/FileSystem.h"
#include "export/ExportJob.h"
#include "export/Template.h"

namespace {
struct Call {
    int stage;
    int64_t position, maximum;
    bool operator==(const Call&) const = default;
};

struct Recorder {
    std::vector<Call> calls;
    std::vector<std::string> log;  // stage lines and comments, as the export window shows them
    TExportStageLog stages;

    void Attach(TTemplateExporter& exporter) {
        exporter.SetProgressCallback([this](int stage, int64_t position, int64_t maximum) {
            calls.push_back({stage, position, maximum});
            if (auto line = stages.LineFor(stage)) log.push_back(*line);
        });
        exporter.SetCommentCallback([this](const std::string& text) { log.push_back(text); });
    }
};

std::string ShippedTemplate(const std::string& name) {
    return std::string(MAVELO_BIN_DIR) + "/templates/" + name;
}

TEST(TemplateFileTypeTest, OutputExtensionFollowsTheHeader) {
    struct Case {
        const char* firstLine;
        const char* output;
        const char* expected;
    };
    const Case cases[] = {
        {"@# Text file(*.txt)|*.txt", "export.html", "export.txt"},
        {"@# Web page(*.html)|*.html", "export.txt", "export.html"},
        {"@# Web page(*.html)|*.html", "export", "export.html"},
        {"@# Web page(*.html)|*.html", "/out/v1.2/list", "/out/v1.2/list.html"},
        {"@# Web page(*.html)|*.html", "/out/v1.2/list.old.txt", "/out/v1.2/list.old.html"},
        {"@#XML|*.xml\r", "a.txt", "a.xml"},
        {"no header at all", "a.html", "a.txt"},
        {"@# Web page(*.html) *.html", "a.html", "a.txt"},  // no "|"
        {"@#a|*x", "a.html", "a.txt"},                      // 4 characters only
        {"@#ab|.x", "a.html", "a.x"},                       // 5 are enough
        {"", "a.html", "a.txt"},
    };
    for (const auto& c : cases) {
        const std::string ext = FilterExtension(TemplateFileFilter(c.firstLine));
        EXPECT_EQ(OutputNameWithExtension(c.output, ext), c.expected) << c.firstLine;
    }
    EXPECT_EQ(TemplateFileFilter("x"), "Text file (*.txt)|*.txt");
    EXPECT_EQ(FirstLine("@# A|*.a\r\nrest"), "@# A|*.a");
    for (const char* ext : {"html", "HTM", "xhtml", "xml"}) EXPECT_TRUE(IsMarkupExtension(ext));
    for (const char* ext : {"txt", "csv", "json", ""}) EXPECT_FALSE(IsMarkupExtension(ext));
}

TEST(ExportJobTest, ExportsTheFirstAlbumsInViewOrderWithOneLinePerStage) {
    TempDir dir;
    std::vector<std::unique_ptr<Tm3u>> albums;
    for (int i = 0; i < 10; ++i)
        albums.push_back(MakeAlbum({"/m/" + std::to_string(i) + ".m3u",
                                    "Artist " + std::to_string(i),
                                    "Album",
                                    "",
                                    2000 + i,
                                    false,
                                    {"t"}}));
    const std::string tpl = dir.File("list.tpt",
                                     "@# CSV(*.csv)|*.csv\n"
                                     "@set(i,0)@set(n,@size(albums))\\\n"
                                     "@foreach a (albums) {@progress(i,n)\\\n"
                                     "${a.artist};${a.year}\n@set(i,i+1)}");
    TTemplateExporter exporter;
    Recorder recorder;
    recorder.Attach(exporter);
    ASSERT_TRUE(ExportAlbums(Pointers(albums), {tpl, dir / "out.csv", 3}, exporter));
    EXPECT_EQ(dir.Read("out.csv"), "Artist 0;2000\nArtist 1;2001\nArtist 2;2002\n");
    const std::vector<Call> expected{{0, 0, 9}, {0, 1, 9}, {0, 2, 9}, {1, 0, 1}, {1, 1, 1},
                                     {2, 0, 3}, {2, 1, 3}, {2, 2, 3}, {3, 1, 1}};
    EXPECT_EQ(recorder.calls, expected);
    const std::vector<std::string> log{"Building list", "Initializing list", "Exporting list",
                                       "Process terminated"};
    EXPECT_EQ(recorder.log, log);

    // A new export starts the stage lines again.
    recorder.log.clear();
    recorder.stages.Reset();
    ASSERT_TRUE(ExportAlbums(Pointers(albums), {tpl, dir / "out.csv", 100}, exporter));
    EXPECT_EQ(recorder.log, log);
    EXPECT_EQ(exporter.Albums().size(), 10u);
}

TEST(ExportJobTest, FailedExportLeavesNoOutputAndSaysWhy) {
    TempDir dir;
    auto albums = SampleAlbums();
    struct Case {
        const char* name;
        std::string templateText;  // "" for a missing template
        std::string expectedComment;
    };
    const Case cases[] = {
        {"bad", "line one\n@foreach a (albums) {${a.nothing}}", "Line 2: unknown field"},
        {"missing", "", "Could not read the template"},
    };
    for (const auto& c : cases) {
        const std::string output = dir.File("out.txt", "stale output of an earlier export");
        const std::string tpl =
            c.templateText.empty() ? dir / "none.tpt" : dir.File("t.tpt", c.templateText);
        TTemplateExporter exporter;
        Recorder recorder;
        recorder.Attach(exporter);
        EXPECT_FALSE(ExportAlbums(Pointers(albums), {tpl, output, 2}, exporter)) << c.name;
        EXPECT_FALSE(FileExists(output)) << c.name;
        ASSERT_GE(recorder.log.size(), 3u) << c.name;
        EXPECT_TRUE(recorder.log[2].starts_with(c.expectedComment)) << recorder.log[2];
        EXPECT_EQ(recorder.log.back(), "Process terminated") << c.name;
    }
}

TEST(ExportJobTest, OutputThatIsTheTemplateIsRefused) {
    TempDir dir;
    auto albums = SampleAlbums();
    const std::string tpl = dir.File("t.tpt", kDefaultTemplate);
    std::filesystem::create_symlink(tpl, dir / "link.txt");
    for (const std::string& output : {tpl, dir / "link.txt"}) {
        TTemplateExporter exporter;
        Recorder recorder;
        recorder.Attach(exporter);
        EXPECT_FALSE(ExportAlbums(Pointers(albums), {tpl, output, 2}, exporter));
        EXPECT_EQ(dir.Read("t.tpt"), kDefaultTemplate);
        EXPECT_NE(std::find(recorder.log.begin(), recorder.log.end(),
                            "The output file is the template itself: nothing was exported"),
                  recorder.log.end());
    }
}

TEST(ExportJobTest, ShippedTemplatesCompileAndTheDefaultOneIsTheBuiltInText) {
    for (const char* name : {"export_default.tpt", "export_html.tpt", "export_text.tpt"}) {
        const std::string text = ReadWholeFile(ShippedTemplate(name));
        std::vector<std::string> problems;
        EXPECT_TRUE(TTemplate::Compile(text, [&](auto& p) { problems.push_back(p); }).Ok())
            << name << ": " << (problems.empty() ? "" : problems[0]);
    }
    EXPECT_EQ(ReadWholeFile(ShippedTemplate("export_default.tpt")), kDefaultTemplate);
}

// Titles that would break or inject into a page come out as text: the page
// parses as XML and shows exactly the titles.
TEST(ExportJobTest, HtmlExportWithHostileTitlesStaysWellFormed) {
    TempDir dir;
    const std::vector<std::string> hostile{"</li></ul><script>alert(1)</script>",
                                           "Tom & Jerry's \"Best\"", "<!-- ]]> -->", "Ünï & çà"};
    std::vector<std::unique_ptr<Tm3u>> albums;
    albums.push_back(MakeAlbum(
        {"/m/a&b/<x>.m3u", hostile[0], hostile[1], "<i>", 1990, true, {hostile[2], hostile[3]}}));
    albums.push_back(MakeAlbum({.playlist = "/m/\"q\".m3u"}));
    TTemplateExporter exporter;
    ASSERT_TRUE(ExportAlbums(Pointers(albums),
                             {ShippedTemplate("export_html.tpt"), dir / "out.html", 2}, exporter));

    pugi::xml_document page;
    const pugi::xml_parse_result parsed = page.load_file((dir / "out.html").c_str());
    ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;
    EXPECT_TRUE(page.select_nodes("//script").empty());
    const std::string text = [&] {
        std::string all;
        for (const auto& node : page.select_nodes("//body//text()")) all += node.node().value();
        return all;
    }();
    for (const auto& title : hostile) EXPECT_NE(text.find(title), std::string::npos) << title;
}
}  // namespace
