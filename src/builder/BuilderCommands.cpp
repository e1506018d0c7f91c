// The builder's commands on playlists, renames and drops.
#include "builder/BuilderCommands.h"

#include <unistd.h>

#include <algorithm>

#include "collection/PlaylistFormat.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

std::unique_ptr<Tm3u> RefreshedAlbum(const std::string& playlistPath, const TBuilderTools& tools) {
    auto album = std::make_unique<Tm3u>(TSharedText(playlistPath));
    album->Refresh(true, tools.ReadTags);
    if (tools.MeasureTrack) album->MeasureTracks(tools.MeasureTrack);
    return album;
}

TWriteResult WriteInOwnFormat(Tm3u& album) {
    return album.WritePlaylist(album.PlaylistType());
}

// ---- Create playlist ----

std::unique_ptr<Tm3u> AlbumFromFiles(const std::vector<std::string>& files,
                                     const TBuilderTools& tools) {
    auto album = std::make_unique<Tm3u>();
    for (const auto& file : files) {
        Tmp3& track = album->Tracks[album->AddTrack(TSharedText(file), false)];
        if (tools.ReadTags)
            tools.ReadTags(track);
        else
            track.ReadTags();
    }
    album->DeriveFromTracks();
    if (tools.MeasureTrack) album->MeasureTracks(tools.MeasureTrack);
    return album;
}

std::string NewPlaylistFileName(const std::string& typedName, TPlaylistType format) {
    std::string name = typedName;
    if (IsPlaylistPath(name)) name.resize(name.rfind('.'));
    const std::string_view extension = PlaylistFormatFor(format).extension;
    return name + "." + std::string(extension);
}

TBuilderResult CreatePlaylist(Tm3u& album, const std::string& path, TPlaylistType format,
                              bool overwrite) {
    if (FileExists(path) && !overwrite) return TBuilderResult::Failure("CouldNotAddAudio", path);
    album.PlaylistPath = path;
    if (const TWriteResult written = album.WritePlaylist(format); !written)
        return TBuilderResult::WriteFailure("CouldNotAddAudio", path, written);
    return TBuilderResult::Success();
}

TCreateSource GatherCreateSource(const std::vector<BuilderNode*>& selected,
                                 int32_t selectionClass) {
    TCreateSource source;
    if (selected.empty()) return source;
    const BuilderNode* first = selected.front();
    switch (selectionClass) {
        case KindFolder:
            source.Folder = first->Path;
            for (const auto& child : first->Children)
                if (child->Kind == KindOrphan) source.Files.push_back(child->Path);
            return source;
        case KindOrphan:
        case SelectionOrphans: {
            // In tree order, whatever order they were selected in.
            const BuilderNode* folder = first->Parent;
            for (const auto& child : folder->Children)
                if (std::find(selected.begin(), selected.end(), child.get()) != selected.end())
                    source.Files.push_back(child->Path);
            source.Folder = folder->Path;
            return source;
        }
        default:
            source.Folder = first->Parent ? first->Parent->Path : first->Path;
            if (first->Kind == KindEntry && first->Parent && first->Parent->Parent)
                source.Folder = first->Parent->Parent->Path;  // the playlist's folder
            return source;
    }
}

// ---- Playlist entries ----

TWriteResult RemoveTracks(const std::string& playlistPath, const std::vector<std::string>& paths,
                          const TBuilderTools& tools) {
    auto album = RefreshedAlbum(playlistPath, tools);
    album->Tracks.RemoveUnless([&](const Tmp3& track) {
        return std::none_of(paths.begin(), paths.end(),
                            [&](const std::string& p) { return SameTextAscii(track.Path, p); });
    });
    return WriteInOwnFormat(*album);
}

bool MoveTrack(const std::string& playlistPath, const std::string& entryPath, bool up,
               const TBuilderTools& tools) {
    auto album = RefreshedAlbum(playlistPath, tools);
    const std::string wanted = LowerAscii(entryPath);
    const size_t count = album->Tracks.Count();
    for (size_t i = 0; i < count; ++i) {
        if (LowerAscii(album->Tracks[i].Path) != wanted) continue;
        if (up ? i == 0 : i + 1 == count) return false;
        album->Tracks.Move(i, up ? i - 1 : i + 1);
        return bool(WriteInOwnFormat(*album));
    }
    return false;
}

