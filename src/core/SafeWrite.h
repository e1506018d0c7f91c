#pragma once
// The one way the program replaces a file's contents.  A failure never damages
// the previous file, and the file keeps what makes it the user's file:
//
// - the new contents go to a temporary file with a unique name beside the
//   file (".NAME.mavelo-tmp-PID-XXXXXX", see core/TempFiles.h), which is
//   renamed over it once complete and flushed; the temporary file is removed
//   when anything fails, and no other name in the folder (an editor's
//   "NAME~") is ever touched;
// - a symbolic link is followed: the file it names is replaced (with the
//   temporary file beside that file) and the link stays a link;
// - a file with several hard links is rewritten in place, so that every name
//   sees the new contents: its old contents are first kept in a temporary
//   copy, which puts them back when the rewrite fails;
// - a name that exists and is not a regular file (a folder, a pipe, a device)
//   is refused;
// - permission bits (and, where allowed, owner and group) stay as they were.
#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>

// How a write ended.  On failure it says which file, what could not be done
// and the system's message, for the user to read.
struct TWriteResult {
    bool ok = true;
    std::string file;
    std::string reason;         // "cannot create a temporary file for", ...
    std::string systemMessage;  // the system's text for the error ("" when none)
    int error = 0;              // the errno value behind it (0 when none)

    explicit operator bool() const { return ok; }
    // "reason FILE: system message", or "" on success.
    std::string Text() const;
    // What went wrong without the file: the system's message, else the reason.
    std::string Why() const { return systemMessage.empty() ? reason : systemMessage; }

    static TWriteResult Success() { return {}; }
    // `error` is an errno value; 0 when the failure is not the system's.
    static TWriteResult Failure(std::string reason, std::string file, int error);
};

// Replaces the file's contents (creating it when missing) as described above.
TWriteResult WriteFileSafely(const std::string& path, std::string_view data);

// The failure of ReplaceFileContents, carrying the result; what() is its Text().
class EFileWriteError : public std::system_error {
  public:
    explicit EFileWriteError(TWriteResult result)
        : std::system_error(result.error ? result.error : EIO, std::generic_category()),
          result_(std::move(result)),
          text_(result_.Text()) {}
    const TWriteResult& Result() const { return result_; }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    TWriteResult result_;
    std::string text_;
};

// WriteFileSafely for callers that stop on the first error: throws
// EFileWriteError on failure.
void ReplaceFileContents(const std::string& path, std::string_view data);

// The file a write to `path` changes: symbolic links followed to the name they
// finally give (which need not exist yet).  False, with the errno value, when
// a link cannot be read or the links loop.
bool ResolveWriteTarget(const std::string& path, std::string& target, int& error);

// Keeps the file about to be replaced as "NAME.bak" beside the file itself
// (beside a link's target, so a link stays a link).  A copy, not a second
// name: a file with other hard links is rewritten in place, which a second
// name would follow.  The older backup is replaced only once the copy is
// complete.  A backup that cannot be made does not stop the save, which
// replaces the file safely anyway.
void KeepBackupCopy(const std::string& path);

// ReplaceFileContents that keeps what it replaces as "NAME.bak" (see
// KeepBackupCopy).  The file being replaced usually becomes the backup
// itself, under its second name, and the new contents a new file: nothing is
// copied.  A file that already has other names, or a file system without
// hard links, gets a copy instead.  The older backup stays until the new
// contents are written: a full disk, or a kill at any step, never leaves the
// file without a backup it had.
void ReplaceFileKeepingBackup(const std::string& path, std::string_view data);
