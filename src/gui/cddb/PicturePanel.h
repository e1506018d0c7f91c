#pragma once
// The album editor's picture panel: the album's picture, or a lowered frame
// that invites a drop.  Its actions paste, load or clear the picture, and a
// file dropped on it becomes the picture.
#include <QLabel>

class QAction;
class TPrompts;
class Tm3u;

class TPicturePanel : public QLabel {
    Q_OBJECT
  public:
    TPicturePanel(QWidget* parent, TPrompts* prompts);

    void ShowAlbum(Tm3u* album);
    void PastePicture();
    void LoadPicture();
    void ClearPicture();
    // Makes the file the album's picture; false (with the message shown)
    // when it could not.
    bool TakePicture(const QString& path);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Refresh();
    void ReportResult(int result, const QString& path);

    TPrompts* prompts_;
    Tm3u* album_ = nullptr;
};
