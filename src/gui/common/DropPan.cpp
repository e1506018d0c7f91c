#include "gui/common/DropPan.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

TDropPanel::TDropPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("DropPanel");
}

void TDropPanel::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QStringList TDropPanel::ExistingFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths)
        if (QFileInfo(path).isFile()) files << path;
    return files;
}

void TDropPanel::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TDropPanel::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    const QStringList files = ExistingFiles(paths);
    event->acceptProposedAction();
    const QPoint at = event->position().toPoint();
    emit OnDropped(files, int(files.size()), at.x(), at.y());
}

void TDropPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = contentsRect();
    const QSize size = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QRect target(area.x() + (area.width() - size.width()) / 2,
                       area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
    painter.drawImage(target, picture_);
}
