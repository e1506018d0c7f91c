#pragma once
// The wall of covers (the main window's browse page): the albums of the
// view list, in its order, as cover panels in rows, scrolled row by row.
// Only the panels that fit exist; a panel keeps its album's decoded cover
// while it shows that album, so scrolling back and forth or recolouring
// decodes nothing twice.  The panels are painted, not widgets of their own.
//
// The view answers the mouse, the wheel and the keys by signals; what they
// do to the current album and the commands is the controller's.
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

#include "browse/BrowseLayout.h"
#include "gui/browse/BrowsePanelPainter.h"

class QScrollBar;
class TViewList;
class Tm3u;
class TBrowseDetailsList;
struct TBrowseDetails;

class TBrowseView : public QWidget {
    Q_OBJECT
  public:
    // The look is entry 0 of the presets, read anew each time (the presets
    // may move in memory as the list changes).
    TBrowseView(TViewList& view, const TBrowseDetailsList& presets, QWidget* parent = nullptr);

    // The album's cover, decoded (a null image: no picture).
    std::function<QImage(Tm3u*)> PictureSource;
    // The album of the album grid's current row, or null.
    std::function<Tm3u*()> CurrentAlbum;
    // Selection edit mode: panels show the selection marks.
    std::function<bool()> SelectionEditMode;
    // Edit mode with a selection chosen: members get the in-selection colour.
    std::function<bool()> ShowSelectionColours;

    // The panel set after a size or look change (and the panels' places).
    void BrowseLayout();
    // Scroll range and the albums of the scroll position into the panels.
    void BrowseFill();
    // Each panel's colour by its state (current, in selection, plain).
    void BrowseColours();
    // Colours, border and fonts of the look again.
    void BrowseApplyStyle();
    void BrowseRefresh();
    // Scrolls so that the current album's panel is in view.
    void BrowseShowCurrent();
    // The panels of the album (or of every album) load it again.
    void ReloadAlbum(const Tm3u* album);
    void ReloadAll();
    // Every panel empty (no album, no picture) until the next fill.
    void Clear();
    // One wheel step up (steps > 0) or down; false when the position stayed.
    bool WheelStep(int steps);

    TBrowseGrid Grid() const { return grid_; }
    int Position() const;
    int ScrollMaximum() const;
    QScrollBar* ScrollBar() const { return scrollBar_; }
    const std::vector<TCoverPanel>& Panels() const { return panels_; }
    // Covers decoded since the view was made (each time an album comes into view).
    size_t CoversDecoded() const { return decoded_; }
    // The panel under a point of the view, or -1.
    int PanelAt(const QPoint& point) const;
    QRect PanelRect(int panel) const;

  signals:
    void AlbumPressed(Tm3u* album, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MarkPressed(Tm3u* album);
    void AlbumDoubleClicked(Tm3u* album);
    void FilesDropped(Tm3u* album, const QStringList& files);
    void ContextMenuRequested(Tm3u* album, const QPoint& globalPos);
    void KeyMove(TBrowseKey key);
    void PlayKeyPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void PlaceScrollBar();
    void SetScrollRange(int maximum);
    void LoadPanel(TCoverPanel& panel, Tm3u* album);
    static TCoverPanel* FindPanelOf(std::vector<TCoverPanel>& panels, const Tm3u* album,
                                    size_t likely);
    void RefreshTexts(TCoverPanel& panel, const Tm3u& album);
    Tm3u* AlbumUnder(const QPoint& point) const;
    bool OnMark(int panel, const QPoint& point) const;
    void ScrolledByUser();

    TViewList& view_;
    const TBrowseDetails& Look() const;

    const TBrowseDetailsList& presets_;
    QScrollBar* scrollBar_;
    TBrowseGrid grid_;
    TBrowsePanelStyle style_;
    std::vector<TCoverPanel> panels_;
    size_t decoded_ = 0;
    bool settingRange_ = false;
    int wheelRest_ = 0;  // part of a wheel step from fine-grained wheels
};
