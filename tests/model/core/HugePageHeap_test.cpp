#include "core/HugePageHeap.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(HugePageHeap, SettingIsAddedToTheUsersOwnUnlessTheyDecidedIt) {
    const struct {
        const char* current;
        std::string expected;
    } cases[] = {
        {nullptr, "glibc.malloc.hugetlb=1"},
        {"", "glibc.malloc.hugetlb=1"},
        {"glibc.malloc.check=3", "glibc.malloc.check=3:glibc.malloc.hugetlb=1"},
        {"glibc.malloc.hugetlb=0", ""},  // turned off by the user
        {"glibc.malloc.check=3:glibc.malloc.hugetlb=2", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HugePageTunables(c.current), c.expected) << (c.current ? c.current : "unset");
}

// The program started again puts the user's environment back for the
// programs it starts, and goes on without starting once more.
TEST(HugePageHeap, StartedAgainTheUsersEnvironmentComesBack) {
    char* argv[] = {nullptr};
    for (const char* before : {"", "glibc.malloc.check=3"}) {
        setenv("MAVELO_TUNABLES_BEFORE_RESTART", before, 1);
        setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1);
        RestartWithHugePageHeap(argv);
        EXPECT_EQ(std::getenv("MAVELO_TUNABLES_BEFORE_RESTART"), nullptr);
        const char* tunables = std::getenv("GLIBC_TUNABLES");
        if (*before) {
            EXPECT_STREQ(tunables, before);
        } else {
            EXPECT_EQ(tunables, nullptr);
        }
    }
    unsetenv("GLIBC_TUNABLES");
}
