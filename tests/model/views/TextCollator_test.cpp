#include "views/TextCollator.h"

#include <gtest/gtest.h>

TEST(TextCollator, CaseInsensitiveBlanksThenDigitsThenLettersInEveryLocale) {
    for (const char* locale : {"", "en_US", "en_US_POSIX", "de_DE", "fr_FR"}) {
        const TTextCollator collator(locale);
        EXPECT_TRUE(collator.Equal("abba", "ABBA")) << locale;
        EXPECT_FALSE(collator.Equal("emile", "émile")) << locale;
        EXPECT_LT(collator.Compare(" z", "0"), 0) << locale;
        EXPECT_LT(collator.Compare("9", "a"), 0) << locale;
        EXPECT_LT(collator.Compare("émile", "f"), 0) << locale;
        EXPECT_EQ(collator.SortKey("Queen"), collator.SortKey("QUEEN")) << locale;
        EXPECT_LT(collator.SortKey("abc"), collator.SortKey("abd")) << locale;
        EXPECT_EQ(collator.SortKey("x").find('\0'), std::string::npos) << locale;
    }
}

TEST(TextCollator, CharacterHelpersNeverSplitASequence) {
    EXPECT_EQ(FirstCharacters("aébc", 2), "aé");
    EXPECT_EQ(FirstCharacters("ab", 5), "ab");
    EXPECT_EQ(CharacterCount("aébc"), 4u);
    EXPECT_EQ(LowerText("ÀBC Ünd"), "àbc ünd");
}
