#pragma once
// Reads the entries of an open folder: the one directory reader of the
// scan's walk and the playlist builder.  Entries are read with getdents64
// into a buffer the caller keeps from folder to folder (opendir would look
// at the folder a second time and allocate a buffer for each).  A read that
// fails partway is an error, never the end of the listing: a folder known
// only in part must not look like a folder that lost its files.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>
#include <vector>

enum class TEntryType { Folder, File, Other };

// One chunk of a folder's entries into the buffer, as getdents64 gives them:
// the bytes filled, 0 at the end, -1 with errno on an error.  Tests hand in
// one that fails partway.
using TReadEntries = long (*)(int folder, char* buffer, size_t size);
long ReadEntriesOfFolder(int folder, char* buffer, size_t size);

// What an entry is, following links: links and file systems that give no
// type answer one query.
TEntryType EntryTypeOf(int folder, const dirent64& entry);

// Calls `onEntry(std::string_view name, TEntryType type, const dirent64&)`
// for each entry other than "." and "..".  Returns 0 once every entry was
// read, else the errno of the read that failed (the entries read before it
// were given all the same).
template <typename OnEntry>
int ReadFolder(int folder, std::vector<char>& buffer, OnEntry&& onEntry,
               TReadEntries read = ReadEntriesOfFolder) {
    if (buffer.size() < 32 * 1024) buffer.resize(32 * 1024);
    for (;;) {
        const long filled = read(folder, buffer.data(), buffer.size());
        if (filled == 0) return 0;
        if (filled < 0) {
            if (errno == EINTR) continue;
            return errno != 0 ? errno : EIO;
        }
        for (long at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += entry->d_reclen;
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            onEntry(name, EntryTypeOf(folder, *entry), *entry);
        }
    }
}
