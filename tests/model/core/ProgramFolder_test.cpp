#include "core/ProgramFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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
