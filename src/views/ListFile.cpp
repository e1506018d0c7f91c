#include "views/ListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "collection/UIo.h"
#include "core/FileDescriptor.h"
#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "views/Catalogue.h"

namespace {
std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

void ReadRoots(TLoadSave& stream, const std::string& path, TRootList& roots) {
    const int32_t count = stream.ReadInteger();
    std::vector<std::string> stored;
    for (int32_t i = 0; i < count; ++i) stored.push_back(stream.ReadString());
    // A disc's list has one root: its own folder, wherever the disc is mounted.
    if (ListKindOf(path) == TListKind::AutoLaunch)
        stored = {ExcludeTrailingSeparator(ListBaseFolder(path))};
    roots.Assign(stored);
}

void WriteRoots(TLoadSave& stream, const std::string& path, const TRootList& roots) {
    if (ListKindOf(path) == TListKind::AutoLaunch) {
        stream.WriteInteger(1);
        stream.WriteString(ExcludeTrailingSeparator(ListBaseFolder(path)));
        return;
    }
    stream.WriteInteger(static_cast<int32_t>(roots.Count()));
    for (const auto& root : roots.Folders()) stream.WriteString(root);
}

// Reads everything after the version; throws on the first failing read.
void ReadListBody(TLoadSave& stream, const std::string& path, TCatalogue& catalogue,
                  int32_t& coverQuality, TProgress* progress) {
    const std::string base = ListBaseFolder(path);
    ReadRoots(stream, path, catalogue.Roots);
    coverQuality = stream.ReadInteger();
    catalogue.Directory.ReadAlbums(stream, base, progress);
    catalogue.Filters.ReadBlock(stream);
    catalogue.Selections.Read(stream, catalogue.Albums());
}

void WriteListBody(TLoadSave& stream, const std::string& path, const TCatalogue& catalogue,
                   int32_t coverQuality, TProgress* progress) {
    stream.WriteInteger(kListFileVersion);
    WriteRoots(stream, path, catalogue.Roots);
    stream.WriteInteger(coverQuality);
    catalogue.Directory.WriteAlbums(stream, ListBaseFolder(path), progress);
    catalogue.Filters.WriteBlock(stream);
    catalogue.Selections.Write(stream, catalogue.Albums());
}

// About the size of the file, so that the whole of it is buffered in one go.
size_t EstimatedListSize(const TCatalogue& catalogue) {
    size_t bytes = 4096;
    for (const auto& entry : catalogue.Albums()) {
        const Tm3u& album = *entry.object;
        bytes += 64 + entry.key.size() + album.Artist.size() + album.Album.size() +
                 album.Genre.size() + album.CachedCover.size();
        for (const auto& track : album.Tracks)
            bytes += 48 + track.key.size() + track.object->Title.size() +
                     track.object->Artist.size() + track.object->Album.size() +
                     track.object->Genre.size() + track.object->PicturePath.size();
    }
    return bytes;
}

void ClearContents(TCatalogue& catalogue) {
    catalogue.View.Clear();
    catalogue.Selections.Clear();
    catalogue.Directory.List.Clear();
    catalogue.Filters.CloseList();
    catalogue.Roots.Clear();
}
}  // namespace

TListKind ListKindOf(const std::string& path) {
    return LowerAscii(ExtractFileExt(path)) == ".cmo" ? TListKind::AutoLaunch : TListKind::Ordinary;
}

std::string ListBaseFolder(const std::string& path) {
    if (ListKindOf(path) == TListKind::Ordinary) return {};
    return ExtractFilePath(AbsolutePath(path));
}

TListLoadResult LoadList(const TReadSource& source, TCatalogue& catalogue, int32_t& coverQuality,
                         std::vector<std::string>& recentFiles, TProgress* progress) {
    const int64_t start = TickCountMs();
    const std::string& path = source.Name();
    TListLoadResult result;
    ClearContents(catalogue);
    if (!source.Exists()) {
        result.status = TListLoadStatus::Missing;
        return result;
    }
    try {
        TLoadSave stream;
        try {
            stream.Open(source);
        } catch (const std::system_error& e) {
            result.status = TListLoadStatus::Unreadable;
            result.error = e.what();
            return result;
        }
        result.version = stream.ReadInteger();
        if (result.version != kListFileVersion) {
            result.status = TListLoadStatus::WrongVersion;
            return result;
        }
        ReadListBody(stream, path, catalogue, coverQuality, progress);
        if (!source.InMemory()) AddRecentFile(recentFiles, path);
    } catch (const std::exception& e) {
        // What was read stays: the albums before the damage are kept.
        result.status = TListLoadStatus::Damaged;
        result.error = e.what();
    }
    result.albums = catalogue.Albums().Count();
    result.elapsedMs = TickCountMs() - start;
    return result;
}

std::string DescribeLoadResult(const TListLoadResult& result) {
    const std::string albums = std::to_string(result.albums) + " albums";
    switch (result.status) {
        case TListLoadStatus::Loaded:
            return "loaded, " + albums;
        case TListLoadStatus::Damaged:
            return "damaged or truncated: " + albums + " read (" + result.error + ")";
        case TListLoadStatus::WrongVersion:
            return "incorrect file format or version (" + std::to_string(result.version) +
                   " instead of " + std::to_string(kListFileVersion) + ")";
        case TListLoadStatus::Missing:
            return "no such file";
        case TListLoadStatus::Unreadable:
            return "cannot be read (" + result.error + ")";
    }
    return {};
}

