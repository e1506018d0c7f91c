#include "core/SafeWrite.h"

#include "core/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/FileSystem.h"
#include "core/Ulang.h"

std::string TWriteResult::Text() const {
    if (ok) return {};
    std::string text = reason + " " + file;
    if (!systemMessage.empty()) text += ": " + systemMessage;
    return text;
}

TWriteResult TWriteResult::Failure(std::string reason, std::string file, int error) {
    TWriteResult result;
    result.ok = false;
    result.reason = std::move(reason);
    result.file = std::move(file);
    result.error = error;
    if (error != 0) result.systemMessage = std::strerror(error);
    return result;
}

std::string FailureMessage(const char* key, const char* english, const std::string& file,
                           const TWriteResult& result) {
    return LangText(key, english) + " " + file + ": " + result.Why();
}

namespace {

bool WriteAllAt(int fd, std::string_view data, off_t offset) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n =
            pwrite(fd, data.data() + done, data.size() - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A new, empty file with a unique name beside `target`; its name goes to `name`.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
    std::vector<std::string> patterns = {target + ".XXXXXX"};
    // A name near the length limit has no room for the suffix.
    patterns.push_back(ExtractFilePath(target) + ".mavelo.XXXXXX");
    int fd = -1;
    for (const std::string& pattern : patterns) {
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        fd = mkostemp(buffer.data(), O_CLOEXEC);
        if (fd >= 0) {
            name = buffer.data();
            return fd;
        }
        if (errno != ENAMETOOLONG) break;
    }
    return fd;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncFolderOf(const std::string& path) {
    std::string folder = ExtractFilePath(path);
    if (folder.empty()) folder = ".";
    TFileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) fsync(dir.Get());
}

// The usual case: a complete temporary file renamed over the target.
TWriteResult ReplaceByRename(const std::string& target, const struct stat* old,
                             std::string_view data) {
    std::string temp;
    TFileDescriptor fd(CreateTemporaryBeside(target, temp));
    if (!fd.IsOpen())
        return TWriteResult::Failure("cannot create a temporary file for", target, errno);
    auto fail = [&](const char* reason) {
        const int error = errno;
        fd.Close();
        unlink(temp.c_str());
        return TWriteResult::Failure(reason, target, error);
    };
    if (!WriteAllAt(fd.Get(), data, 0) || fsync(fd.Get()) != 0) return fail("cannot write");
    if (old) {
        // Root saving a user's file leaves it the user's; others cannot and need not.
        if (fchown(fd.Get(), old->st_uid, old->st_gid) != 0) errno = 0;
        fchmod(fd.Get(), old->st_mode & 07777);
    } else {
        fchmod(fd.Get(), NewFileMode());
    }
    if (!fd.Close()) return fail("cannot write");
    if (rename(temp.c_str(), target.c_str()) != 0) return fail("cannot replace");
    SyncFolderOf(target);
    return TWriteResult::Success();
}

// A file with other hard links: the old contents go to a copy, the new ones
// over the file itself; the copy puts the old ones back when that fails.
TWriteResult RewriteInPlace(const std::string& target, const struct stat& old,
                            std::string_view data) {
    std::string oldData;
    try {
        oldData = ReadWholeFile(target);
    } catch (const std::system_error& e) {
        return TWriteResult::Failure("cannot read", target, e.code().value());
    }
    std::string copy;
    {
        TFileDescriptor copyFd(CreateTemporaryBeside(target, copy));
        if (!copyFd.IsOpen())
            return TWriteResult::Failure("cannot create a temporary file for", target, errno);
        if (!WriteAllAt(copyFd.Get(), oldData, 0) || fsync(copyFd.Get()) != 0 || !copyFd.Close()) {
            const int error = errno;
            unlink(copy.c_str());
            return TWriteResult::Failure("cannot keep a copy of", target, error);
        }
    }
    TFileDescriptor fd(open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        const int error = errno;
        unlink(copy.c_str());
        return TWriteResult::Failure("cannot open", target, error);
    }
    auto writeContents = [&](std::string_view bytes) {
        if (bytes.size() > static_cast<size_t>(old.st_size)) {
            // Room for all of it first: a full disk fails before anything changed.
            const int error = posix_fallocate(fd.Get(), 0, static_cast<off_t>(bytes.size()));
            if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
                errno = error;
                return false;
            }
        }
        return WriteAllAt(fd.Get(), bytes, 0) &&
               ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) == 0 && fsync(fd.Get()) == 0;
    };
    if (writeContents(data)) {
        if (!fd.Close()) {
            const int error = errno;
            return TWriteResult::Failure("cannot write", target, error);
        }
        unlink(copy.c_str());
        return TWriteResult::Success();
    }
    const int error = errno;
    if (writeContents(oldData)) {
        unlink(copy.c_str());
        return TWriteResult::Failure("cannot write", target, error);
    }
    return TWriteResult::Failure("cannot write (the previous contents are kept in " + copy + ")",
                                 target, error);
}

}  // namespace

