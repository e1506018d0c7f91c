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

TEST(TextCollator, LongTextsAndIllFormedBytes) {
    const TTextCollator collator("en_US");
    // Past the short-text buffers: keys and lower case of long texts.
    const std::string longUpper = std::string(300, 'A') + "É";
    const std::string longLower = std::string(300, 'a') + "é";
    EXPECT_EQ(collator.SortKey(longUpper), collator.SortKey(longLower));
    EXPECT_LT(collator.SortKey(longLower), collator.SortKey(longLower + "b"));
    EXPECT_EQ(LowerText(longUpper), longLower);
    // A byte that starts no character stands for U+FFFD, wherever it is.
    EXPECT_EQ(collator.SortKey("a\xff"), collator.SortKey("a\xef\xbf\xbd"));
    EXPECT_TRUE(collator.Equal("a\xff", "A\xef\xbf\xbd"));
    EXPECT_EQ(LowerText("A\xff"), "a\xef\xbf\xbd");
    // Lower case may take more units than the text: İ becomes i and a dot.
    EXPECT_EQ(LowerText("\xc4\xb0"), "i\xcc\x87");
    EXPECT_EQ(LowerText(""), "");
    EXPECT_LT(collator.SortKey(""), collator.SortKey(" "));
}
