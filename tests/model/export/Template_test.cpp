// The template language: the default template's exact output, expressions,
// fields, line joining, escaping and the problems reported with their lines.
#include <gtest/gtest.h>

#include "ExportFixtures.h"
#include "export/Template.h"

namespace {
struct Expanded {
    std::string output;
    std::vector<std::string> comments;
    std::vector<std::pair<int64_t, int64_t>> progress;
    bool ok = false;
};

std::vector<TExportAlbum> Records(const std::vector<std::unique_ptr<Tm3u>>& albums) {
    std::vector<TExportAlbum> records;
    for (const auto& a : albums) records.push_back(MakeExportAlbum(*a));
    return records;
}

Expanded Expand(std::string_view text, const std::vector<TExportAlbum>& albums = {},
                bool markup = false) {
    Expanded result;
    TTemplate compiled =
        TTemplate::Compile(text, [&](const std::string& c) { result.comments.push_back(c); });
    result.ok = compiled.Ok();
    compiled.SetEscapeMarkup(markup);
    compiled.Expand(albums, result.output, [&](int64_t position, int64_t maximum) {
        result.progress.emplace_back(position, maximum);
    });
    return result;
}

// Two albums: "Abba" (1976, two tracks) and "Björk" (no year, no tracks).
std::vector<TExportAlbum> TwoAlbums() {
    return {{"Abba",
             "Arrival",
             "Pop",
             "1976",
             "/m/abba.m3u",
             "/m/abba.jpg",
             {{"Dancing Queen", "/m/1.mp3"}, {"Money", "/m/2.mp3"}}},
            {"Björk", "Post", " ", " ", "/m/post.m3u", " ", {}}};
}

TEST(DefaultTemplateTest, WritesEveryFieldOnItsOwnLineWithBlanksForEmptyValues) {
    auto albums = SampleAlbums();
    const Expanded result = Expand(kDefaultTemplate, Records(albums));
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.comments.empty());
    EXPECT_EQ(result.output,
              "Ünïcödé Band\n"
              "Çà va\n"
              "Chanson\n"
              "1999\n"
              "/music/a/Ça va.m3u\n"
              "/music/a/Ça va.jpg\n"
              "Première\n"
              "/music/a/01.mp3\n"
              " \n"
              "/music/a/02.mp3\n"
              " \n"
              "Lonely\n"
              " \n"
              " \n"
              "/music/b/list.pls\n"
              " \n"
              "\n");
    const std::vector<std::pair<int64_t, int64_t>> progress{{0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(result.progress, progress);
}

TEST(DefaultTemplateTest, NoAlbumsGiveOnlyTheLastLineBreak) {
    const Expanded result = Expand(kDefaultTemplate);
    EXPECT_EQ(result.output, "\n");
    const std::vector<std::pair<int64_t, int64_t>> progress{{0, 0}};
    EXPECT_EQ(result.progress, progress);
}

TEST(DefaultTemplateTest, HeaderIsTheFirstLineWithoutItsMark) {
    TTemplate compiled = TTemplate::Compile(kDefaultTemplate, {});
    EXPECT_EQ(compiled.Header(), " Text file(*.txt)|*.txt");
    EXPECT_EQ(TTemplate::Compile("@#x|*.xml\r\nbody", {}).Header(), "x|*.xml");
    EXPECT_EQ(TTemplate::Compile("no header\n@# later", {}).Header(), "");
}

struct TextCase {
    const char* text;
    const char* expected;
};

class ExpressionTest : public testing::TestWithParam<TextCase> {};

TEST_P(ExpressionTest, Expands) {
    const Expanded result = Expand(GetParam().text, TwoAlbums());
    ASSERT_TRUE(result.ok) << GetParam().text << ": "
                           << (result.comments.empty() ? "" : result.comments[0]);
    EXPECT_EQ(result.output, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ExpressionTest,
    testing::Values(TextCase{"@set(a,1)${a}", "1"}, TextCase{"@set(a, 1 + 2 + 3)${a}", "6"},
                    TextCase{"@set(a,5)@set(a,a+a)${a}", "10"},
                    TextCase{"@set(a,5)@set(b,a-7)${b}", "-2"},
                    TextCase{"@set(a,0)@set(a,a+1)@set(a,a+1)${a}", "2"},
                    TextCase{"@size(albums)", "2"}, TextCase{"@set(n,@size(albums)+10)${n}", "12"},
                    TextCase{"@set(big,9000000000+1)${big}", "9000000001"},
                    TextCase{"@foreach a (albums) {@size(a.tracks),}", "2,0,"},
                    TextCase{"@set(t,0)@foreach a(albums){@set(t,t+@size(a.tracks))}${t}", "2"},
                    TextCase{"@set(i,0)@foreach a (albums) {@set(i,i+1)${i}.}", "1.2."},
                    TextCase{"@set( x , 4 )${ x }", "4"},
                    // Sums beyond the 64-bit range stop at its ends.
                    TextCase{"@set(i,9000000000000000000+9000000000000000000)${i}",
                             "9223372036854775807"},
                    TextCase{"@set(i,0-9000000000000000000-9000000000000000000)${i}",
                             "-9223372036854775808"},
                    TextCase{"@set(i,0-9000000000000000000-9000000000000000000)@set(j,0-i)${j}",
                             "9223372036854775807"},
                    TextCase{"@set(i,9000000000000000000+9000000000000000000)@set(i,i-1)${i}",
                             "9223372036854775806"},
                    TextCase{"@set(n,9223372036854775807)${n}", "9223372036854775807"},
                    TextCase{"@set(n,@size(albums)+9223372036854775807)${n}",
                             "9223372036854775807"},
                    TextCase{"@set(i,922337203685477580)@foreach a (albums) {@set(i,i+i+i+i+i+i+i+i+i+i+i)}${i}",
                             "9223372036854775807"}));

class FieldTest : public testing::TestWithParam<TextCase> {};

TEST_P(FieldTest, InsertsTheFirstAlbumsValue) {
    const std::string text = std::string("@foreach album (albums) {") + GetParam().text + "}";
    const Expanded result = Expand(text, {TwoAlbums()[0]});
    ASSERT_TRUE(result.ok) << GetParam().text;
    EXPECT_EQ(result.output, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldTest,
    testing::Values(
        TextCase{"${album.artist}", "Abba"}, TextCase{"${album.album}", "Arrival"},
        TextCase{"${album.genre}", "Pop"}, TextCase{"${album.year}", "1976"},
        TextCase{"${album.playlistpath}", "/m/abba.m3u"},
        TextCase{"${album.coverpath}", "/m/abba.jpg"},
        TextCase{"${album.coverurl}", "file:///m/abba.jpg"},
        TextCase{"${album.playlisturl}", "file:///m/abba.m3u"},
        TextCase{"@foreach track(album.tracks) {${track.title};}", "Dancing Queen;Money;"},
        TextCase{"@foreach track(album.tracks) {${track.trackpath} }", "/m/1.mp3 /m/2.mp3 "},
        TextCase{"@foreach t(album.tracks){${t.trackurl}|${album.artist}|}",
                 "file:///m/1.mp3|Abba|file:///m/2.mp3|Abba|"},
        TextCase{"@if(album.coverpath) {<img>}", "<img>"},
        TextCase{"@if(album.genre){g}@if(album.year){y}", "gy"}));

TEST(TemplateTest, BlankValuesAreFalseForIf) {
    const Expanded result = Expand(
        "@set(z,0)@set(one,1)@foreach a (albums) {[@if(a.year){${a.year}}@if(a.coverpath){c}"
        "@ifnot(a.genre){no genre}]}@if(z){zero}@if(one){one}@ifnot(z){not zero}@ifnot(one){x}",
        TwoAlbums());
    EXPECT_EQ(result.output, "[1976c][no genre]onenot zero");
}

TEST(TemplateTest, UrlsEncodeWhatWouldBreakALink) {
    const Expanded result = Expand("@foreach a (albums) {${a.coverurl}}",
                                   {{"x", "y", " ", " ", "/m/a#b?c d%.m3u", "/m/Ça #1.jpg", {}}});
    EXPECT_EQ(result.output, "file:///m/%C3%87a%20%231.jpg");
}

TEST(TemplateTest, TrailingBackslashJoinsLines) {
    const TextCase cases[] = {
        {"a\\\nb", "ab"},
        {"a\\\r\nb", "ab"},
        {"a\\\n\\\nb\n", "ab\n"},
        {"a\\b\n", "a\\b\n"},  // a backslash inside a line stays
        {"a\\", "a\\"},        // and one at the very end too
        {"@set(i,\\\n7)${i}", "7"},
        {"x\r\ny", "x\r\ny"},
    };
    for (const auto& c : cases) EXPECT_EQ(Expand(c.text).output, c.expected) << c.text;
}

TEST(TemplateTest, TextOfOtherLanguagesStaysText) {
    const TextCase cases[] = {
        {"@media screen { p { color: red } }", "@media screen { p { color: red } }"},
        {"@foreach a (albums) {p { margin: 0 } }", "p { margin: 0 } p { margin: 0 } "},
        {"mail@example.org", "mail@example.org"},
        {"@@set(x,1) costs $5 @$", "@set(x,1) costs $5 $"},
        {"@foreach a (albums) {@}}", "}}"},
        {"}{", "}{"},
    };
    for (const auto& c : cases) {
        const Expanded result = Expand(c.text, TwoAlbums());
        EXPECT_TRUE(result.ok) << c.text;
        EXPECT_EQ(result.output, c.expected) << c.text;
    }
}

TEST(TemplateTest, MarkupOutputEscapesInsertedValuesOnly) {
    const std::vector<TExportAlbum> hostile{
        {"<script>alert('x')</script>", "Tom & \"Jerry\"", " ", " ", "/m/a.m3u", " ", {}}};
    const std::string text = "@foreach a (albums) {<b>${a.artist}</b>${a.album}}";
    EXPECT_EQ(Expand(text, hostile, true).output,
              "<b>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</b>"
              "Tom &amp; &quot;Jerry&quot;");
    EXPECT_EQ(Expand(text, hostile, false).output,
              "<b><script>alert('x')</script></b>Tom & \"Jerry\"");
}

// Each problem names its line; the template is then unusable.
TEST(TemplateTest, ProblemsAreReportedWithTheirLine) {
    const TextCase cases[] = {
        {"@set(i,0)\n@set(j,k+1)", "Line 2: unknown variable \"k\""},
        {"@# Text|*.txt\nfine\n${album.artist}", "Line 3: \"album\" is not an item"},
        {"@foreach album (albums) {\n${album.title}\n}", "Line 2: unknown field \"album.title\""},
        {"@foreach a (albums) {\n@foreach t (a.tracks) {${t.artist}}}",
         "Line 2: unknown field \"t.artist\""},
        {"@foreach a (records) {}", "Line 1: unknown list \"records\""},
        {"@foreach a (albums) {@foreach t (t.tracks) {}}", "Line 1: \"t\" is not an item"},
        {"text\n@foreach a (albums) {\nbody\n", "Line 2: the body opened here is not closed"},
        {"@set(i 0)", "Line 1: expected \",\" after the name of @set"},
        {"@set(i,)", "Line 1: unexpected \")\" in an expression"},
        {"@set(i,1", "Line 1: expected \")\" at the end of @set"},
        {"@progress(1)", "Line 1: expected \",\""},
        {"a\\\nb\\\n@sise(albums)", "Line 3: unknown directive @sise"},
        {"${album.artist", "Line 1: expected \"}\""},
        {"@set(i,@foo(albums))", "Line 1: only @size"},
        {"@set(i,99999999999999999999)", "Line 1: number too large"},
        {"@set(i,9223372036854775808)", "Line 1: number too large"},
        {"@size albums", "Line 1: expected \"(\" after @size"},
    };
    for (const auto& c : cases) {
        const Expanded result = Expand(c.text, TwoAlbums());
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.output, "") << c.text;
        ASSERT_EQ(result.comments.size(), 1u) << c.text;
        EXPECT_TRUE(result.comments[0].starts_with(c.expected))
            << c.text << " gave " << result.comments[0];
    }
}

// Deep nesting is refused instead of overflowing the stack.
TEST(TemplateTest, BodiesNestAHundredDeepAndNoDeeper) {
    for (int depth : {100, 101, 100000}) {
        std::string text = "@set(a,1)";
        for (int i = 0; i < depth; ++i) text += "@if(a){\n";
        text += "x" + std::string(static_cast<size_t>(depth), '}');
        const Expanded result = Expand(text);
        EXPECT_EQ(result.ok, depth <= 100) << depth;
        if (depth <= 100)
            EXPECT_EQ(result.output, std::string(100, '\n') + "x");
        else
            EXPECT_EQ(result.comments,
                      std::vector<std::string>{"Line 101: bodies are nested too deeply"});
    }
}

TEST(TemplateTest, CompiledOnceExpandsAgainAndAgain) {
    TTemplate compiled = TTemplate::Compile("@set(n,0)@foreach a (albums) {@set(n,n+1)}${n}", {});
    std::string first, second;
    compiled.Expand(TwoAlbums(), first);
    compiled.Expand({TwoAlbums()[1]}, second);
    EXPECT_EQ(first, "2");
    EXPECT_EQ(second, "1");  // variables start again at 0
}
}  // namespace
