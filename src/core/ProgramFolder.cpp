#include "core/ProgramFolder.h"

#include <unistd.h>

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
    if (folder.empty()) {
        folder = ExecutableFolder(argv0);
        if (!IsWritableFolder(folder)) folder = XdgDataFolder();
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto absolute = std::filesystem::absolute(folder, ec);
    g_programFolder = IncludeTrailingSeparator(ec ? folder : absolute.lexically_normal().string());
}

const std::string& ProgramFolder() {
    if (g_programFolder.empty()) InitProgramFolder("", "");
    return g_programFolder;
}

std::vector<std::string> ResourceFolders() {
    std::vector<std::string> folders{ProgramFolder()};
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        folders.push_back(IncludeTrailingSeparator(exe.parent_path().string()));
        // An installed program keeps its shipped files in ../share/mavelo.
        folders.push_back(IncludeTrailingSeparator(
            (exe.parent_path().parent_path() / "share" / "mavelo").lexically_normal().string()));
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
