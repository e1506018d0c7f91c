// Creating the missing playlists of a folder tree.
#include "builder/CreatePlaylists.h"

#include "core/FileSystem.h"

namespace {

void Collect(const BuilderNode& node, std::vector<const BuilderNode*>& folders) {
    if (node.Kind != KindFolder) return;
    if (!node.HasPlaylist && node.HasOrphans) folders.push_back(&node);
    for (const auto& child : node.Children) Collect(*child, folders);
}

std::vector<std::string> OrphansOf(const BuilderNode& folder) {
    std::vector<std::string> files;
    for (const auto& child : folder.Children)
        if (child->Kind == KindOrphan) files.push_back(child->Path);
    return files;
}

}  // namespace

std::vector<const BuilderNode*> FoldersWithoutPlaylist(const BuilderNode& root) {
    std::vector<const BuilderNode*> folders;
    Collect(root, folders);
    return folders;
}

TCreatePlaylistsReport CreateMissingPlaylists(const BuilderNode& root,
                                              const std::string& listFormat, TPlaylistType format,
                                              const TBuilderTools& tools,
                                              const std::function<bool(size_t, size_t)>& progress) {
    TCreatePlaylistsReport report;
    const auto folders = FoldersWithoutPlaylist(root);
    for (size_t i = 0; i < folders.size(); ++i) {
        if (progress && !progress(i, folders.size())) {
            report.Cancelled = true;
            break;
        }
        auto album = AlbumFromFiles(OrphansOf(*folders[i]), tools);
        const std::string path = JoinPath(
            folders[i]->Path, NewPlaylistFileName(album->FormatAlbumName(listFormat), format));
        TBuilderResult written = CreatePlaylist(*album, path, format, false);
        if (written)
            report.Created.push_back(path);
        else
            report.Failures.push_back(written);
    }
    if (progress && !report.Cancelled) progress(folders.size(), folders.size());
    return report;
}
