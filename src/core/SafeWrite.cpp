#include "core/SafeWrite.h"

#include "core/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/FileSystem.h"
#include "core/TempFiles.h"

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

// The new contents, complete and flushed, in a temporary file beside
// `target` with the permissions (and, where allowed, owner) of `old`; its
// name goes to `temp`.  Nothing is left behind on failure.
TWriteResult WriteTemporaryBeside(const std::string& target, const struct stat* old,
                                  std::string_view data, std::string& temp) {
    TFileDescriptor fd(CreateTemporaryFileBeside(target, temp));
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
    return TWriteResult::Success();
}

// Puts the complete temporary file in the target's place.
TWriteResult RenameIntoPlace(const std::string& temp, const std::string& target) {
    if (rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        return TWriteResult::Failure("cannot replace", target, error);
    }
    SyncFolderOf(target);
    return TWriteResult::Success();
}

// The usual case: a complete temporary file renamed over the target.
TWriteResult ReplaceByRename(const std::string& target, const struct stat* old,
                             std::string_view data) {
    std::string temp;
    if (TWriteResult written = WriteTemporaryBeside(target, old, data, temp); !written)
        return written;
    return RenameIntoPlace(temp, target);
}

// Gives a temporary file that must stay a name outside the temporary
// pattern ("NAME.previous", "NAME.previous-2", ...); its path, or the
// temporary one when no such name can be had.
std::string KeepUnderOwnName(const std::string& temp, const std::string& target) {
    for (int n = 1; n < 100; ++n) {
        const std::string name =
            target + ".previous" + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (RenameWithoutReplacing(temp, name)) return name;
        if (errno != EEXIST) break;
    }
    return temp;
}

// Why a name that is not a regular file cannot be written.
TWriteResult NotARegularFile(const std::string& target, mode_t mode) {
    TWriteResult result = TWriteResult::Failure("cannot replace", target, S_ISDIR(mode) ? EISDIR : 0);
    result.systemMessage = S_ISDIR(mode)    ? "it is a folder, not a regular file"
                           : S_ISFIFO(mode) ? "it is a named pipe, not a regular file"
                           : S_ISSOCK(mode) ? "it is a socket, not a regular file"
                                            : "it is a device, not a regular file";
    return result;
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
        TFileDescriptor copyFd(CreateTemporaryFileBeside(target, copy));
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
    // The copy now holds the only whole contents: it leaves the temporary
    // names, which are removed once stale.
    const std::string kept = KeepUnderOwnName(copy, target);
    return TWriteResult::Failure("cannot write (the previous contents are kept in " + kept + ")",
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
    if (!S_ISREG(st.st_mode)) return NotARegularFile(target, st.st_mode);
    if (st.st_nlink > 1) return RewriteInPlace(target, st, data);
    return ReplaceByRename(target, &st, data);
}

void ReplaceFileContents(const std::string& path, std::string_view data) {
    TWriteResult result = WriteFileSafely(path, data);
    if (!result) throw EFileWriteError(std::move(result));
}

namespace {

bool SameFile(const struct stat& a, const std::string& other) {
    struct stat b {};
    return lstat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file `target` (described by `st`) becomes "NAME.bak" under a second
// name, without a moment in which there is no backup: the new name is made
// under a temporary name and renamed over the older backup.  Nothing when
// the backup already is this file (a save interrupted after this step).
bool LinkAsBackup(const std::string& target, const struct stat& st, const std::string& backup) {
    if (SameFile(st, backup)) return true;
    std::string temp;
    if (!LinkTemporaryNameBeside(target, backup, temp)) return false;
    if (rename(temp.c_str(), backup.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace

void KeepBackupCopy(const std::string& path) {
    std::string target;
    int error = 0;
    struct stat st {};
    if (!ResolveWriteTarget(path, target, error) || stat(target.c_str(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return;
    // The copy replaces the older backup by a rename once it is complete: a
    // full disk keeps the older one.  The rename also parts a backup that
    // shared the file's data, so the file's own save is no in-place rewrite.
    try {
        ReplaceByRename(target + ".bak", &st, ReadWholeFile(target));
    } catch (const std::exception&) {
    }
}

void ReplaceFileKeepingBackup(const std::string& path, std::string_view data) {
    std::string target;
    int error = 0;
    struct stat st {};
    if (ResolveWriteTarget(path, target, error) && stat(target.c_str(), &st) == 0 &&
        S_ISREG(st.st_mode) && (st.st_nlink == 1 || (st.st_nlink == 2 && SameFile(st, target + ".bak")))) {
        // The new contents are complete before anything changes; then the
        // file becomes the backup and the new file takes its name.  At every
        // moment the name holds the old or the new contents and "NAME.bak"
        // an older backup, the old contents or (after a kill between the
        // two renames) both.
        std::string temp;
        if (TWriteResult written = WriteTemporaryBeside(target, &st, data, temp); !written)
            throw EFileWriteError(std::move(written));
        if (!LinkAsBackup(target, st, target + ".bak")) KeepBackupCopy(target);
        if (TWriteResult renamed = RenameIntoPlace(temp, target); !renamed)
            throw EFileWriteError(std::move(renamed));
        return;
    }
    KeepBackupCopy(path);
    ReplaceFileContents(path, data);
}
