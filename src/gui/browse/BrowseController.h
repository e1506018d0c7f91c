#pragma once
// Browse mode at work: the browse presets (read from and written to the
// settings file), the wall of covers on the main window's browse page, the
// browse options window and the commands that reach them.  What the wall
// does to the current album and to pictures goes through the hooks, which
// the application object fills from the list page and the covers commands.
#include <QObject>
#include <QStringList>

#include <functional>

#include "browse/Ubrowse_obj.h"

class QColor;
class QImage;
class QMenu;
class TBrowseView;
class TFormBrowseOptions;
class TIniFile;
class TPrompts;
class TSession;
class TShellPort;
class Tm3u;
enum class TBrowseKey;

struct TBrowseHooks {
    std::function<Tm3u*()> currentAlbum;
    // The album grid's row of the album becomes the current row.
    std::function<void(Tm3u*)> selectAlbum;
    // The album grid's rows (1-based current row, 0 without one; the count).
    std::function<int()> currentRow;
    std::function<int()> rowCount;
    std::function<void(int)> selectRow;
    std::function<QImage(Tm3u*)> picture;
    // The clipboard's picture, or a dropped file, becomes the album's picture.
    std::function<void(Tm3u*)> pastePicture;
    std::function<void(Tm3u*, const QString&)> setPictureFile;
    // Whether the selection edit mode is on and a selection is chosen.
    std::function<bool()> selectionChosen;
    // The list view's album details panel takes this background.
    std::function<void(const QColor&)> setListBackground;
    // Whether the browse page is the one shown.
    std::function<bool()> browseShown;
};

class TBrowseController : public QObject {
    Q_OBJECT
  public:
    TBrowseController(TSession& session, TShellPort& shell, TPrompts& prompts, TBrowseHooks hooks,
                      QObject* parent = nullptr);
    ~TBrowseController() override;

    TBrowseDetailsList& Presets() { return presets_; }
    // The presets of the settings file; the look in use is applied.
    void LoadPresets(const TIniFile& ini);
    void SavePresets(TIniFile& ini) const { presets_.Save(ini); }

    // The wall (owned by the browse page once the main window takes it).
    TBrowseView* View() const { return view_; }
    TFormBrowseOptions& Options() const { return *options_; }

    // The view list was rebuilt or the page shown: BrowseRefresh.
    void ViewRefilled();
    // The current album changed: the highlight, and the album brought into view.
    void CurrentAlbumShown();
    // An album got a new picture or new values; all pictures changed.
    void AlbumChanged(Tm3u* album);
    void AllPicturesChanged();
    // Colours, border and fonts of the look again (and the list view's
    // details background).
    void ApplyStyle();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MakeView();
    void MakeMenu();
    void ConnectOptions();
    void AlbumPressed(Tm3u* album, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MarkPressed(Tm3u* album);
    void KeyMove(TBrowseKey key);
    void FilesDropped(Tm3u* album, const QStringList& files);
    bool SelectionEditMode() const;
    void ActionListBrowseOptionsExecute();

    TSession& session_;
    TShellPort& shell_;
    TBrowseHooks hooks_;
    TBrowseDetailsList presets_;
    TBrowseView* view_;
    TFormBrowseOptions* options_;
    QMenu* albumMenu_;
};
