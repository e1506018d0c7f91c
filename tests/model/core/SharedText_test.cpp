#include "core/SharedText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SharedText, CopiesShareAndAssignmentNeverChangesAnotherCopy) {
    TSharedText first("Queen");
    TSharedText copy = first;
    EXPECT_TRUE(copy.SharesBlockWith(first));
    copy = std::string("ABBA");
    EXPECT_EQ(first, "Queen");
    EXPECT_EQ(copy, "ABBA");
    EXPECT_FALSE(copy.SharesBlockWith(first));

    TSharedText moved = std::move(first);
    EXPECT_EQ(moved, "Queen");
    EXPECT_TRUE(first.empty());  // NOLINT: a moved-from text is empty
    moved = moved;               // self-assignment keeps the text
    EXPECT_EQ(moved, "Queen");

    // Equal texts from different places are equal without sharing; the
    // sharing assignment makes them share.
    TSharedText other("Queen");
    EXPECT_EQ(other, moved);
    AssignSharing(other, "Queen", moved);
    EXPECT_TRUE(other.SharesBlockWith(moved));
    AssignSharing(other, "queen", moved);
    EXPECT_FALSE(other.SharesBlockWith(moved));
    EXPECT_EQ(other, "queen");
}

TEST(SharedText, BehavesLikeTheTextItHolds) {
    const TSharedText empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_EQ(TSharedText(""), empty);  // an empty text holds no block

    const TSharedText text(std::string_view("a\0b", 3));  // zero bytes are kept
    EXPECT_EQ(text.size(), 3u);
    EXPECT_EQ(text.view(), std::string_view("a\0b", 3));

    const TSharedText path("/music/A/1.mp3");
    const std::string asString = path;
    EXPECT_EQ(asString, "/music/A/1.mp3");
    EXPECT_EQ(path.rfind('/'), 8u);
    EXPECT_EQ(path.substr(9), "1.mp3");
    EXPECT_EQ(path + ".bak", "/music/A/1.mp3.bak");
    EXPECT_EQ("x:" + path, "x:/music/A/1.mp3");
    EXPECT_EQ(std::string("x:") + path, "x:/music/A/1.mp3");
    EXPECT_TRUE(TSharedText("abc") < TSharedText("abd"));
    EXPECT_TRUE(TSharedText("abc") < std::string("b"));
    EXPECT_TRUE(std::string("abc") == TSharedText("abc"));
    std::ostringstream out;
    out << path;
    EXPECT_EQ(out.str(), "/music/A/1.mp3");

    EXPECT_EQ(TSharedText::Joined("/music/", "A/1.mp3"), path);
    EXPECT_EQ(TSharedText::Joined("", "A"), TSharedText("A"));
    EXPECT_EQ(TSharedText::Joined("A", {}), TSharedText("A"));
    EXPECT_TRUE(TSharedText::Joined({}, {}).empty());
}

// Copies made and dropped on several threads at once free the block once.
TEST(SharedText, CopiesOnSeveralThreads) {
    const TSharedText shared("shared by every thread");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                TSharedText copy = shared;
                TSharedText again = copy;
                if (again.size() != shared.size()) std::abort();
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(shared, "shared by every thread");
}

}  // namespace
