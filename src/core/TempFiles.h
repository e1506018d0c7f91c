#pragma once
// The temporary files of the program's writers.  Every one has a name of one
// pattern beside the file it will become:
//
//     ".NAME.mavelo-tmp-PID-XXXXXX"   (or ".mavelo-tmp-PID-XXXXXX" when NAME
//                                      is too long for the suffix)
//
// hidden, naming the program and the process that made it.  A writer killed
// before it renamed its temporary file into place leaves it behind; the next
// time the program writes into that folder it removes the stale ones.  Only
// names of exactly this pattern are ever removed, and only when the process
// that made them is gone (and they have not changed for a minute) or they
// have not changed for an hour: a user's own file, or a write still running
// in another process, is never touched.
#include <sys/types.h>

#include <ctime>
#include <string>
#include <string_view>

// A new, empty file (mode 0600, closed on exec) with a unique temporary name
// beside `target`; its path goes to `path`.  -1 with errno set on failure.
// The first time a process writes into a folder, the stale temporary files
// of that folder are removed first (they may hold the space the write needs).
int CreateTemporaryFileBeside(const std::string& target, std::string& path);

// A second name for the file `existing`, made with link(), with a unique
// temporary name beside `target`; its path goes to `path`.  False with errno
// set when the link cannot be made.
bool LinkTemporaryNameBeside(const std::string& existing, const std::string& target,
                             std::string& path);

// The process that made a temporary file of this name (a name without
// folder); 0 when the name is not of the pattern.
pid_t TemporaryFileOwner(std::string_view name);

// True when a temporary file of that owner, last changed at `changed`, is
// left over from a writer that will not finish it.
bool IsStaleTemporaryFile(pid_t owner, std::time_t changed, std::time_t now);

// Removes the stale temporary files of the folder (not below it); returns
// how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder, std::time_t now);
