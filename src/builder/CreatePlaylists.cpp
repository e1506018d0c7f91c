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
                                              const std::string& listFormat,
                                              TPlaylistType format, const TBuilderTools& tools,
                                              TProgress* progress) {
    TCreatePlaylistsReport report;
    const auto folders = FoldersWithoutPlaylist(root);
    if (progress) {
        progress->SetTotal(int64_t(folders.size()));
        progress->SetDone(0);
    }
    for (const BuilderNode* folder : folders) {
        if (progress && progress->CancelRequested()) {
            report.Cancelled = true;
            break;
        }
        auto album = AlbumFromFiles(OrphansOf(*folder), tools);
        const std::string path = JoinPath(
            folder->Path, NewPlaylistFileName(album->FormatAlbumName(listFormat), format));
        TBuilderResult written = CreatePlaylist(*album, path, format, false);
        if (written)
            report.Created.push_back(path);
        else
            report.Failures.push_back(written);
        if (progress) progress->Advance();
    }
    return report;
}

TCreatePlaylistsReport CreatePlaylistsUnder(const std::string& root, const std::string& listFormat,
                                            TPlaylistType format, const TBuilderTools& tools,
                                            TProgress& progress) {
    progress.SetStep("Scanning");
    auto tree = MakeRootNode(ExcludeTrailingSeparator(root));
    TBuilderScanner scanner;
    scanner.progress = &progress;
    if (!scanner.ScanFolderNode(*tree)) {
        TCreatePlaylistsReport report;
        report.Cancelled = true;
        return report;
    }
    progress.SetStep("Creating playlists");
    return CreateMissingPlaylists(*tree, listFormat, format, tools, &progress);
}