namespace {

// The steps every save shares: the timing, the progress reset, the error
// text, the recent files; `write` writes (or leaves) the file.
template <typename Write>
TListSaveResult SaveWith(const std::string& path, const TCatalogue& catalogue,
                         std::vector<std::string>& recentFiles, Write write) {
    const int64_t start = TickCountMs();
    TListSaveResult result;
    try {
        write(result);
        result.saved = true;
        AddRecentFile(recentFiles, path);
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    result.albums = catalogue.Albums().Count();
    result.elapsedMs = TickCountMs() - start;
    return result;
}

// True when the file is a regular file whose bytes are exactly `bytes`.
bool FileHolds(const std::string& path, std::string_view bytes) {
    TFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!file.IsOpen() || fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        size_t(st.st_size) != bytes.size())
        return false;
    std::string chunk(std::min<size_t>(bytes.size(), 1 << 20), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pread(file.Get(), chunk.data(),
                                std::min(chunk.size(), bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || std::memcmp(chunk.data(), bytes.data() + done, size_t(n)) != 0)
            return false;
        done += size_t(n);
    }
    // Grown while it was read: not the same file any more.
    char more;
    return pread(file.Get(), &more, 1, off_t(done)) == 0;
}

void ReplaceList(const std::string& path, std::string_view bytes, TBackupRule backup) {
    if (backup == TBackupRule::Replace)
        ReplaceFileKeepingBackup(path, bytes);
    else
        ReplaceFileContents(path, bytes);
}

}  // namespace

TListSaveResult SaveList(const std::string& path, const TCatalogue& catalogue, int32_t coverQuality,
                         std::vector<std::string>& recentFiles, TBackupRule backup,
                         TProgress* progress) {
    return SaveWith(path, catalogue, recentFiles, [&](TListSaveResult&) {
        // The list is encoded whole before the file is touched: a failure
        // while encoding leaves the file as it was.
        TLoadSave stream;
        stream.OpenWriteToMemory();
        stream.Reserve(EstimatedListSize(catalogue));
        WriteListBody(stream, path, catalogue, coverQuality, progress);
        ReplaceList(path, stream.Bytes(), backup);
    });
}

TListSaveResult SaveListIfChanged(const std::string& path, const TCatalogue& catalogue,
                                  int32_t coverQuality, std::vector<std::string>& recentFiles,
                                  TBackupRule backup, TProgress* progress) {
    return SaveWith(path, catalogue, recentFiles, [&](TListSaveResult& result) {
        TLoadSave stream;
        stream.OpenWriteToMemory();
        stream.Reserve(EstimatedListSize(catalogue));
        WriteListBody(stream, path, catalogue, coverQuality, progress);
        if (FileHolds(path, stream.Bytes()))
            result.unchanged = true;
        else
            ReplaceList(path, stream.Bytes(), backup);
    });
}

void CloseList(TCatalogue& catalogue) {
    ClearContents(catalogue);
    catalogue.CurrentFile.clear();
    catalogue.ListModified = false;
}

TListLoadResult OpenListFile(const std::string& path, TCatalogue& catalogue, int32_t& coverQuality,
                             std::vector<std::string>& recentFiles, TProgress* progress) {
    CloseList(catalogue);
    catalogue.CurrentFile = path;
    TListLoadResult result = LoadList(path, catalogue, coverQuality, recentFiles, progress);
    if (result.status == TListLoadStatus::Missing) catalogue.CurrentFile.clear();
    return result;
}

TListSaveResult SaveListFile(TCatalogue& catalogue, int32_t coverQuality,
                             std::vector<std::string>& recentFiles, TProgress* progress) {
    TListSaveResult result = SaveList(catalogue.CurrentFile, catalogue, coverQuality, recentFiles,
                                      TBackupRule::Replace, progress);
    if (result.saved) catalogue.ListModified = false;
    return result;
}

void AddRecentFile(std::vector<std::string>& recentFiles, std::string path) {
    // `path` is a copy: it may name an entry that the erase below moves.
    std::erase_if(recentFiles, [&](const std::string& entry) { return SamePath(entry, path); });
    recentFiles.insert(recentFiles.begin(), std::move(path));
    if (recentFiles.size() > kMaxRecentFiles) recentFiles.resize(kMaxRecentFiles);
}

bool CoversNeedCaching(const TDirectory& directory, bool cacheCovers) {
    if (!cacheCovers) return false;
    return std::any_of(directory.List.begin(), directory.List.end(), [](const auto& entry) {
        const Tm3u& album = *entry.object;
        const std::string picture = album.PictureFile();
        return album.CachedCover.empty() && !picture.empty() && FileExists(picture);
    });
}

std::string RecoveryListPath(const std::string& folder, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string stem = folder + "recovered-" + stamp;
    // Any name already there, even a dangling link, is left alone.
    const auto taken = [](const std::string& name) {
        struct stat st {};
        return lstat(name.c_str(), &st) == 0;
    };
    std::string path = stem + ".mvo";
    for (int n = 2; taken(path); ++n) path = stem + "-" + std::to_string(n) + ".mvo";
    return path;
}
