#include "core/KeyedList.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

struct Item {
    int value = 0;
};

using Items = KeyedList<Item>;

void Fill(Items& list, size_t count) {
    for (size_t i = 0; i < count; ++i)
        list.Add("/k/" + std::to_string(i), std::make_unique<Item>(Item{int(i)}));
}

// Short lists are searched in place, long ones through the position index:
// both must tell the first entry (position 0) from a missing key.
TEST(KeyedList, IndexOfTellsFirstEntryFromMissingKey) {
    for (size_t count : {size_t(3), size_t(100)}) {
        SCOPED_TRACE(count);
        Items list;
        Fill(list, count);
        EXPECT_EQ(list.IndexOf("/k/0"), 0u);
        EXPECT_EQ(list.IndexOf("/k/" + std::to_string(count - 1)), count - 1);
        EXPECT_FALSE(list.IndexOf("/k/none").has_value());
        EXPECT_EQ(list.Find("/k/none"), nullptr);
        ASSERT_NE(list.Find("/k/0"), nullptr);
        EXPECT_EQ(list.Find("/k/0")->value, 0);

        list.Delete(0);  // the index goes stale and is rebuilt at the next lookup
        EXPECT_FALSE(list.IndexOf("/k/0").has_value());
        EXPECT_EQ(list.IndexOf("/k/1"), 0u);
    }
}

TEST(KeyedList, IndexOfObjectFindsByIdentityOnly) {
    Items list;
    Fill(list, 2);
    const Item stranger{0};
    EXPECT_EQ(list.IndexOfObject(list.At(0)), 0u);
    EXPECT_EQ(list.IndexOfObject(list.At(1)), 1u);
    EXPECT_FALSE(list.IndexOfObject(&stranger).has_value());
    EXPECT_FALSE(list.IndexOfObject(nullptr).has_value());
}

// A list seen as const hands out only const objects, also while iterating.
TEST(KeyedList, ConstListGivesConstObjects) {
    Items list;
    Fill(list, 2);
    const Items& seen = list;
    static_assert(std::is_same_v<decltype(seen[0]), const Item&>);
    static_assert(std::is_same_v<decltype(seen.At(0)), const Item*>);
    static_assert(std::is_same_v<decltype(seen.Find("")), const Item*>);
    static_assert(std::is_same_v<decltype((*seen.begin()).object), const Item*>);
    static_assert(std::is_same_v<decltype(list[0]), Item&>);
    static_assert(std::is_same_v<decltype((*list.begin()).object), Item*>);

    for (const auto& entry : list) entry.object->value += 10;
    int sum = 0;
    std::string keys;
    for (const auto& entry : seen) {
        sum += entry.object->value;
        keys += entry.key;
    }
    EXPECT_EQ(sum, 21);
    EXPECT_EQ(keys, "/k/0/k/1");
}

}  // namespace