TBuilderResult AddFilesToPlaylist(const std::string& playlistPath,
                                  const std::vector<std::string>& files,
                                  const std::string& insertAfter, const TBuilderTools& tools) {
    auto album = RefreshedAlbum(playlistPath, tools);
    std::string after = insertAfter;
    for (const auto& file : files) {
        if (after.empty()) {
            album->AddTrack(TSharedText(file), true);
        } else {
            album->InsertTrack(TSharedText(file), true, after);
            after = file;
        }
    }
    if (const TWriteResult written = WriteInOwnFormat(*album); !written)
        return TBuilderResult::WriteFailure("CouldNotAddAudio", playlistPath, written);
    return TBuilderResult::Success();
}

// ---- Renaming by editing ----

namespace {

bool IsSameOrUnder(const std::string& path, const std::string& folder) {
    return SamePath(path, folder) || IsPathUnder(path, folder);
}

TRenameResult Failed(TBuilderResult failure) {
    return {TRenameOutcome::Failed, std::move(failure)};
}

TRenameResult RenameFolderNode(BuilderNode& root, BuilderNode& node, const std::string& newText) {
    if (newText.empty()) return {};
    const std::string oldPath = node.Path;
    const std::string newPath = ExtractFilePath(ExcludeTrailingSeparator(oldPath)) + newText;
    TBuilderResult moved = MoveFileOrFolder(oldPath, newPath);
    if (!moved) return Failed(moved);
    node.Name = newText;
    // Only paths inside the folder change ("Music2" is not inside "Music").
    root.ForEach([&](BuilderNode& n) {
        if (IsSameOrUnder(n.Path, oldPath)) n.Path = newPath + n.Path.substr(oldPath.size());
    });
    return {TRenameOutcome::Done, {}};
}

void RenameEntryInPlaylist(BuilderNode& entry, const std::string& oldPath, Tm3u& album,
                           const TBuilderTools& tools) {
    const std::string wanted = LowerAscii(oldPath);
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        if (LowerAscii(track.Path) != wanted) continue;
        track.Path = entry.Path;
        album.RekeyTrack(track);
    }
    if (tools.MeasureTrack) album.MeasureTracks(tools.MeasureTrack);
    WriteInOwnFormat(album);
    TReferencedSet referenced;
    BuilderNode& playlist = *entry.Parent;
    PlaylistEntries(playlist, referenced);
    playlist.Expanded = true;
}

}  // namespace

TRenameResult RenameNode(BuilderNode& root, BuilderNode& node, const std::string& newText,
                         const TBuilderTools& tools) {
    if (node.Kind == KindFolder) return RenameFolderNode(root, node, newText);
    // A file keeps its extension, and a name needs more than the extension.
    const std::string oldName = ExtractFileName(node.Path);
    if (newText.size() <= 5 || oldName.size() < 4 ||
        LowerAscii(newText.substr(newText.size() - 4)) !=
            LowerAscii(oldName.substr(oldName.size() - 4)))
        return {};
    const std::string oldPath = node.Path;
    const std::string newPath = ExtractFilePath(oldPath) + newText;
    std::unique_ptr<Tm3u> album;
    if (node.Kind == KindEntry && node.Parent) album = RefreshedAlbum(node.Parent->Path, tools);
    TBuilderResult renamed = RenameFile(oldPath, newPath);
    if (!renamed) return Failed(renamed);
    node.Name = newText;
    node.Path = newPath;
    if (node.Kind == KindEntry && album) {
        RenameEntryInPlaylist(node, oldPath, *album, tools);
    } else if (node.Kind == KindPlaylist && node.Parent) {
        for (const auto& sibling : node.Parent->Children)
            if (sibling->Kind == KindPicture)
                sibling->HasPlaylist = PictureHasPlaylist(sibling->Path);
    } else if (node.Kind == KindPicture) {
        node.HasPlaylist = PictureHasPlaylist(node.Path);
    }
    return {TRenameOutcome::Done, {}};
}

// ---- Drag and drop ----

