#include "core/ProgramFolder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/FileSystem.h"

namespace {
std::string g_programFolder;

std::string ExecutableFolder(const std::string& argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path().string();
    if (!argv0.empty()) return std::filesystem::absolute(argv0, ec).parent_path().string();
    return std::filesystem::current_path(ec).string();
}

bool IsWritableFolder(const std::string& folder) {
    return DirectoryExists(folder) && access(folder.c_str(), W_OK) == 0;
}

std::string SelfExecutableFolder() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().string();
}

std::string XdgDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return JoinPath(xdg, "mavelo");
    const char* home = std::getenv("HOME");
    return JoinPath(JoinPath(home && *home ? home : "/tmp", ".local/share"), "mavelo");
}
}  // namespace

void InitProgramFolder(const std::string& argv0, const std::string& homeOption) {
    std::string folder = homeOption;
    if (folder.empty()) {
        const char* env = std::getenv("MAVELO_HOME");
        if (env && *env) folder = env;
    }
    if (folder.empty()) folder = DefaultProgramFolder(ExecutableFolder(argv0));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto absolute = std::filesystem::absolute(folder, ec);
    g_programFolder = IncludeTrailingSeparator(ec ? folder : absolute.lexically_normal().string());
}

std::string InstalledDataFolder(const std::string& executableFolder) {
    const auto folder = std::filesystem::path(executableFolder).parent_path() / "share" / "mavelo";
    return IncludeTrailingSeparator(folder.lexically_normal().string());
}

bool IsInstalledProgram(const std::string& executableFolder) {
    const auto bin = std::filesystem::path(executableFolder).lexically_normal();
    const std::string name =
        bin.has_filename() ? bin.filename().string() : bin.parent_path().filename().string();
    return name == "bin" && DirectoryExists(InstalledDataFolder(executableFolder));
}

std::string DefaultProgramFolder(const std::string& executableFolder) {
    // An installed program shares its folder with other users and packages:
    // its own files go to the user's data folder even when it could write there.
    if (IsInstalledProgram(executableFolder) || !IsWritableFolder(executableFolder))
        return XdgDataFolder();
    return executableFolder;
}

const std::string& ProgramFolder() {
    if (g_programFolder.empty()) InitProgramFolder("", "");
    return g_programFolder;
}

std::vector<std::string> ResourceFolders() {
    std::vector<std::string> folders{ProgramFolder()};
    auto add = [&folders](const std::string& folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    };
    const std::string exe = SelfExecutableFolder();
    if (!exe.empty()) {
        add(IncludeTrailingSeparator(exe));
        // An installed program keeps its shipped files in ../share/mavelo.
        add(InstalledDataFolder(exe));
    }
    // Then the system's data folders, for a program started from elsewhere.
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start && list[start] == '/')
            add(IncludeTrailingSeparator(JoinPath(list.substr(start, end - start), "mavelo")));
        start = end + 1;
    }
    return folders;
}

std::string FindResource(const std::string& name) {
    for (const auto& folder : ResourceFolders()) {
        std::string path = folder + name;
        if (FileExists(path)) return path;
    }
    return {};
}
