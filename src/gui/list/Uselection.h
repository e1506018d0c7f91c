#pragma once
// The selection commands of the main window: the selection box (CBSel), the
// six commands of the Selection menu, and the Sel marks of the grid and the
// tree in the selection edit mode.
#include <QObject>

class QAction;
class Tm3u;
class TListViews;
class TSelection;

class TSelectionCommands : public QObject {
    Q_OBJECT
  public:
    explicit TSelectionCommands(TListViews& views);

    // CBSelClick: the user chose an entry of the selection box.
    void CBSelClick(int entry);
    void ActionSelectionNewExecute();
    // The edit command was toggled (by the user or by New).
    void ActionSelectionEditExecute();
    void ActionSelectionRenameExecute();
    void ActionSelectionRemoveExecute();
    void ActionSelectionSelectAlbumExecute();
    void ActionSelectionAddAllExecute();
    // A click on an album's Sel mark.
    void ToggleAlbum(Tm3u* album);

  private:
    QAction* EditAction() const;
    void SetEditMode(bool on);
    // The chosen selection while the edit mode is on, else nullptr.
    TSelection* EditedSelection() const;
    void RebuildAndRefill();

    TListViews& views_;
};
