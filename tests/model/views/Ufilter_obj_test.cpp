#include "views/Ufilter_obj.h"

#include <gtest/gtest.h>

#include "RecordBytes.h"
#include "TempDir.h"
#include "collection/UIo.h"

TEST(FilterCriteria, ArtistAndGenreTerms) {
    struct Case {
        const char* criterion;
        const char* value;
        bool matches;
    } cases[] = {
        {"abba", "ABBA", true},
        {"bb", "Abba Gold", true},
        // The blank after ";" belongs to the next term.
        {"abba; queen", "Queen", false},
        {"abba; queen", "Freddie and the Queen", true},
        {"\"Abba\"", "ABBA", true},
        {"\"Abba\"", "Abba Gold", false},
        {"rock\"", "Hard Rock", true},
        {"rock\"", "Rock and Roll", false},
        {"\"rock", "Rock and Roll", true},
        {"\"rock", "Hard Rock", false},
        {"\"", "anything", true},  // a lone quote: the value begins with nothing
        {"\"", "", true},
        {"ro\"ck", "ro\"ck", false},  // quotes only inside never match
        {";;", "Queen", false},       // only empty terms
        {"", "Queen", false},
        {"zz;queen", "Queen", true},
        {"zz\nqueen", "Queen", true},  // line breaks separate terms too
        {"zz\r\nqueen", "Queen", true},
        {"ÉMILE", "émile", false},  // only A-Z fold
        {"Émile", "émile", false},
        {"émile", "émile", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextCriterionMatches(c.criterion, c.value), c.matches)
            << "[" << c.criterion << "] on [" << c.value << "]";
}

TEST(FilterCriteria, YearTerms) {
    struct Case {
        const char* criterion;
        const char* year;
        bool matches;
    } cases[] = {
        {"197", "1975", true},
        {"197", "1197", true},
        {"197", "1980", false},
        {"1970;1971", "1971", true},
        {"1980-", "1979", false},
        {"1980-", "1980", true},
        {"-1970", "0", true},  // unknown years pass a range with only a high bound
        {"-1970", "1971", false},
        {"1980-1990", "1985", true},
        {"1980-1990", "1991", false},
        {"1980-1990;1999", "1999", true},
        // "1980 " is unreadable (blank after the digits): the term means up to 1990.
        {"1980 - 1990", "1970", true},
        {"1980 - 1990", "1991", false},
        {" 1980-1990", "1979", false},  // leading blanks are allowed
        {"-", "1980", false},           // both bounds 0
        {"abc", "1980", false},
        {"0", "0", true},
        {"0", "2001", true},
        {"0", "1999", false},
        {";", "1980", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(YearCriterionMatches(c.criterion, c.year), c.matches)
            << "[" << c.criterion << "] on " << c.year;
}

TEST(FilterCriteria, TakingAFieldTrimsTheWholeTextOnly) {
    EXPECT_EQ(TakeCriterion("  abba; queen \r\n\t"), "abba; queen");
    EXPECT_EQ(TakeCriterion("\n\n"), "");
    EXPECT_EQ(SplitCriterion("a; b;").size(), 3u);
}

TEST(Filter, EveryNonEmptyCriterionMustMatch) {
    TFilter filter;
    EXPECT_TRUE(filter.Matches("anyone", "", "0"));
    filter.Artist = "queen";
    filter.Genre = "rock";
    filter.Year = "1970-1979";
    EXPECT_TRUE(filter.Matches("Queen", "Rock", "1975"));
    EXPECT_FALSE(filter.Matches("ABBA", "Rock", "1975"));
    EXPECT_FALSE(filter.Matches("Queen", "Pop", "1975"));
    EXPECT_FALSE(filter.Matches("Queen", "Rock", "1980"));
}

namespace {
TFilter MakeFilter(const char* artist, const char* genre, const char* year) {
    TFilter filter;
    filter.Artist = artist;
    filter.Genre = genre;
    filter.Year = year;
    return filter;
}

}  // namespace

TEST(FilterBlock, BytesFollowTheGenreArtistYearOrder) {
    TFilterState state;
    state.Applied = MakeFilter("a1", "g1", "y1");
    state.Edited = MakeFilter("a2", "", "y2");
    state.Presets.AddAndChoose("P", MakeFilter("pa", "pg", "py"));
    // clang-format off
    const std::string expected = RecordBytes()
        .Str("g1").Str("a1").Str("y1")  // applied: genre, artist, year
        .Str("").Str("a2").Str("y2")    // edited
        .Int(0)                         // chosen preset
        .Int(1).Str("P").Str("pg").Str("pa").Str("py");
    // clang-format on
    EXPECT_EQ(WrittenBytes([&](TLoadSave& s) { state.WriteBlock(s); }), expected);
}

TEST(FilterBlock, MvfFileRoundTripAndPartialRead) {
    TempDir dir;
    TFilterState saved;
    saved.Applied = MakeFilter("queen", "", "");
    saved.Edited = MakeFilter("abba", "pop", "1970-");
    saved.Presets.AddAndChoose("", MakeFilter("x", "", ""));
    saved.Presets.AddAndChoose("Seventies", MakeFilter("", "", "1970-1979"));
    saved.Presets.ChosenIndex = 0;
    saved.SaveFile(dir / "f.mvf");

    TFilterState loaded;
    loaded.LoadFile(dir / "f.mvf");
    EXPECT_EQ(loaded.Applied, saved.Applied);
    EXPECT_EQ(loaded.Edited, saved.Edited);
    EXPECT_EQ(loaded.Presets.ChosenIndex, 0);
    ASSERT_EQ(loaded.Presets.Count(), 2u);
    EXPECT_EQ(loaded.Presets.Presets[0].Name, "New preferences");
    EXPECT_EQ(loaded.Presets.Presets[1].Name, "Seventies");
    EXPECT_EQ(loaded.Presets.Presets[1].Filter, saved.Presets.Presets[1].Filter);

    // A file cut inside the second preset: what was read before stays.
    const std::string bytes = dir.Read("f.mvf");
    dir.File("cut.mvf", bytes.substr(0, bytes.size() - 6));
    TFilterState partial;
    partial.Edited = MakeFilter("old", "", "");
    EXPECT_THROW(partial.LoadFile(dir / "cut.mvf"), EMyFileError);
    EXPECT_EQ(partial.Edited, saved.Edited);
    ASSERT_EQ(partial.Presets.Count(), 1u);
    EXPECT_EQ(partial.Presets.Presets[0].Filter, saved.Presets.Presets[0].Filter);
}

TEST(FilterBox, ShowsTheLastEntryEqualToTheAppliedFilter) {
    TFilterState state;
    state.Edited = MakeFilter("queen", "", "");
    EXPECT_EQ(state.FilterBoxShownEntry(), 0u) << "no filter applied";

    state.Presets.AddAndChoose("first", MakeFilter("abba", "", ""));
    state.Presets.AddAndChoose("second", MakeFilter("abba", "", ""));
    state.ChooseFilterBoxEntry(2);
    EXPECT_EQ(state.Applied, MakeFilter("abba", "", ""));
    EXPECT_EQ(state.FilterBoxShownEntry(), 3u) << "the later of two equal presets";

    state.ChooseFilterBoxEntry(1);  // the current settings
    EXPECT_EQ(state.Applied, state.Edited);
    EXPECT_EQ(state.FilterBoxShownEntry(), 1u) << "entry 1 when nothing else equals";

    state.Presets.Delete(0);
    EXPECT_EQ(state.Presets.ChosenIndex, -1);
    state.CloseList();
    EXPECT_EQ(state.Presets.Count(), 0u);
    EXPECT_TRUE(state.Applied.IsEmpty());
    EXPECT_EQ(state.Edited, MakeFilter("queen", "", "")) << "the fields keep their texts";
}
