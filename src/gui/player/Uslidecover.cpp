#include "gui/player/Uslidecover.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/FileSystem.h"
#include "core/Ulang.h"
#include "gui/player/Marquee.h"

namespace {
constexpr int kCoverSize = 130;
constexpr int kPlayerHeight = 58;

QString RemoteCaption(const TNowPlaying& now) {
    if (now.Artist.empty()) return QString::fromStdString(LangText("NoTagFound", "No track name"));
    return QString::fromStdString(now.Artist + " - " + now.Album + " (" + std::to_string(now.Year) +
                                  ")");
}
}  // namespace

TFormRemoteCommander::TFormRemoteCommander(const QList<QAction*>& transport)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("FormRemoteCommander");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildCover());
    layout->addWidget(BuildPlayer(transport));
    setFixedWidth(kCoverSize);
    FitHeight();
    Refresh();
}

QWidget* TFormRemoteCommander::BuildCover() {
    panelImage_ = new QWidget(this);
    panelImage_->setObjectName("PanelImage");
    panelImage_->setFixedSize(kCoverSize, kCoverSize);
    panelImage_->setStyleSheet("#PanelImage { background: white; border: 1px solid gray; }");
    caption_ = new QLabel("No cover picture", panelImage_);
    caption_->setObjectName("PanelImageCaption");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setGeometry(0, 0, kCoverSize, kCoverSize);
    image_ = new QLabel(panelImage_);
    image_->setObjectName("Image");
    image_->setAlignment(Qt::AlignCenter);
    image_->setGeometry(1, 1, kCoverSize - 2, kCoverSize - 2);
    image_->setCursor(Qt::PointingHandCursor);
    image_->hide();
    panelImage_->installEventFilter(this);
    image_->installEventFilter(this);
    caption_->installEventFilter(this);
    return panelImage_;
}

QWidget* TFormRemoteCommander::BuildPlayer(const QList<QAction*>& transport) {
    panelPlayer_ = new QWidget(this);
    panelPlayer_->setObjectName("PanelPlayer");
    panelPlayer_->setFixedHeight(kPlayerHeight);
    auto* column = new QVBoxLayout(panelPlayer_);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(1);
    marquee_ = new TMarquee(panelPlayer_);
    column->addWidget(marquee_);

    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    const char* names[] = {"SpeedButtonPrev", "SpeedButtonPlay", "SpeedButtonNext",
                           "SpeedButtonPause", "SpeedButtonStop"};
    for (int i = 0; i < 5; ++i) {
        auto* button = new QToolButton(panelPlayer_);
        button->setObjectName(names[i]);
        button->setAutoRaise(true);
        button->setIconSize(QSize(12, 12));
        button->setFixedSize(18, 18);
        if (i < transport.size() && transport[i]) button->setDefaultAction(transport[i]);
        row->addWidget(button);
    }
    bitrate_ = new QLabel("- kb", panelPlayer_);
    bitrate_->setObjectName("LabelBitRate");
    row->addWidget(bitrate_, 1, Qt::AlignRight);
    column->addLayout(row);

    auto* bottom = new QHBoxLayout;
    time_ = new QLabel("0:00 / 0:00", panelPlayer_);
    time_->setObjectName("LabelTime");
    volume_ = new QSlider(Qt::Horizontal, panelPlayer_);
    volume_->setObjectName("trkMasterVolume");
    volume_->setRange(0, 255);
    volume_->setValue(128);
    bottom->addWidget(time_);
    bottom->addWidget(volume_, 1);
    column->addLayout(bottom);
    connect(volume_, &QSlider::valueChanged, this, &TFormRemoteCommander::volumeMoved);
    return panelPlayer_;
}

void TFormRemoteCommander::SetPlayerShown(bool shown) {
    playerShown_ = shown;
    panelPlayer_->setVisible(shown);
    FitHeight();
}

void TFormRemoteCommander::FitHeight() {
    setFixedHeight(kCoverSize + (playerShown_ ? kPlayerHeight : 0));
}

void TFormRemoteCommander::Refresh() {
    const QString caption = RemoteCaption(now_);
    setWindowTitle(caption);
    image_->setToolTip(caption);
    marquee_->SetText(QString::fromStdString(now_.ScrollTitle));
    if (!now_.PicturePath.empty() && FileExists(now_.PicturePath)) {
        QPixmap picture(QString::fromStdString(now_.PicturePath));
        if (!picture.isNull())  // a picture that cannot be loaded keeps the previous one
            image_->setPixmap(
                picture.scaled(image_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        image_->show();
    } else {
        image_->clear();
        image_->hide();  // uncovers "No cover picture"
    }
}

void TFormRemoteCommander::SetTimeText(const QString& text) {
    time_->setText(text);
}
void TFormRemoteCommander::SetBitrateText(const QString& text) {
    bitrate_->setText(text);
}

void TFormRemoteCommander::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {  // first shown in the middle of the screen
        placed_ = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    FitHeight();
    Refresh();
    marquee_->Start();
}

void TFormRemoteCommander::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous()) return;  // minimised: still "shown"
    marquee_->Stop();
    emit hidden();
}

bool TFormRemoteCommander::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == panelImage_ || watched == image_ || watched == caption_)) {
        TogglePlayer();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
