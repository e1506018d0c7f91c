#pragma once
// The album commands that look albums up on FreeDB or re-read and re-write
// them: Edit details, Scan album information, Update with FreeDB, Save info,
// and the batch update of every album with a red status.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

#include "freedb/Ubatch.h"

class TSession;
class TShellPort;
class TPrompts;
class TFormEdit;
class TFormBatch;
class TFormFreeDB;
class Tm3u;

// What the controller needs from the album views and the player.
struct TCddbHooks {
    std::function<Tm3u*()> currentAlbum;   // the album grid's current album, or null
    std::function<void(Tm3u*)> showAlbum;  // selects the album's row and scrolls to it
    TTrackMeasure measure;                 // measures a track's duration (the player)
    TTagReader readTags;                   // empty: the tracks' own tag reading
};

class TCddbController : public QObject {
    Q_OBJECT
  public:
    TCddbController(TSession& session, TShellPort& shell, TPrompts& prompts, TCddbHooks hooks);
    ~TCddbController() override;

    // The windows, for tests.
    TFormEdit* Editor() const { return editor_.get(); }
    TFormFreeDB* Progress() const { return progress_.get(); }
    TFormBatch* BatchDialog();

    void EditAlbum();
    // The album editor over a playlist outside the catalogue (the playlist
    // builder's) with the builder's album name format; the playlist's path
    // afterwards, which Apply may have renamed.  The folder is never renamed
    // from there: the builder's tree holds it.
    std::string EditPlaylist(Tm3u& album, const std::string& listFormat);
    void ScanAlbum();
    void UpdateAlbum();
    void SaveInfo();
    void RunBatch();

  signals:
    // An album of the catalogue got new values or file names: the views
    // show it again at once.
    void albumChanged(Tm3u* album);
    // The batch retagged albums: the view list is sorted again.
    void albumsRetagged();

  private:
    // Runs the editor over the album; true when Apply closed it.
    bool RunEditor(Tm3u& album, const std::string& listFormat, bool allowRenameDir);
    TFreeDBServer Server() const;
    TFreeDBUpdateOptions SettingsOptions() const;
    // Re-keys the album after its playlist moved and marks the list modified.
    void AlbumChanged(Tm3u& album);
    void ReportFailures(const TAlbumApplyReport& report);
    // The FreeDB update of the albums, off the window thread, with the
    // progress window and its Stop button; the albums are re-keyed after (and,
    // with `showEach`, each selected in the views).
    TFreeDBBatchResult RunUpdates(const std::vector<Tm3u*>& albums, TFreeDBUpdateOptions options,
                                  bool showEach);

    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TCddbHooks hooks_;
    bool running_ = false;
    std::unique_ptr<TFormEdit> editor_;
    std::unique_ptr<TFormFreeDB> progress_;
    std::unique_ptr<TFormBatch> batch_;
};
