#include "gui/list/DetailsPanel.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "collection/Um3u_obj.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"

namespace {
constexpr int kMargin = 5;
}

TDetailsPanel::TDetailsPanel(QWidget* parent) : TDropPanel(parent) {
    setObjectName("PanelDetails");
    setFrameShape(QFrame::StyledPanel);
    setMinimumHeight(30);
    picture_ = new QLabel(this);
    picture_->setObjectName("PanelImage");
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setWordWrap(true);
    ShowAlbum(nullptr);
}

void TDetailsPanel::SetPicturePosition(int position) {
    position_ = position == Centre || position == Right ? position : Left;
    PlaceArea();
}

void TDetailsPanel::ShowAlbum(Tm3u* album) {
    image_ = album && PictureSource ? PictureSource(album) : QImage();
    picturePath_ = album && !PictureSource ? QStr(album->PictureFile()) : QString();
    if (HasPicture()) {
        picture_->setText(QString());
        LoadPicture();
        return;
    }
    picture_->setPixmap(QPixmap());
    picture_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture_->setText(album ? QStr(LangText("DragNDropHere", "Drag'n'drop here"))
                            : QStr(LangText("NoAlbumSelected", "No selected album")));
}

bool TDetailsPanel::HasPicture() const {
    return !image_.isNull() || !picturePath_.isEmpty();
}

void TDetailsPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceArea();
}

void TDetailsPanel::PlaceArea() {
    const QRect inner = contentsRect();
    const int side = std::max(1, std::min(inner.height() - 2 * kMargin, inner.width()));
    int x = inner.left() + kMargin;
    if (position_ == Centre) x = inner.left() + (inner.width() - side) / 2;
    if (position_ == Right) x = inner.right() - kMargin - side + 1;
    const QRect area(x, inner.top() + kMargin, side, side);
    if (picture_->geometry() == area) return;
    picture_->setGeometry(area);
    if (HasPicture()) LoadPicture();
}

void TDetailsPanel::LoadPicture() {
    const QSize area = picture_->size();
    QImage image;
    if (!image_.isNull()) {
        image = image_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    } else {
        // Decode at the size shown: large scans stay cheap to page through.
        QImageReader reader(picturePath_);
        reader.setAutoTransform(true);
        const QSize full = reader.size();
        if (full.isValid()) reader.setScaledSize(full.scaled(area, Qt::KeepAspectRatio));
        image = reader.read();
    }
    // A picture file that cannot be decoded leaves the empty, sunken area.
    picture_->setFrameStyle(image.isNull() ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    picture_->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}
