#pragma once
// The details panel above the album grid ("PanelDetails"): the current
// album's picture in a square area ("PanelImage") on the left, in the
// centre or on the right ("CoverPos"), or a sunken placeholder saying that
// a picture can be dropped there, or that no album is selected.
#include <QFrame>

class QLabel;
class Tm3u;

class TDetailsPanel : public QFrame {
    Q_OBJECT
  public:
    enum Position { Left = 0, Centre = 1, Right = 2 };

    explicit TDetailsPanel(QWidget* parent = nullptr);

    void SetPicturePosition(int position);
    // Shows the album's picture file (or the placeholder); nullptr: no album.
    void ShowAlbum(const Tm3u* album);
    QLabel* PictureArea() const { return picture_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceArea();
    void LoadPicture();

    QLabel* picture_;
    QString picturePath_;
    int position_ = Left;
};
