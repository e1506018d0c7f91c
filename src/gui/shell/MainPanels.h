#pragma once
// The main window's central area: the page control with the list page and
// the browse page on the left, and the right pane (current album's tracks
// and details above the player, "TracksHeight" apart) beside it.  Until their subsystems supply
// them, each place holds an empty placeholder.
#include <QObject>

class QComboBox;
class QSplitter;
class QStatusBar;
class QStackedWidget;
class QWidget;

class TMainPanels : public QObject {
    Q_OBJECT
  public:
    enum Page { ListPage = 0, BrowsePage = 1 };

    explicit TMainPanels(QWidget* window);

    QWidget* Central() const;
    QStackedWidget* PageControl() const { return pages_; }  // "PageControl"
    QWidget* RightPane() const { return right_; }           // "PanelRight"

    // Put the real widgets in place of the placeholders (ownership passes).
    void SetListPage(QWidget* page);
    void SetBrowsePage(QWidget* page);
    void SetRightPanel(QWidget* panel);
    void SetPlayerPanel(QWidget* panel);

    int CurrentPage() const;
    // 0 list, 1 browse; other values show the list page.
    void SetCurrentPage(int page);
    int RightWidth() const;
    void SetRightWidth(int width);
    void SetRightPaneVisible(bool visible);
    // The track grid's height above the player (at least 20 pixels).
    int TracksHeight() const;
    void SetTracksHeight(int height);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReplacePage(int index, QWidget* page);
    void ReplaceInRightPane(QWidget*& slot, QWidget* widget);

    QSplitter* splitter_;
    QStackedWidget* pages_;
    QWidget* right_;
    QSplitter* rightSplitter_;
    QWidget* rightPanel_;
    QWidget* playerPanel_;
    int rightWidth_ = 240;
    int tracksHeight_ = 200;
};

// What the list page takes over in the main window: the central panels, the
// filter and selection boxes of the tool bars and the status bar.
struct TListPageHost {
    TMainPanels& panels;
    QComboBox& filterBox;
    QComboBox& selectionBox;
    QStatusBar& statusBar;
};
