#pragma once
// The covers management window: browses a covers database by artist and
// album, shows each cover, saves a cover as a JPEG file, removes artists and
// albums from the local database, views another database file and merges
// another file into the local database.  Removals stay in memory until the
// window closes or a merge writes the local file.
#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TCoverDb;
class TCoverPrompts;
class TDropPanel;
class TProgress;
class TPrompts;
struct TCover;

class TFormCoversManagement : public QDialog {
    Q_OBJECT
  public:
    TFormCoversManagement(TPrompts& prompts, TCoverPrompts& coverPrompts,
                          QWidget* parent = nullptr);
    ~TFormCoversManagement() override;

    // Prepares the window for a showing: a new database of the default
    // quality, the local file opened (or the advice to export first).
    void Start(const std::string& programFolder, int defaultQuality);

    void OpenDatabase(const std::string& path);
    void MergeFile(const std::string& path);
    // Writes the local database after changes; false (the user told) when it failed.
    bool SaveIfModified();
    void FillLists();

    bool Viewing() const { return viewing_; }
    // True while a database is read, written or merged; input is ignored then.
    bool Busy() const { return busy_; }
    bool Modified() const { return modified_; }
    const std::string& CurrentFile() const { return currentFile_; }
    TCoverDb* Database() const { return db_.get(); }

    QListWidget* Artists() const { return artists_; }
    QListWidget* Albums() const { return albums_; }
    TDropPanel* Picture() const { return picture_; }
    QLabel* QualityLabel() const { return quality_; }
    QPushButton* SaveCoverButton() const { return saveCover_; }
    QPushButton* RemoveAlbumButton() const { return removeAlbum_; }
    QPushButton* RemoveArtistButton() const { return removeArtist_; }
    QAction* OpenLocalAction() const { return openLocal_; }
    QAction* OpenFileAction() const { return openFile_; }
    QAction* ImportAction() const { return import_; }

    void ListBoxArtistsClick();
    void ListBoxAlbumsClick();
    void SpeedButtonDelArtistClick();
    void SpeedButtonDelAlbumClick();
    void SpeedButtonSaveCoverClick();
    void ActionCDBOpenLocalExecute();
    void ActionCDBOpenFileExecute();
    void ActionCDBImportExecute();

    void done(int result) override;

  private:
    std::string LocalFile() const;
    TCover* SelectedCover() const;
    void UpdateState();
    // Runs the work off the window thread with the progress bar, the
    // window's input blocked meanwhile.
    void RunWork(const std::function<void(TProgress&)>& work);
    void BlockInput(bool blocked);

    TPrompts& prompts_;
    TCoverPrompts& coverPrompts_;
    std::unique_ptr<TCoverDb> db_;
    std::string programFolder_;
    int defaultQuality_ = 0;
    std::string currentFile_;
    bool viewing_ = false;
    bool modified_ = false;
    bool busy_ = false;

    QListWidget* artists_;
    QListWidget* albums_;
    TDropPanel* picture_;
    QLabel* quality_;
    QPushButton* saveCover_;
    QPushButton* removeAlbum_;
    QPushButton* removeArtist_;
    QProgressBar* progress_;
    QAction* openLocal_;
    QAction* openFile_;
    QAction* import_;
    QAction* exit_;
};
