#include "core/TempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>
#include <unordered_set>
#include <vector>

#include "core/FileSystem.h"

namespace {

constexpr std::string_view kMark = "mavelo-tmp-";
constexpr size_t kRandomLength = 6;
// A writer keeps changing its file while it writes; one left alone this
// long by a process that is gone, or this long by anyone, is finished with.
constexpr std::time_t kGoneOwnerQuiet = 60;
constexpr std::time_t kAnyOwnerQuiet = 60 * 60;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The names to try for a temporary file of `target`, without the random
// part: ".NAME.mavelo-tmp-PID-", then ".mavelo-tmp-PID-" for a NAME too long
// to take the suffix.
std::vector<std::string> NameStems(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    const std::string owner = std::string(kMark) + std::to_string(getpid()) + "-";
    return {folder + "." + ExtractFileName(target) + "." + owner, folder + "." + owner};
}

std::string FolderOf(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    return folder.empty() ? std::string(".") : folder;
}

// Stale files are looked for once per folder and process: this process
// leaves none behind while it runs.
void RemoveStaleOnceIn(const std::string& folder) {
    static std::mutex mutex;
    static std::unordered_set<std::string> cleaned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!cleaned.insert(folder).second) return;
    }
    RemoveStaleTemporaryFiles(folder, std::time(nullptr));
}

bool OwnerIsGone(pid_t owner) {
    if (owner == getpid()) return false;
    return kill(owner, 0) != 0 && errno == ESRCH;
}

std::string RandomPart() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<size_t> pick(0, sizeof(kChars) - 2);
    std::string part;
    for (size_t i = 0; i < kRandomLength; ++i) part += kChars[pick(device)];
    return part;
}

}  // namespace

int CreateTemporaryFileBeside(const std::string& target, std::string& path) {
    RemoveStaleOnceIn(FolderOf(target));
    int fd = -1;
    for (const std::string& stem : NameStems(target)) {
        std::string pattern = stem + std::string(kRandomLength, 'X');
        fd = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) {
            path = pattern;
            return fd;
        }
        if (errno != ENAMETOOLONG) break;
    }
    return fd;
}

bool LinkTemporaryNameBeside(const std::string& existing, const std::string& target,
                             std::string& path) {
    RemoveStaleOnceIn(FolderOf(target));
    for (const std::string& stem : NameStems(target)) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string candidate = stem + RandomPart();
            if (link(existing.c_str(), candidate.c_str()) == 0) {
                path = candidate;
                return true;
            }
            if (errno != EEXIST) break;
        }
        if (errno != ENAMETOOLONG) return false;
    }
    return false;
}

pid_t TemporaryFileOwner(std::string_view name) {
    if (name.size() < kRandomLength + 1) return 0;
    const std::string_view random = name.substr(name.size() - kRandomLength);
    for (char c : random)
        if (!IsAsciiAlnum(c)) return 0;
    std::string_view rest = name.substr(0, name.size() - kRandomLength);
    if (!rest.ends_with('-')) return 0;
    rest.remove_suffix(1);
    const size_t mark = rest.rfind(kMark);
    if (mark == std::string_view::npos) return 0;
    const std::string_view digits = rest.substr(mark + kMark.size());
    if (!AllDigits(digits) || digits.size() > 9) return 0;
    // Before the mark: "." alone, or "." NAME "." with a name.
    const std::string_view prefix = rest.substr(0, mark);
    const bool shortForm = prefix == ".";
    const bool longForm = prefix.size() >= 3 && prefix.front() == '.' && prefix.back() == '.';
    if (!shortForm && !longForm) return 0;
    const long owner = std::strtol(std::string(digits).c_str(), nullptr, 10);
    return owner > 0 ? static_cast<pid_t>(owner) : 0;
}

bool IsStaleTemporaryFile(pid_t owner, std::time_t changed, std::time_t now) {
    const std::time_t quiet = now - changed;
    if (quiet >= kAnyOwnerQuiet) return true;
    return quiet >= kGoneOwnerQuiet && OwnerIsGone(owner);
}

int RemoveStaleTemporaryFiles(const std::string& folder, std::time_t now) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        const pid_t owner = TemporaryFileOwner(name);
        if (owner == 0) continue;
        struct stat st {};
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode)) continue;
        if (IsStaleTemporaryFile(owner, st.st_mtime, now)) stale.emplace_back(name);
    }
    int removed = 0;
    for (const std::string& name : stale)
        if (unlinkat(dirfd(dir), name.c_str(), 0) == 0) ++removed;
    closedir(dir);
    return removed;
}
