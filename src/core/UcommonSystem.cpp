// The parts of Ucommon that ask the system: user and host names, folder and
// file counts, file sizes.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/FileSystem.h"
#include "core/PumpEvents.h"
#include "core/Ucommon.h"
#include "core/Utf8.h"

namespace {
constexpr size_t kNameLimit = 255;

std::string NameOrDefault(std::string name, const char* fallback) {
    name = std::string(Utf8Prefix(name, kNameLimit));
    return name.empty() ? fallback : name;
}

std::string LoginNameFromSystem() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return entry->pw_name;
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable)) return value;
    return {};
}

bool IsHiddenName(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}
}  // namespace

std::string GetLoginName() {
    return NameOrDefault(LoginNameFromSystem(), "anonymous");
}

std::string GetHostNameOrDefault() {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) buffer[0] = 0;
    return NameOrDefault(buffer, "nohost");
}

int CountFolders(const std::string& folder) {
    if (!DirectoryExists(folder)) return 0;
    int count = 1;
    std::error_code ec;
    // Unreadable folders are counted but not entered; links are not followed.
    auto options = std::filesystem::directory_options::skip_permission_denied;
    for (std::filesystem::recursive_directory_iterator it(folder, options, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (!it->is_directory(ec) || it->is_symlink(ec)) continue;
        if (IsHiddenName(it->path())) {
            it.disable_recursion_pending();
            continue;
        }
        ++count;
        PumpEvents();
    }
    return count;
}

int CountFiles(const std::string& folder, std::string_view extension) {
    std::string wanted = ".";
    wanted += LowerAscii(extension);
    int count = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file(ec) && LowerAscii(it->path().extension().string()) == wanted)
            ++count;
    }
    return count;
}

int CountPlaylists(const std::string& folder) {
    const std::string path = ExcludeTrailingSeparator(folder);
    return CountFiles(path, "m3u") + CountFiles(path, "pls") + CountFiles(path, "b4s");
}

int64_t GetFileSizeBytes(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        throw std::system_error(errno, std::generic_category(), "Could not read " + path);
    if (S_ISDIR(st.st_mode))
        throw std::system_error(EISDIR, std::generic_category(), "Could not read " + path);
    return static_cast<int64_t>(st.st_size);
}
