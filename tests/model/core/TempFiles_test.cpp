#include "core/TempFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "TempDir.h"
#include "WriteFault.h"
#include "core/FileDescriptor.h"
#include "core/SafeWrite.h"

namespace {

// A process id that names no running process: a child that has ended.
pid_t GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Makes the file look last changed `seconds` ago.
void Age(const std::string& path, int seconds) {
    const timeval then{time(nullptr) - seconds, 0};
    const timeval times[2] = {then, then};
    ASSERT_EQ(utimes(path.c_str(), times), 0) << path;
}

std::string Pid(pid_t pid) {
    return std::to_string(pid);
}

TEST(TempFiles, OnlyNamesOfTheExactPatternAreTemporaryFiles) {
    const struct {
        const char* name;
        pid_t owner;
    } cases[] = {
        {".list.mvo.mavelo-tmp-4242-aZ09xY", 4242},
        {".mavelo-tmp-17-abcdef", 17},  // a name too long for the suffix
        {"..hidden.m3u.mavelo-tmp-5-ABCDEF", 5},
        {".a.mavelo-tmp-x.mavelo-tmp-9-abcdef", 9},
        // The user's own files, and old or foreign temporary names.
        {"list.mvo", 0},
        {"list.mvo.bak", 0},
        {"list.mvo~", 0},
        {"list.mvo.aZ09xY", 0},  // the pattern of older versions: it could be anyone's
        {"list.mvo.mavelo-tmp-4242-aZ09xY", 0},      // not hidden
        {".list.mvo.mavelo-tmp-4242-aZ09x", 0},      // five random characters
        {".list.mvo.mavelo-tmp-4242-aZ09xYz", 0},    // seven
        {".list.mvo.mavelo-tmp-4242-aZ-9xY", 0},     // not a letter or digit
        {".list.mvo.mavelo-tmp--aZ09xY", 0},         // no process
        {".list.mvo.mavelo-tmp-42a-aZ09xY", 0},      // not a number
        {".list.mvo.mavelo-tmp-0-aZ09xY", 0},        // no process 0
        {".list.mvo.mavelo-tmp-4242-aZ09xY~", 0},    // an editor's copy of one
        {".list.mvo.mavelo-tmp-4242-aZ09xY.bak", 0},
        {"..mavelo-tmp-4242-aZ09xY", 0},             // no name between the dots
        {".listmavelo-tmp-4242-aZ09xY", 0},          // no dot before the mark
        {".list.mvo.mavelo-tmp-12345678901-aZ09xY", 0},  // no such process number
        {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TemporaryFileOwner(c.name), c.owner) << c.name;
}

TEST(TempFiles, NewTemporaryFilesHaveThePatternAndThisProcess) {
    TempDir dir;
    for (const std::string& name : {std::string("list.mvo"), std::string(250, 'n')}) {
        std::string path;
        TFileDescriptor fd(CreateTemporaryFileBeside(dir / name, path));
        ASSERT_TRUE(fd.IsOpen()) << name.size();
        EXPECT_EQ(path.substr(0, dir.Path().size() + 1), dir.Path() + "/");
        const std::string made = path.substr(dir.Path().size() + 1);
        EXPECT_EQ(TemporaryFileOwner(made), getpid()) << made;
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        if (name.size() < 100) {
            EXPECT_EQ(made.rfind(".list.mvo.mavelo-tmp-" + Pid(getpid()) + "-", 0), 0u) << made;
        }
    }

    const std::string file = dir.File("song.mp3", "data");
    std::string linked;
    ASSERT_TRUE(LinkTemporaryNameBeside(file, dir / "song.mp3.bak", linked));
    EXPECT_EQ(dir.Read(linked.substr(dir.Path().size() + 1)), "data");
    EXPECT_EQ(TemporaryFileOwner(linked.substr(dir.Path().size() + 1)), getpid());
}

TEST(TempFiles, StaleWhenTheWriterIsGoneOrLongQuiet) {
    const pid_t gone = GonePid();
    const pid_t alive = getppid();  // the test runner's parent runs on
    const std::time_t now = 1'000'000;
    const struct {
        pid_t owner;
        int quietSeconds;
        bool stale;
    } cases[] = {
        {gone, 0, false},   // another machine's writer may share the folder
        {gone, 59, false},
        {gone, 60, true},
        {alive, 60, false},  // still being written
        {alive, 3599, false},
        {alive, 3600, true},  // a process number since given to another program
        {getpid(), 600, false},
        {getpid(), 3600, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsStaleTemporaryFile(c.owner, now - c.quietSeconds, now), c.stale)
            << c.owner << " quiet " << c.quietSeconds;
}

TEST(TempFiles, StaleOnesGoWhenTheFolderIsWrittenNextAndNothingElse) {
    TempDir dir;
    const std::string gone = Pid(GonePid());
    const std::string mine = Pid(getpid());
    // Left by killed writers: removed.
    const std::string stale[] = {".list.mvo.mavelo-tmp-" + gone + "-aaaaaa",
                                 ".mavelo-tmp-" + gone + "-bbbbbb",
                                 ".song.mp3.mavelo-tmp-" + mine + "-cccccc"};
    for (const std::string& name : stale) Age(dir.File(name, "half a file"), 7200);
    Age(dir / stale[0], 120);  // a gone writer needs only a minute of quiet
    // Kept: the user's files, fresh ones, and what is not a plain file.
    const std::string fresh = ".list.mvo.mavelo-tmp-" + gone + "-dddddd";
    const std::string kept[] = {"list.mvo.aaaaaa", "list.mvo~", "mavelo-tmp-" + gone + "-eeeeee",
                                fresh};
    for (const std::string& name : kept) Age(dir.File(name, "mine"), name == fresh ? 10 : 7200);
    dir.Folder(".x.mavelo-tmp-" + gone + "-ffffff");
    Age(dir / (".x.mavelo-tmp-" + gone + "-ffffff"), 7200);
    ASSERT_EQ(symlink("list.mvo~", (dir / (".y.mavelo-tmp-" + gone + "-gggggg")).c_str()), 0);

    ASSERT_TRUE(WriteFileSafely(dir / "list.mvo", "the list"));

    std::vector<std::string> expected = {"list.mvo", ".x.mavelo-tmp-" + gone + "-ffffff",
                                         ".y.mavelo-tmp-" + gone + "-gggggg"};
    for (const std::string& name : kept) expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(dir.Path()), expected);
    for (const std::string& name : kept) EXPECT_EQ(dir.Read(name), "mine");
}

}  // namespace
