// The playlist builder window's commands: creating, deleting and changing
// playlists and pictures, drops, and the batch creation of playlists.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTreeWidget>

#include <unistd.h>

#include "builder/CreatePlaylists.h"
#include "core/FileSystem.h"
#include "core/Ulang.h"
#include "gui/builder/Ulistbuilder.h"
#include "gui/builder/Unewlist.h"
#include "gui/common/Prompts.h"

namespace {

QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Turns a picture file that is not a JPEG into JPEG bytes (quality 70).
std::string ImageAsJpeg(const std::string& path) {
    QImage image(QString::fromStdString(path));
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 70);
    return bytes.toStdString();
}

}  // namespace

// ---- Commands ----

void TFormListBuilder::Report(const TBuilderResult& result) {
    if (!result) prompts_.Inform(Q(result.Message()));
}

BuilderNode* TFormListBuilder::FolderOf(BuilderNode* node) const {
    while (node && node->Kind != KindFolder) node = node->Parent;
    return node;
}

void TFormListBuilder::RescanAndSelect(BuilderNode* folder, const std::string& path) {
    if (!folder) return;
    const std::string folderPath = folder->Path;
    ClearTree();
    ScanNode(*folder);
    FillTree();
    ApplyView();
    SelectPath(path.empty() ? folderPath : path);
}

std::optional<TNewListChoice> TFormListBuilder::ShowNewListDialog(const QString& proposed) {
    TFormNewList dialog(this);
    dialog.SetProposedName(proposed);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TNewListChoice{dialog.FileName(), dialog.Format()};
}

void TFormListBuilder::CreatePlaylist() {
    const auto selected = SelectedNodes();
    if (selected.empty()) return;
    const TCreateSource source = GatherCreateSource(selected, CurrentSelectionClass());
    BuilderNode* folder = root_->FindByPath(source.Folder);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto album = AlbumFromFiles(source.Files, tools_);
    QApplication::restoreOverrideCursor();
    std::string created;
    if (auto choice = askNewList(Q(album->FormatAlbumName(listFormat_)))) {
        created = JoinPath(source.Folder,
                           NewPlaylistFileName(choice->Name.toStdString(), choice->Format));
        const bool exists = FileExists(created);
        if (!exists || prompts_.Confirm(Lang("AskOverwrite", "Do you really want to overwrite ?") +
                                        " (" + Q(created) + ")"))
            Report(::CreatePlaylist(*album, created, choice->Format, exists));
    }
    RescanAndSelect(folder, created);
}

void TFormListBuilder::DeletePlaylist() {
    if (CurrentSelectionClass() != KindPlaylist) return;
    BuilderNode* node = SelectedNodes().front();
    if (!prompts_.Confirm(Lang("AreYouSure", "Are you sure ?"))) return;
    unlink(node->Path.c_str());
    RescanAndSelect(node->Parent, {});
}

void TFormListBuilder::EditDetails() {
    if (CurrentSelectionClass() != KindPlaylist || !editDetails) return;
    BuilderNode* playlist = SelectedNodes().front();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto album = RefreshedAlbum(playlist->Path, tools_);
    QApplication::restoreOverrideCursor();
    const std::string newPath = editDetails(*album, listFormat_);
    // The editor may have renamed the folder too: read again from the root.
    RescanAndSelect(root_.get(), newPath);
}

void TFormListBuilder::RemovePicture() {
    const int32_t cls = CurrentSelectionClass();
    if (cls != KindPicture && cls != KindImage) return;
    BuilderNode* node = SelectedNodes().front();
    if (!prompts_.Confirm(Lang("AreYouSure", "Are you sure ?"))) return;
    unlink(node->Path.c_str());
    RescanAndSelect(node->Parent, {});
}

void TFormListBuilder::RemoveTracks() {
    const int32_t cls = CurrentSelectionClass();
    if (cls != KindEntry && cls != SelectionEntries) return;
    const auto selected = SelectedNodes();
    BuilderNode* playlist = selected.front()->Parent;
    std::vector<std::string> paths;
    for (const BuilderNode* node : selected) paths.push_back(node->Path);
    const std::string playlistPath = playlist->Path;
    if (const TWriteResult written = ::RemoveTracks(playlistPath, paths, tools_); !written)
        prompts_.Inform(Q(FailureMessage("CouldNotWrite", "Could not write", playlistPath, written)));
    RescanAndSelect(playlist->Parent, playlistPath);
}

void TFormListBuilder::MoveTrack(bool up) {
    if (CurrentSelectionClass() != KindEntry) return;
    BuilderNode* entry = SelectedNodes().front();
    if (!(up ? entry->PreviousSibling() : entry->NextSibling())) return;
    const std::string playlistPath = entry->Parent->Path;
    const std::string entryPath = entry->Path;
    ::MoveTrack(playlistPath, entryPath, up, tools_);
    RescanAndSelect(entry->Parent->Parent, playlistPath);
    if (QTreeWidgetItem* playlistItem = ItemOf(playlistPath)) {
        playlistItem->setExpanded(true);
        for (int i = 0; i < playlistItem->childCount(); ++i)
            if (SamePath(NodeOf(playlistItem->child(i))->Path, entryPath)) {
                tree_->clearSelection();
                tree_->setCurrentItem(playlistItem->child(i));
                playlistItem->child(i)->setSelected(true);
            }
    }
}