bool ResolveWriteTarget(const std::string& path, std::string& target, int& error) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT) return true;  // a new file, or a link to one
            error = errno;
            return false;
        }
        if (!S_ISLNK(st.st_mode)) return true;
        std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = readlink(target.c_str(), buffer.data(), buffer.size());
        if (n < 0 || static_cast<size_t>(n) >= buffer.size()) {
            error = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        const std::string link(buffer.data(), static_cast<size_t>(n));
        target = link.starts_with('/') ? link : ExtractFilePath(target) + link;
    }
    error = ELOOP;
    return false;
}

TWriteResult WriteFileSafely(const std::string& path, std::string_view data) {
    std::string target;
    int error = 0;
    if (path.empty()) return TWriteResult::Failure("no file name given", path, 0);
    if (!ResolveWriteTarget(path, target, error))
        return TWriteResult::Failure("cannot follow the link", path, error);
    struct stat st {};
    if (stat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) return TWriteResult::Failure("cannot examine", target, errno);
        return ReplaceByRename(target, nullptr, data);
    }
    if (!S_ISREG(st.st_mode)) return TWriteResult::Failure("not a regular file:", target, 0);
    if (st.st_nlink > 1) return RewriteInPlace(target, st, data);
    return ReplaceByRename(target, &st, data);
}

void ReplaceFileContents(const std::string& path, std::string_view data) {
    TWriteResult result = WriteFileSafely(path, data);
    if (!result) throw EFileWriteError(std::move(result));
}

void KeepBackupCopy(const std::string& path) {
    std::string target;
    int error = 0;
    if (!ResolveWriteTarget(path, target, error) || !FileExists(target)) return;
    const std::string backup = target + ".bak";
    // Ours to replace; an old backup that shares the file's data must not
    // make the file's own save an in-place rewrite.
    unlink(backup.c_str());
    try {
        WriteFileSafely(backup, ReadWholeFile(target));
    } catch (const std::exception&) {
    }
}

void ReplaceFileKeepingBackup(const std::string& path, std::string_view data) {
    std::string target;
    int error = 0;
    struct stat st {};
    if (ResolveWriteTarget(path, target, error) && stat(target.c_str(), &st) == 0 &&
        S_ISREG(st.st_mode) && st.st_nlink == 1) {
        const std::string backup = target + ".bak";
        unlink(backup.c_str());
        if (link(target.c_str(), backup.c_str()) == 0) {
            // The rename gives the name a new file and leaves the old one to
            // the backup.  A failed write leaves the file as it was, with
            // one name again.
            TWriteResult result = ReplaceByRename(target, &st, data);
            if (result) return;
            unlink(backup.c_str());
            throw EFileWriteError(std::move(result));
        }
    }
    KeepBackupCopy(path);
    ReplaceFileContents(path, data);
}
