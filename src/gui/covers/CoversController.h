#pragma once
// The covers commands of the main window: load, paste and delete an album's
// picture (and files dropped on the picture panel), cache all covers, export
// covers to the local or another covers database, import covers from the
// local database for all albums or the current one, and the covers
// management window.  It also gives the views an album's picture (from its
// cached cover when caching is on) and asks the question about uncached
// covers before a list is saved.
#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

#include "covers/AlbumPicture.h"
#include "covers/ReplaceFlow.h"

class TCoverPrompts;
class TFormCoversManagement;
class TPrompts;
class TSession;
class TShellPort;
class Tm3u;

class TCoversController : public QObject {
    Q_OBJECT
  public:
    // The album the album commands act on (the album grid's current row), or null.
    using TCurrentAlbum = std::function<Tm3u*()>;

    TCoversController(TSession& session, TShellPort& shell, TPrompts& prompts,
                      TCoverPrompts& coverPrompts, TCurrentAlbum currentAlbum,
                      QObject* parent = nullptr);
    ~TCoversController() override;

    // Where the local covers database "mavelo.cdb" lives (the program folder).
    std::string ProgramFolderPath;

    // The picture the views show for the album: its cached cover (built when
    // missing, which marks the list modified) when "CacheCovers" is on, else
    // its picture file.  A null image means: hide the picture.
    QImage AlbumPicture(Tm3u* album);
    // Before a list is saved: when covers wait to be cached, asks whether to
    // cache them now, and does on Yes.
    void AskToCacheCovers();
    // Builds the missing cached covers of every album in busy mode.
    void CacheAllCovers();

    // Sets or deletes the album's picture and tells the user what failed;
    // true when the picture changed.
    bool ChangeAlbumPicture(Tm3u* album, int kind, const QString& fileName = {});
    // Files dropped on the picture panel: the first one becomes the picture.
    void PanelImageDropped(const QStringList& files);

    void ActionAlbumPasteImageExecute();
    void ActionAlbumLoadImageExecute();
    void ActionAlbumDeleteImageExecute();
    void ActionAlbumImportCoverExecute();
    void ActionListCacheCoversExecute() { CacheAllCovers(); }
    // From the management window's question the export opens no window itself.
    void ActionListExportCoToCdbExecute(bool fromManagement = false);
    void ActionListExportCoToFileExecute();
    void ActionListImportFromCdbExecute();
    void ActionToolsCoversMgtExecute();

    TFormCoversManagement* Management() const { return management_; }

  signals:
    // The album's picture changed: the views show it anew.
    void PictureChanged(Tm3u* album);
    // Pictures of many albums changed: every view forgets the pictures it holds.
    void PicturesChanged();

  private:
    TCoverOptions Options() const;
    std::string LocalDbPath() const;
    TReplacePrompts ReplacePrompts(std::function<bool(const std::string&)> confirm);
    int ImportFromLocal(bool coverlessOnly, Tm3u* only);
    void PictureReplaced(Tm3u* album);

    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TCoverPrompts& coverPrompts_;
    TCurrentAlbum currentAlbum_;
    TFormCoversManagement* management_ = nullptr;
};
