#include "tags/TagText.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST(Utf16Text, DecodesEitherOrderWithOrWithoutMark) {
    struct Case {
        std::string bytes;
        bool bigEndian;
        const char* text;
    } cases[] = {
        {Bytes({0xFF, 0xFE, 'A', 0, 'B', 0, 0, 0, 'C', 0}), true, "AB"},  // mark wins, zero ends
        {Bytes({0xFE, 0xFF, 0, 'A', 0, 'B'}), false, "AB"},
        {Bytes({0, 'A', 0x00, 0xE9}), true, "A\xC3\xA9"},
        {Bytes({'A', 0, 0x71, 0x67}), false, "A\xE6\x9D\xB1"},         // U+6771
        {Bytes({0x3D, 0xD8, 0x00, 0xDE}), false, "\xF0\x9F\x98\x80"},  // surrogate pair
        {Bytes({0x3D, 0xD8, 'A', 0}), false,
         "\xEF\xBF\xBD"
         "A"},                               // lone high half
        {Bytes({'A', 0, 'B'}), false, "A"},  // odd last byte
    };
    for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(c.bytes, c.bigEndian), c.text) << c.text;
}

TEST(Utf16Text, EncodesLittleEndianWithSurrogates) {
    EXPECT_EQ(Utf8ToUtf16LE("A\xC3\xA9\xF0\x9F\x98\x80"),
              Bytes({'A', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16LE("Beyonc\xC3\xA9 \xE6\x9D\xB1"), false),
              "Beyonc\xC3\xA9 \xE6\x9D\xB1");
}

TEST(EightBitText, EncodesOnlyWhatFits) {
    std::string bytes;
    EXPECT_TRUE(Utf8ToLatin1("Caf\xC3\xA9", bytes));
    EXPECT_EQ(bytes, "Caf\xE9");
    EXPECT_FALSE(Utf8ToLatin1("\xE2\x82\xAC", bytes));  // the euro sign
    EXPECT_TRUE(Utf8ToWindows1252("\xE2\x82\xAC \xC3\xA9", bytes));
    EXPECT_EQ(bytes, "\x80 \xE9");
    EXPECT_FALSE(Utf8ToWindows1252("\xE6\x9D\xB1", bytes));
}

TEST(EightBitText, TagBytesAreUtf8WhenValidElseWindows1252) {
    struct Case {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"Caf\xC3\xA9", "Caf\xC3\xA9"},
        {"Caf\xE9", "Caf\xC3\xA9"},
        {"\x80", "\xE2\x82\xAC"},
        {"ab\xE6\x9D", "ab\xC3\xA6\xC2\x9D"},  // a cut sequence needs a full field
        {"\xE6\x9D"
         "ab",
         "\xC3\xA6\xC2\x9D"
         "ab"},  // broken inside: 8-bit text
    };
    for (const auto& c : cases) EXPECT_EQ(TagBytesToUtf8(c.bytes), c.text) << c.text;
    // A full fixed-width field may end in a character cut off by the width.
    EXPECT_EQ(TagBytesToUtf8("\xC3\xA9"
                             "ab\xE6\x9D",
                             true),
              "\xC3\xA9"
              "ab");
    EXPECT_EQ(TagBytesToUtf8("ab\xE6\x9D", true), "ab\xC3\xA6\xC2\x9D");
    EXPECT_EQ(TagBytesToUtf8("Caf\xE9", true), "Caf\xC3\xA9");
}

TEST(Utf8Cuts, CountCharactersNotBytes) {
    EXPECT_EQ(Utf8Left("\xC3\xA9\xE6\x9D\xB1x", 2), "\xC3\xA9\xE6\x9D\xB1");
    EXPECT_EQ(Utf8Left("abc", 10), "abc");
    EXPECT_EQ(TrimLow(std::string("\0 a b\x01\x1F ", 8)), "a b");
}

}  // namespace