void TFormListBuilder::Renamed(QTreeWidgetItem* item) {
    if (filling_) return;
    BuilderNode* node = NodeOf(item);
    if (!node || item->text(0) == Q(node->Name)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TRenameResult result = RenameNode(*root_, *node, item->text(0).toStdString(), tools_);
    QApplication::restoreOverrideCursor();
    if (result.Outcome == TRenameOutcome::Failed) Report(result.Failure);
    // The tree shows the nodes as they now are (an ignored edit goes back),
    // once the edited item is no longer in its own change signal.
    QMetaObject::invokeMethod(
        this,
        [this, path = node->Path] {
            FillTree();
            ApplyView();
            SelectPath(path);
        },
        Qt::QueuedConnection);
}

void TFormListBuilder::CreateAllPlaylists() {
    if (!root_) return;
    TProgress progress;
    TCreatePlaylistsReport report;
    const std::string root = root_->Path;
    const TBuilderTools tools = OffThreadTools();
    RunWithProgress(progress, [&] {
        report = CreatePlaylistsUnder(root, listFormat_, TPlaylistType::M3U, tools, progress);
    });
    for (const auto& failure : report.Failures) Report(failure);
    const std::string focus = report.Created.empty() ? root_->Path : report.Created.back();
    RescanAndSelect(root_.get(), focus);
}

// ---- Drag and drop ----

bool TFormListBuilder::CanDropOn(const BuilderNode* target) const {
    const auto selected = SelectedNodes();
    if (selected.empty()) return false;
    return DropActionFor(CurrentSelectionClass(), *selected.front(), target) != TDropAction::None;
}

bool TFormListBuilder::AskOverwrite(const std::string& path) {
    return prompts_.Confirm(Lang("AskOverwrite", "Do you really want to overwrite ?") + " (" +
                            Q(path) + ")");
}

void TFormListBuilder::DropOn(BuilderNode* target) {
    const auto selected = SelectedNodes();
    if (selected.empty()) return;
    BuilderNode* first = selected.front();
    const TDropAction action = DropActionFor(CurrentSelectionClass(), *first, target);
    std::vector<std::string> files;
    for (const BuilderNode* node : selected) files.push_back(node->Path);
    switch (action) {
        case TDropAction::None:
            return;
        case TDropAction::MoveIntoFolder:
            return MoveSelectionInto(target);
        case TDropAction::MoveAlbum:
            return MoveAlbumInto(first, target);
        case TDropAction::AppendToPlaylist:
        case TDropAction::InsertAfterEntry: {
            BuilderNode* playlist =
                action == TDropAction::AppendToPlaylist ? target : target->Parent;
            const std::string playlistPath = playlist->Path;
            const std::string after = action == TDropAction::InsertAfterEntry ? target->Path : "";
            Report(AddFilesToPlaylist(playlistPath, files, after, tools_));
            return RescanAndSelect(playlist->Parent, playlistPath);
        }
        case TDropAction::PictureToPlaylist:
        case TDropAction::ImageToPlaylist: {
            const std::string picture =
                PictureTargetFor(ExtractFilePath(first->Path), target->Path);
            const bool exists = FileExists(picture);
            if (exists && !AskOverwrite(picture)) return;
            Report(action == TDropAction::PictureToPlaylist
                       ? PictureOntoPlaylist(first->Path, target->Path, exists)
                       : ImageOntoPlaylist(first->Path, target->Path, ImageAsJpeg, exists));
            return RescanAndSelect(target->Parent, picture);
        }
    }
}

void TFormListBuilder::MoveSelectionInto(BuilderNode* folder) {
    const auto selected = SelectedNodes();
    const std::string folderPath = folder->Path;
    std::string last;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const BuilderNode* node : selected) {
        const std::string to = JoinPath(folderPath, node->Name);
        const TBuilderResult moved = MoveFileOrFolder(node->Path, to);
        if (moved)
            last = to;
        else
            Report(moved);  // and on with the next one
    }
    QApplication::restoreOverrideCursor();
    // Both ends change: the tree is read again from the root.
    RescanAndSelect(root_.get(), last);
}

void TFormListBuilder::MoveAlbumInto(BuilderNode* playlist, BuilderNode* folder) {
    const std::string playlistPath = playlist->Path;
    const std::string folderPath = folder->Path;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TMoveAlbumResult moved = ::MoveAlbum(playlistPath, folderPath, tools_);
    QApplication::restoreOverrideCursor();
    for (const auto& failure : moved.FailedTracks) Report(failure);
    if (!moved.ok) Report(moved.Failure);
    RescanAndSelect(root_.get(), moved.ok ? moved.NewPath : playlistPath);
}
