#pragma once
// The track grid ("SGTracks") in the right pane: the tracks of the current
// album.  Double click, Enter or Space plays the track (adds it with Ctrl).
#include <QTableView>

class QMenu;
class TTrackGridModel;

class TTrackGrid : public QTableView {
    Q_OBJECT
  public:
    TTrackGrid(TTrackGridModel* model, QWidget* parent = nullptr);

    int CurrentRow() const;
    void SetCurrentRow(int row);
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }

  signals:
    void PlayRequested(bool add);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyboardSearch(const QString&) override {}

  private:
    QMenu* popup_ = nullptr;
};
