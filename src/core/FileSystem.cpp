#include "core/FileSystem.h"

#include "core/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

bool SamePath(std::string_view a, std::string_view b) {
    return a == b;
}

std::string PathKey(std::string_view path) {
    return std::string(path);
}

bool PathStartsWith(std::string_view path, std::string_view prefix) {
    return path.size() >= prefix.size() && SamePath(path.substr(0, prefix.size()), prefix);
}

bool IsPathUnder(std::string_view path, std::string_view folder) {
    if (folder.empty()) return false;
    if (folder.back() == '/') return path.size() > folder.size() && PathStartsWith(path, folder);
    return path.size() > folder.size() + 1 && PathStartsWith(path, folder) &&
           path[folder.size()] == '/';
}

std::string ExtractFilePath(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
    auto dot = path.rfind('.');
    auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view newExt) {
    std::string ext = ExtractFileExt(path);
    return std::string(path.substr(0, path.size() - ext.size())) + std::string(newExt);
}

std::string IncludeTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

std::string ExcludeTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    if (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return IncludeTrailingSeparator(folder) + std::string(name);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {
[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path) {
    throw std::system_error(errno, std::generic_category(), what + " " + path);
}
}  // namespace

std::string ReadWholeFile(const std::string& path) {
    // Without O_NONBLOCK, opening a pipe waits for a writer forever.
    TFileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.IsOpen()) ThrowFileError("Cannot open", path);
    std::string data;
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        fd.Reset();
        errno = EINVAL;
        ThrowFileError("Not a regular file:", path);
    }
    if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t n = read(fd.Get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowFileError("Cannot read", path);
        }
        if (n == 0) break;
        data.append(chunk, static_cast<size_t>(n));
    }
    return data;
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (from == to) return true;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace flag: check first, then rename.
    if (FileExists(to) || DirectoryExists(to)) {
        errno = EEXIST;
        return false;
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

int64_t TickCountMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
