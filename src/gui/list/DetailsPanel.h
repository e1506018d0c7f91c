#pragma once
// The details panel above the album grid ("PanelDetails"): the current
// album's picture in a square area ("PanelImage") on the left, in the
// centre or on the right ("CoverPos"), or a sunken placeholder saying that
// a picture can be dropped there, or that no album is selected.  Files
// dropped on the panel are reported by OnDropped.
#include <QImage>

#include <functional>

#include "gui/common/DropPan.h"

class QLabel;
class Tm3u;

class TDetailsPanel : public TDropPanel {
    Q_OBJECT
  public:
    enum Position { Left = 0, Centre = 1, Right = 2 };

    explicit TDetailsPanel(QWidget* parent = nullptr);

    void SetPicturePosition(int position);
    // The picture shown for an album (a cached cover, say); a null image
    // shows the placeholder.  Unset: the album's picture file.
    std::function<QImage(Tm3u*)> PictureSource;

    // Shows the album's picture (or the placeholder); nullptr: no album.
    void ShowAlbum(Tm3u* album);
    QLabel* PictureArea() const { return picture_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceArea();
    bool HasPicture() const;
    void LoadPicture();

    QLabel* picture_;
    QString picturePath_;  // the picture file read at the size shown...
    QImage image_;         // ...or the picture given by PictureSource
    int position_ = Left;
};
