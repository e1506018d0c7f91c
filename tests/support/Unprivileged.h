#pragma once
// Checks of what a plain user may not write (a read-only file, a folder
// without write permission) mean nothing as root, who writes anyway.  When
// the tests run as root (as CI does), such a check runs in a child process
// that has become the unprivileged user "nobody"; the folders it works in are
// given to that user first.  As a plain user the check simply runs.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace unprivileged_detail {

inline void GiveTo(const std::string& folder, uid_t uid, gid_t gid) {
    lchown(folder.c_str(), uid, gid);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        lchown(entry.path().c_str(), uid, gid);
}

}  // namespace unprivileged_detail

// Runs `body` without privileges; `folders` are the ones it writes in.
inline void RunUnprivileged(const std::vector<std::string>& folders,
                            const std::function<void()>& body) {
    if (geteuid() != 0) {
        body();
        return;
    }
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    for (const std::string& folder : folders) unprivileged_detail::GiveTo(folder, uid, gid);
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 ||
            setresuid(uid, uid, uid) != 0 || geteuid() == 0) {
            std::fprintf(stderr, "cannot become the unprivileged user\n");
            _exit(2);
        }
        body();
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as user " << uid << " failed (its messages are above)";
}
