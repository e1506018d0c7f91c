#include "gui/cddb/PicturePanel.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPixmap>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ulang.h"
#include "covers/AlbumPicture.h"
#include "gui/common/Prompts.h"

namespace {
QString L(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}

QByteArray JpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// Pictures that are not JPEG files go through Qt's image readers.
std::string ConvertToJpeg(const std::string& path) {
    QImage image(QString::fromStdString(path));
    return image.isNull() ? std::string() : JpegBytes(image).toStdString();
}

QAction* NamedAction(const char* name, const QString& caption, QWidget* parent) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    parent->addAction(action);
    return action;
}
}  // namespace

TPicturePanel::TPicturePanel(QWidget* parent, TPrompts* prompts)
    : QLabel(parent), prompts_(prompts) {
    setObjectName("PanelImage");
    setAlignment(Qt::AlignCenter);
    setMinimumSize(160, 160);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(NamedAction("ActionFDPasteImage", "Paste from clipboard", this), &QAction::triggered,
            this, &TPicturePanel::PastePicture);
    connect(NamedAction("ActionFDLoadImage", "Load from a file", this), &QAction::triggered, this,
            &TPicturePanel::LoadPicture);
    connect(NamedAction("ActionFDDeleteImage", "Clear cover picture", this), &QAction::triggered,
            this, &TPicturePanel::ClearPicture);
}

void TPicturePanel::ShowAlbum(Tm3u* album) {
    album_ = album;
    Refresh();
}

void TPicturePanel::Refresh() {
    const std::string file = album_ ? album_->PictureFile() : std::string();
    QPixmap picture;
    if (!file.empty()) picture.load(QString::fromStdString(file));
    if (picture.isNull()) {
        setPixmap({});
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setText(L("DragNDropHere", "Drag'n'drop here"));
        return;
    }
    setFrameStyle(QFrame::NoFrame);
    setPixmap(picture.scaled(minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TPicturePanel::ReportResult(int result, const QString& path) {
    if (result >= PictureNothingDone || !prompts_) return;
    if (result == PictureClipboardEmpty)
        prompts_->Error(L("CouldNotPasteImage", "Could not paste image !"));
    else if (result == PictureFileUnreadable)
        prompts_->Error(L("CouldNotReadFile", "Could not read file") + " " + path);
    else
        prompts_->Error(L("CouldNotChangeImage", "Could not change the image"));
}

bool TPicturePanel::TakePicture(const QString& path) {
    if (!album_) return false;
    const int result = SetPicture(*album_, PictureFromFile, path.toStdString(), {}, ConvertToJpeg);
    ReportResult(result, path);
    Refresh();
    return result == PictureDone;
}

void TPicturePanel::PastePicture() {
    if (!album_) return;
    const QImage image = QGuiApplication::clipboard()->image();
    const QByteArray jpeg = image.isNull() ? QByteArray() : JpegBytes(image);
    const int result = jpeg.isEmpty()
                           ? int(PictureClipboardEmpty)
                           : SetPicture(*album_, PictureFromClipboard, {}, jpeg.toStdString());
    ReportResult(result, {});
    Refresh();
}

void TPicturePanel::LoadPicture() {
    if (!album_ || !prompts_) return;
    const QString file = prompts_->OpenFileName(
        QString::fromStdString(ExtractFilePath(album_->PlaylistPath)),
        "All (*.jpg *.bmp *.gif *.tif *.png);;JPEG files (*.jpg);;Bitmap files (*.bmp);;"
        "GIF files (*.gif);;TIFF files (*.tif)");
    if (!file.isEmpty()) TakePicture(file);
}

void TPicturePanel::ClearPicture() {
    if (!album_ || (prompts_ && !prompts_->Confirm(L("AreYouSure", "Are you sure ?")))) return;
    ReportResult(SetPicture(*album_, PictureDelete), {});
    Refresh();
}

void TPicturePanel::dragEnterEvent(QDragEnterEvent* event) {
    if (album_ && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TPicturePanel::dropEvent(QDropEvent* event) {
    const auto urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) TakePicture(urls.first().toLocalFile());
    event->acceptProposedAction();
}
