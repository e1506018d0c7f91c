#include "core/SafeWrite.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "SafeWriteCases.h"
#include "TempDir.h"
#include "WriteFault.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"

namespace {

TWriterCase RoutineCase() {
    return {"plain.txt", [](const std::string& p) { std::ofstream(p) << "old contents"; },
            [](const std::string& p) { return static_cast<bool>(WriteFileSafely(p, "new")); },
            [](const std::string& p) { return ReadWholeFile(p) == "new"; }};
}

TWriterCase SettingsCase() {
    return {"mavelo.ini", [](const std::string& p) { std::ofstream(p) << "[Main]\nLanguage=x\n"; },
            [](const std::string& p) {
                TIniFile ini;
                ini.WriteString("Main", "Language", "French");
                try {
                    ini.Save(p);
                    return true;
                } catch (const std::system_error&) {
                    return false;
                }
            },
            [](const std::string& p) {
                TIniFile ini;
                return ini.Load(p) && ini.ReadString("Main", "Language", "") == "French";
            }};
}

TEST(SafeWrite, EveryCaseForTheRoutineAndTheSettingsFile) {
    CheckSafeWrites({RoutineCase(), SettingsCase()});
}

TEST(SafeWrite, KeepsPermissionsAndGivesNewFilesTheUsualOnes) {
    TempDir dir;
    const std::string path = dir.File("f", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileSafely(path, "new"));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const mode_t mask = umask(022);
    const TWriteResult created = WriteFileSafely(dir / "new", "x");
    umask(mask);
    ASSERT_TRUE(created);
    ASSERT_EQ(stat((dir / "new").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);  // not the 0600 of a temporary file
}

TEST(SafeWrite, LinksThatNameNoFileYetOrLoop) {
    TempDir dir;
    const std::string dangling = dir / "dangling";
    ASSERT_EQ(symlink("target", dangling.c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(dangling, "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(dir.Read("target"), "made");

    const std::string loop = dir / "loop";
    ASSERT_EQ(symlink("loop", loop.c_str()), 0);
    const TWriteResult result = WriteFileSafely(loop, "x");
    EXPECT_FALSE(result);
    EXPECT_TRUE(std::filesystem::is_symlink(loop));
}

TEST(SafeWrite, FailuresNameTheFileAndTheSystemsReason) {
    TempDir dir;
    struct Case {
        std::string path;
        std::string reason;
        std::string message;
    } cases[] = {
        {dir.Folder("folder"), "cannot replace", "it is a folder, not a regular file"},
        {dir / "no/such/folder/file", "cannot create a temporary file for",
         "No such file or directory"},
        {"", "no file name given", ""},
    };
    for (const auto& c : cases) {
        const TWriteResult result = WriteFileSafely(c.path, "x");
        EXPECT_FALSE(result) << c.path;
        EXPECT_EQ(result.file, c.path);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.systemMessage, c.message);
        EXPECT_NE(result.Text().find(c.path), std::string::npos);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    try {
        ReplaceFileContents(dir / "folder", "x");
        ADD_FAILURE() << "no exception";
    } catch (const std::system_error& e) {  // what the windows catch
        EXPECT_EQ(std::string(e.what()),
                  "cannot replace " + dir / "folder" + ": it is a folder, not a regular file");
    }
}

TEST(SafeWrite, HardLinkedFileGetsItsOldContentsBackWhenTheRewriteFails) {
    TempDir dir;
    const std::string path = dir.File("f", "old");
    ASSERT_EQ(link(path.c_str(), (dir / "g").c_str()), 0);
    TWriteResult result;
    {
        FileSizeLimit roomForTheOldOnly(3);  // the copy fits, the longer new text does not
        result = WriteFileSafely(path, "much longer new contents");
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, "cannot write");
    EXPECT_EQ(dir.Read("f"), "old");
    EXPECT_EQ(dir.Read("g"), "old");
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"f", "g"}));
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(SafeWrite, BackupIsTheReplacedFileItselfUnlessItHasOtherNames) {
    TempDir dir;
    const std::string path = dir.File("list.mvo", "first");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);  // a private list keeps a private backup
    ReplaceFileKeepingBackup(path, "second");
    const ino_t second = InodeOf(path);
    ReplaceFileKeepingBackup(path, "third");  // the older backup goes
    EXPECT_EQ(dir.Read("list.mvo"), "third");
    EXPECT_EQ(dir.Read("list.mvo.bak"), "second");
    EXPECT_EQ(InodeOf(dir / "list.mvo.bak"), second);  // not a copy
    struct stat st {};
    ASSERT_EQ(stat((dir / "list.mvo.bak").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"list.mvo", "list.mvo.bak"}));

    // A second name of the user's is rewritten with the file; the backup is a copy.
    ASSERT_EQ(link(path.c_str(), (dir / "other").c_str()), 0);
    ReplaceFileKeepingBackup(path, "fourth");
    EXPECT_EQ(dir.Read("other"), "fourth");
    EXPECT_EQ(dir.Read("list.mvo.bak"), "third");
    EXPECT_EQ(InodeOf(dir / "other"), InodeOf(path));

    // A failed write leaves the file and its names as they were.
    std::remove((dir / "other").c_str());
    {
        FileSizeLimit full(1);
        EXPECT_THROW(ReplaceFileKeepingBackup(path, "fifth"), EFileWriteError);
    }
    EXPECT_EQ(dir.Read("list.mvo"), "fourth");
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
}

// The two ways a save keeps a backup: the list's (the replaced file becomes
// the backup) and the covers database's (a copy first, then the save).
TEST(SafeWrite, AFailedSaveKeepsTheOlderBackup) {
    const struct {
        const char* name;
        std::function<void(const std::string&, const std::string&)> save;
    } savers[] = {
        {"second name", [](const std::string& p, const std::string& d) { ReplaceFileKeepingBackup(p, d); }},
        {"copy first",
         [](const std::string& p, const std::string& d) {
             KeepBackupCopy(p);
             ReplaceFileContents(p, d);
         }},
    };
    for (const auto& saver : savers) {
        SCOPED_TRACE(saver.name);
        TempDir dir;
        const std::string path = dir.File("list.mvo", "current");
        dir.File("list.mvo.bak", "older");
        {
            FileSizeLimit diskFull(1);
            EXPECT_THROW(saver.save(path, "the new contents"), EFileWriteError);
        }
        EXPECT_EQ(dir.Read("list.mvo"), "current");
        EXPECT_EQ(dir.Read("list.mvo.bak"), "older");
        EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"list.mvo", "list.mvo.bak"}));
        saver.save(path, "the new contents");
        EXPECT_EQ(dir.Read("list.mvo"), "the new contents");
        EXPECT_EQ(dir.Read("list.mvo.bak"), "current");
        EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"list.mvo", "list.mvo.bak"}));
    }
}

// A save killed after the file became its backup and before the new file
// took its name leaves one file under both names; the next save finishes.
TEST(SafeWrite, ASaveCutBetweenItsRenamesIsFinishedByTheNext) {
    TempDir dir;
    const std::string path = dir.File("list.mvo", "current");
    ASSERT_EQ(link(path.c_str(), (dir / "list.mvo.bak").c_str()), 0);
    ReplaceFileKeepingBackup(path, "new");
    EXPECT_EQ(dir.Read("list.mvo"), "new");
    EXPECT_EQ(dir.Read("list.mvo.bak"), "current");
    EXPECT_NE(InodeOf(path), InodeOf(dir / "list.mvo.bak"));
    EXPECT_EQ(FolderNames(dir.Path()), (std::vector<std::string>{"list.mvo", "list.mvo.bak"}));
}

TEST(SafeWrite, NameTooLongForTheSuffixStillGetsATemporaryFile) {
    TempDir dir;
    const std::string path = dir.File(std::string(250, 'n'), "old");
    ASSERT_TRUE(WriteFileSafely(path, "new"));
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(FolderNames(dir.Path()).size(), 1u);
}

}  // namespace
