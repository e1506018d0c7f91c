#include "core/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, Validity) {
    struct Case {
        std::string text;
        bool valid;
    } cases[] = {
        {"plain", true},         {"déjà 日本 😀", true},       {"\xE9t\xE9", false},
        {"\xC3", false},         {"\xC0\xAF", false},         {"\xE0\x80\xAF", false},
        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\x80", false},
        {"\xF0\x9F\x98", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
}

TEST(Utf8, Windows1252Reading) {
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80 \x93x\x94 \x81"), "café € “x” \xC2\x81");
    EXPECT_EQ(ToUtf8("déjà"), "déjà");
    EXPECT_EQ(ToUtf8("d\xE9j\xE0"), "déjà");
}

TEST(Utf8, PrefixNeverSplitsACharacter) {
    const std::string text = "ab€d";  // € is three bytes: 2..4
    struct Case {
        size_t limit;
        std::string prefix;
    } cases[] = {{0, ""}, {2, "ab"}, {3, "ab"}, {4, "ab"}, {5, "ab€"}, {6, "ab€d"}, {99, "ab€d"}};
    for (const auto& c : cases) EXPECT_EQ(Utf8Prefix(text, c.limit), c.prefix) << c.limit;
    EXPECT_EQ(Utf8Prefix("😀x", 3), "");
    EXPECT_EQ(Utf8Prefix("\x80\x80\x80\x80\x80\x80", 5),
              "\x80\x80\x80\x80\x80");  // not UTF-8: cut as is
}
