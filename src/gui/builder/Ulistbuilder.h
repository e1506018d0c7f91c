#pragma once
// The playlist builder window: one root folder as a tree of folders,
// playlists with their entries, pictures, images and orphan audio files, and
// the commands that create and change playlists and pictures.
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builder/BuilderCommands.h"
#include "core/Progress.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TPrompts;

// The name and format chosen in the new playlist dialog.
struct TNewListChoice {
    QString Name;
    TPlaylistType Format = TPlaylistType::M3U;
};

class TFormListBuilder : public QDialog {
    Q_OBJECT
  public:
    TFormListBuilder(QWidget* parent, TPrompts& prompts, TBuilderTools tools);
    ~TFormListBuilder() override;

    // State handed in before the window opens, and "ListFormat" taken back.
    void SetRoots(const std::vector<std::string>& roots);
    void SetListFormat(const std::string& format) { listFormat_ = format; }
    const std::string& ListFormat() const { return listFormat_; }
    // Fills the root list and scans the first root.
    void Open();
    void ChooseRoot(int index);

    // The new playlist dialog; tests replace it.
    std::function<std::optional<TNewListChoice>(const QString& proposed)> askNewList;

    // The album editor for "Edit details": given the playlist (its album
    // refreshed) and the album name format, it returns the playlist's path
    // afterwards and may change the format.  Without it the command is not
    // offered.
    std::function<std::string(Tm3u& album, std::string& listFormat)> editDetails;
    // The program's options window, given the album name format, which it
    // may change.  Without it the "Options" button is hidden.
    std::function<void(std::string& listFormat)> openOptions;

    // For tests and the window's own commands.
    QTreeWidget* Tree() const { return tree_; }
    QAction* Command(const char* name) const;
    BuilderNode* Root() const { return root_.get(); }
    BuilderNode* NodeOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* ItemOf(const std::string& path) const;
    std::vector<BuilderNode*> SelectedNodes() const;
    int32_t CurrentSelectionClass() const;
    void SelectPath(const std::string& path);

    void CreatePlaylist();
    void DeletePlaylist();
    void EditDetails();
    void RemoveTracks();
    void MoveTrack(bool up);
    void RemovePicture();
    // Dropping the selection onto the node (the tree's internal drag and drop);
    // false when that drop is not accepted there.
    bool CanDropOn(const BuilderNode* target) const;
    void DropOn(BuilderNode* target);

    // Playlists for every folder of orphans without one, with progress and Cancel.
    void CreateAllPlaylists();
    // Asks the running scan or batch to stop (the Cancel button, Escape).
    void CancelRunning();
    bool IsRunning() const { return running_ != nullptr; }

  public slots:
    // Escape (or closing) while a scan or batch runs cancels it instead.
    void reject() override;

  private:
    void BuildWidgets();
    void BuildActions();
    void ScanNode(BuilderNode& folder);
    void ClearTree();
    void FillTree();
    void AddItems(QTreeWidgetItem* parentItem, BuilderNode& node);
    void ShowNode(QTreeWidgetItem* item, const BuilderNode& node);
    void ApplyView();
    TBuilderView View() const;
    void UpdateCommands();
    // The focused node's path, picture preview and audio file details.
    void ShowDetails();
    void ShowPicturePreview(const BuilderNode& node);
    void ShowAudioInfo(const BuilderNode& node);
    void Renamed(QTreeWidgetItem* item);
    void Report(const TBuilderResult& result);
    BuilderNode* FolderOf(BuilderNode* node) const;
    void RescanAndSelect(BuilderNode* folder, const std::string& path);
    std::optional<TNewListChoice> ShowNewListDialog(const QString& proposed);
    bool AskOverwrite(const std::string& path);
    void MoveSelectionInto(BuilderNode* folder);
    void MoveAlbumInto(BuilderNode* playlist, BuilderNode* folder);
    // Runs the work off the window thread with the progress bar and Cancel;
    // the rest of the window is disabled meanwhile.
    void RunWithProgress(TProgress& progress, const std::function<void()>& work);
    void ShowProgress();
    // The tools for work off the window thread: measuring goes through the
    // sound layer, which stays on the window thread.
    TBuilderTools OffThreadTools();

    TPrompts& prompts_;
    TBuilderTools tools_;
    std::string listFormat_ = "%artist - %album (%year)";
    std::vector<std::string> roots_;
    std::unique_ptr<BuilderNode> root_;
    bool filling_ = false;
    TProgress* running_ = nullptr;  // the scan or batch that runs now

    QComboBox* rootDirs_;
    QTreeWidget* tree_;
    QCheckBox* lists_;
    QCheckBox* tracks_;
    QCheckBox* orphans_;
    QCheckBox* pictures_;
    QCheckBox* images_;
    QCheckBox* preview_;
    QCheckBox* audioInfo_;
    QLabel* previewImage_;
    QLabel* previewText_;
    QLabel* audioText_;
    QLabel* status_;
    QPushButton* createAll_;
    QProgressBar* progressBar_;
    QPushButton* cancel_;
    QTimer* progressTimer_;
    QPushButton* options_;
    // Ctrl+P while "Create playlist" is not offered (see BuildActions).
    QShortcut* createKey_ = nullptr;
};
