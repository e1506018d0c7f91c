#include "core/FolderReader.h"

#include <sys/syscall.h>
#include <unistd.h>

long ReadEntriesOfFolder(int folder, char* buffer, size_t size) {
    return syscall(SYS_getdents64, folder, buffer, size);
}

TEntryType EntryTypeOf(int folder, const dirent64& entry) {
    if (entry.d_type == DT_DIR) return TEntryType::Folder;
    if (entry.d_type == DT_REG) return TEntryType::File;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return TEntryType::Other;
    struct stat st {};
    if (fstatat(folder, entry.d_name, &st, 0) != 0) return TEntryType::Other;
    if (S_ISDIR(st.st_mode)) return TEntryType::Folder;
    return S_ISREG(st.st_mode) ? TEntryType::File : TEntryType::Other;
}
