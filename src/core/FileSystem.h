#pragma once
// File and path helpers shared by the whole model.  Paths use "/" and are
// UTF-8; whether two paths name the same file is decided by SamePath alone.
#include <cstdint>
#include <string>
#include <string_view>

// True when both paths name the same catalogue entry.  Linux file systems are
// case-sensitive, so paths compare exactly; this is the one place to change
// for a case-insensitive build.
bool SamePath(std::string_view a, std::string_view b);
// The form of a path used as a lookup key (see SamePath).
std::string PathKey(std::string_view path);
// True when `path` begins with `prefix` under the path comparison rule.
bool PathStartsWith(std::string_view path, std::string_view prefix);
// True when `path` lies inside `folder`: it begins with the folder followed by
// a separator (a folder that already ends with "/" needs none).  "Music2/x"
// is not under "Music".
bool IsPathUnder(std::string_view path, std::string_view folder);

// Folder part of a path including its trailing "/" ("" when there is none).
std::string ExtractFilePath(std::string_view path);
// File name part of a path (after the last "/").
std::string ExtractFileName(std::string_view path);
// Extension with its dot (".mp3"), "" when the name has none.
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view newExt);
std::string IncludeTrailingSeparator(std::string_view folder);
// Removes one trailing "/" unless the folder is the root "/".
std::string ExcludeTrailingSeparator(std::string_view folder);
// Joins a folder and a name with exactly one "/" between them.
std::string JoinPath(std::string_view folder, std::string_view name);

bool FileExists(const std::string& path);       // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);  // a folder (or a link to one)

// Whole-file read of a regular file (opening never waits on a pipe or
// device); throws std::system_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Renames a file or folder without replacing what is already at `to`: a
// taken name is a failure, so a rename never silently destroys another file.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

// Milliseconds from a monotonic clock (the tick count used to time operations).
int64_t TickCountMs();