TDropAction DropActionFor(int32_t draggedClass, const BuilderNode& first,
                          const BuilderNode* target) {
    if (!target || target == &first || target == first.Parent) return TDropAction::None;
    const bool onFolder = target->Kind == KindFolder;
    const bool inOwnFolder = target->Parent == first.Parent;
    switch (draggedClass) {
        case KindFolder:
            if (onFolder && !IsSameOrUnder(target->Path, first.Path))
                return TDropAction::MoveIntoFolder;
            return TDropAction::None;
        case KindPlaylist:
            return onFolder ? TDropAction::MoveAlbum : TDropAction::None;
        case KindOrphan:
        case SelectionOrphans:
            if (onFolder) return TDropAction::MoveIntoFolder;
            if (target->Kind == KindPlaylist && inOwnFolder) return TDropAction::AppendToPlaylist;
            if (target->Kind == KindEntry && target->Parent &&
                target->Parent->Parent == first.Parent)
                return TDropAction::InsertAfterEntry;
            return TDropAction::None;
        case KindPicture:
        case KindImage:
            if (onFolder) return TDropAction::MoveIntoFolder;
            if (target->Kind == KindPlaylist && inOwnFolder)
                return draggedClass == KindPicture ? TDropAction::PictureToPlaylist
                                                   : TDropAction::ImageToPlaylist;
            return TDropAction::None;
        default:
            return TDropAction::None;
    }
}

TMoveAlbumResult MoveAlbum(const std::string& playlistPath, const std::string& targetFolder,
                           const TBuilderTools& tools) {
    TMoveAlbumResult result;
    const std::string newPath = JoinPath(targetFolder, ExtractFileName(playlistPath));
    // Another album's playlist at the target is never replaced.
    if (FileExists(newPath) || DirectoryExists(newPath)) {
        result.Failure = TBuilderResult::Failure("CouldNotMove", playlistPath, newPath);
        return result;
    }
    auto album = RefreshedAlbum(playlistPath, tools);
    const std::string folder = LowerAscii(ExtractFilePath(playlistPath));
    for (size_t i = 0; i < album->Tracks.Count(); ++i) {
        Tmp3& track = album->Tracks[i];
        if (LowerAscii(ExtractFilePath(track.Path)) != folder) continue;  // stays where it is
        const std::string to = JoinPath(targetFolder, ExtractFileName(track.Path));
        TBuilderResult moved = MoveFileOrFolder(track.Path, to);
        if (!moved) {
            result.FailedTracks.push_back(moved);
            continue;
        }
        track.Path = to;
        album->RekeyTrack(track);
    }
    // The new playlist first; the old one goes only once it stands.  When it
    // cannot be written, the old playlist is rewritten to name the moved files.
    album->PlaylistPath = newPath;
    if (!WriteInOwnFormat(*album)) {
        album->PlaylistPath = playlistPath;
        WriteInOwnFormat(*album);
        result.Failure = TBuilderResult::Failure("CouldNotMove", playlistPath, newPath);
        return result;
    }
    unlink(playlistPath.c_str());
    result.ok = true;
    result.NewPath = album->PlaylistPath;
    return result;
}

std::string PictureTargetFor(const std::string& folder, const std::string& playlistPath) {
    const std::string name = ExtractFileName(playlistPath);
    return JoinPath(folder, name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + ".jpg");
}

TBuilderResult PictureOntoPlaylist(const std::string& picturePath, const std::string& playlistPath,
                                   bool overwrite) {
    const std::string target = PictureTargetFor(ExtractFilePath(picturePath), playlistPath);
    if (SamePath(target, picturePath)) return TBuilderResult::Success();
    const bool exists = FileExists(target);
    if (exists && !overwrite) return TBuilderResult::Failure("CouldNotRename", picturePath, target);
    // rename() puts the picture in place of the old one in a single step, so
    // the playlist is never left without a picture in between.
    const bool renamed = exists ? rename(picturePath.c_str(), target.c_str()) == 0
                                : RenameWithoutReplacing(picturePath, target);
    if (!renamed) return TBuilderResult::Failure("CouldNotRename", picturePath, target);
    return TBuilderResult::Success();
}

TBuilderResult ImageOntoPlaylist(const std::string& imagePath, const std::string& playlistPath,
                                 const TImageConverter& convert, bool overwrite) {
    const std::string target = PictureTargetFor(ExtractFilePath(imagePath), playlistPath);
    auto failure = TBuilderResult::Failure("CouldNotConvert", imagePath, target);
    if (FileExists(target) && !overwrite) return failure;
    const std::string jpeg = convert ? convert(imagePath) : std::string();
    if (jpeg.empty() || !WriteFileSafely(target, jpeg)) return failure;
    return TBuilderResult::Success();
}
