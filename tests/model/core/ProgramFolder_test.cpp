#include "core/ProgramFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "TempDir.h"
#include "core/FileSystem.h"

namespace {
// Restores MAVELO_HOME after a test changed it.
class HomeVariable {
  public:
    HomeVariable() {
        const char* old = std::getenv("MAVELO_HOME");
        had_ = old != nullptr;
        if (had_) old_ = old;
    }
    ~HomeVariable() {
        if (had_)
            setenv("MAVELO_HOME", old_.c_str(), 1);
        else
            unsetenv("MAVELO_HOME");
    }

  private:
    bool had_ = false;
    std::string old_;
};

std::string ExecutableFolder() {
    return IncludeTrailingSeparator(
        std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
}
}  // namespace

TEST(ProgramFolder, HomeOptionBeatsTheEnvironment) {
    HomeVariable restore;
    TempDir option, variable;
    setenv("MAVELO_HOME", variable.Path().c_str(), 1);
    InitProgramFolder("", option.Path());
    EXPECT_EQ(ProgramFolder(), option.Path() + "/");
    InitProgramFolder("", "");
    EXPECT_EQ(ProgramFolder(), variable.Path() + "/");
}

TEST(ProgramFolder, MissingHomeIsCreatedAndMadeAbsolute) {
    HomeVariable restore;
    unsetenv("MAVELO_HOME");
    TempDir dir;
    const std::string old = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    InitProgramFolder("", "new/../home");
    std::filesystem::current_path(old);
    EXPECT_EQ(ProgramFolder(), dir.Path() + "/home/");
    EXPECT_TRUE(DirectoryExists(dir / "home"));
}

TEST(ProgramFolder, WithoutHomeTheExecutableFolderServes) {
    HomeVariable restore;
    unsetenv("MAVELO_HOME");
    if (access(ExecutableFolder().c_str(), W_OK) != 0)
        GTEST_SKIP() << "executable folder read-only";
    InitProgramFolder("", "");
    EXPECT_EQ(ProgramFolder(), ExecutableFolder());
}

TEST(ProgramFolder, ResourcesAreFoundInTheProgramFolderFirst) {
    TempDir dir;
    InitProgramFolder("", dir.Path());
    EXPECT_EQ(ResourceFolders().front(), dir.Path() + "/");
    EXPECT_EQ(FindResource("nothing-of-that-name.tpt"), "");
    dir.File("export_html.tpt", "x");
    EXPECT_EQ(FindResource("export_html.tpt"), dir / "export_html.tpt");
}

// Which folder keeps mavelo.ini when no --home or MAVELO_HOME names one.
TEST(ProgramFolder, InstalledProgramsUseTheDataFolderPortableOnesTheirOwn) {
    TempDir dir;
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    struct Case {
        const char* what;
        std::vector<std::string> folders;  // made before the decision
        std::string executableFolder;
        std::string expected;
    };
    const Case cases[] = {
        {"installed: bin next to share/mavelo",
         {"usr/bin", "usr/share/mavelo"},
         "usr/bin",
         "data/mavelo"},
        {"bin without share/mavelo is portable", {"opt/bin"}, "opt/bin", "opt/bin"},
        {"unpacked folder is portable",
         {"mavelo-1.0", "mavelo-1.0/share/mavelo"},
         "mavelo-1.0",
         "mavelo-1.0"},
        {"build folder is portable", {"build/bin", "build/share"}, "build/bin", "build/bin"},
    };
    for (const Case& c : cases) {
        for (const auto& folder : c.folders) dir.Folder(folder);
        EXPECT_EQ(DefaultProgramFolder(dir / c.executableFolder), dir / c.expected) << c.what;
    }
    EXPECT_EQ(InstalledDataFolder(dir / "usr/bin"), dir / "usr/share/mavelo/");
    if (oldXdg)
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(ProgramFolder, ShippedFilesAreAlsoFoundInTheSystemDataFolders) {
    TempDir home, system;
    system.File("mavelo/help/only-here.htm", "x");
    const char* old = std::getenv("XDG_DATA_DIRS");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_DIRS", ("relative/ignored::" + system.Path()).c_str(), 1);
    InitProgramFolder("", home.Path());
    EXPECT_EQ(FindResource("help/only-here.htm"), system / "mavelo/help/only-here.htm");
    home.File("help/only-here.htm", "mine");
    EXPECT_EQ(FindResource("help/only-here.htm"), home / "help/only-here.htm");
    if (old)
        setenv("XDG_DATA_DIRS", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_DIRS");
}
