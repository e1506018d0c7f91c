#pragma once
// The cases every file writer of the program must pass: the user's own
// "NAME~" untouched, a symbolic link kept (its target written), hard links
// kept, nothing left behind and the old file intact after a write error,
// and a pipe never replaced by a regular file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "WriteFault.h"

// One kind of file and the program's writer for it.
struct TWriterCase {
    std::string name;                                      // the file's name ("list.mvo")
    std::function<void(const std::string& path)> make;     // an existing file of that kind
    std::function<bool(const std::string& path)> write;    // the save; false on failure
    std::function<bool(const std::string& path)> written;  // the file holds what write stores
};

namespace safe_write_detail {

inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The names in the folder other than the file's own backup ("NAME.bak").
inline std::vector<std::string> NamesBesides(const std::string& folder) {
    std::vector<std::string> names = FolderNames(folder);
    std::erase_if(names, [](const std::string& n) { return n.ends_with(".bak"); });
    return names;
}

inline void KeepsTheUsersTildeFile(const TWriterCase& c) {
    TempDir dir;
    const std::string path = dir / c.name;
    c.make(path);
    dir.File(c.name + "~", "the editor's backup");
    const auto before = NamesBesides(dir.Path());
    ASSERT_TRUE(c.write(path));
    EXPECT_TRUE(c.written(path));
    EXPECT_EQ(dir.Read(c.name + "~"), "the editor's backup");
    EXPECT_EQ(NamesBesides(dir.Path()), before);  // no temporary file left
}

inline void FollowsASymbolicLink(const TWriterCase& c) {
    TempDir dir;
    const std::string real = dir.Folder("real") + "/" + c.name;
    c.make(real);
    const std::string link = dir.Folder("links") + "/" + c.name;
    ASSERT_EQ(symlink(("../real/" + c.name).c_str(), link.c_str()), 0);
    ASSERT_TRUE(c.write(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(c.written(real));
    EXPECT_EQ(FolderNames(dir / "links"), std::vector<std::string>{c.name});
    EXPECT_EQ(NamesBesides(dir / "real"), std::vector<std::string>{c.name});
}

inline void KeepsHardLinks(const TWriterCase& c) {
    TempDir dir;
    const std::string path = dir / c.name;
    c.make(path);
    const std::string other = dir / "second name";
    ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
    ASSERT_TRUE(c.write(path));
    EXPECT_TRUE(c.written(other));
    struct stat a {
    }, b{};
    ASSERT_EQ(stat(path.c_str(), &a), 0);
    ASSERT_EQ(stat(other.c_str(), &b), 0);
    EXPECT_EQ(a.st_ino, b.st_ino);
    std::vector<std::string> names = {c.name, "second name"};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(NamesBesides(dir.Path()), names);
}

inline void WriteErrorChangesNothing(const TWriterCase& c) {
    TempDir dir;
    const std::string path = dir / c.name;
    c.make(path);
    const std::string before = Bytes(path);
    const auto names = FolderNames(dir.Path());
    {
        FileSizeLimit diskFull(1);
        EXPECT_FALSE(c.write(path));
    }
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(FolderNames(dir.Path()), names);
}

inline void RefusesAPipe(const TWriterCase& c) {
    TempDir dir;
    const std::string path = dir / c.name;
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_FALSE(c.write(path));
    struct stat st {};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{c.name});
}

}  // namespace safe_write_detail

// Runs every case for each writer, naming the writer on failure.
inline void CheckSafeWrites(const std::vector<TWriterCase>& writers) {
    using namespace safe_write_detail;
    for (const TWriterCase& c : writers) {
        SCOPED_TRACE(c.name);
        {
            SCOPED_TRACE("user's NAME~");
            KeepsTheUsersTildeFile(c);
        }
        {
            SCOPED_TRACE("symbolic link");
            FollowsASymbolicLink(c);
        }
        {
            SCOPED_TRACE("hard link");
            KeepsHardLinks(c);
        }
        {
            SCOPED_TRACE("write error");
            WriteErrorChangesNothing(c);
        }
        {
            SCOPED_TRACE("pipe");
            RefusesAPipe(c);
        }
    }
}
