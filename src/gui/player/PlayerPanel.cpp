#include "gui/player/PlayerPanel.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/player/QueueGrid.h"
#include "gui/player/spectrum.h"
#include "gui/shell/ShellPort.h"

void TSeekBar::mouseReleaseEvent(QMouseEvent* event) {
    QProgressBar::mouseReleaseEvent(event);
    emit seekRequested(static_cast<int>(event->position().x()), contentsRect().width());
}

TPlayerPanel::TPlayerPanel(const TPlayList& queue, TSpectrumFeed* feed, const TShellPort& shell,
                           QWidget* parent)
    : QWidget(parent) {
    setObjectName("PanelPlayer");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    auto* labels = new QHBoxLayout;
    time_ = new QLabel("0:00 / 0:00", this);
    time_->setObjectName("LabelTime");
    bitrate_ = new QLabel("- kb", this);
    bitrate_->setObjectName("LabelBitRate");
    labels->addWidget(time_);
    labels->addStretch(1);
    labels->addWidget(bitrate_);
    column->addLayout(labels);
    column->addWidget(BuildButtons(shell));

    bevel_ = new QFrame(this);
    bevel_->setObjectName("Bevel");
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    column->addWidget(bevel_);
    spectrumPanel_ = new QWidget(this);
    spectrumPanel_->setObjectName("PanelSpectrum");
    spectrum_ = new TMiniSpectrum(feed, spectrumPanel_);
    spectrum_->Color = palette().color(QPalette::Window);
    auto* spectrumLayout = new QHBoxLayout(spectrumPanel_);
    spectrumLayout->setContentsMargins(0, 0, 0, 0);
    spectrumLayout->addWidget(spectrum_);
    column->addWidget(spectrumPanel_);

    progress_ = new TSeekBar(this);
    progress_->setObjectName("ProgressBarPlay");
    progress_->setRange(0, 1);  // an empty range would show a busy bar
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedHeight(10);
    column->addWidget(progress_);

    auto* volumeRow = new QHBoxLayout;
    volume_ = new QSlider(Qt::Horizontal, this);
    volume_->setObjectName("trkMasterVolume");
    volume_->setRange(0, 255);
    volume_->setValue(128);
    shuffle_ = new QToolButton(this);
    shuffle_->setObjectName("SpeedButtonShuffle");
    shuffle_->setText("S");
    shuffle_->setCheckable(true);
    volumeRow->addWidget(volume_, 1);
    volumeRow->addWidget(shuffle_);
    column->addLayout(volumeRow);

    grid_ = new TQueueGrid(queue, this);
    column->addWidget(grid_, 1);
    SetSpectrumVisible(true);
}

QWidget* TPlayerPanel::BuildButtons(const TShellPort& shell) {
    struct Button {
        const char* name;
        TCommandId command;
    };
    const Button buttons[] = {
        {"SpeedButtonPrev", TCommandId::PlaylistPrev},
        {"SpeedButtonPlay", TCommandId::PlaylistPlay},
        {"SpeedButtonNext", TCommandId::PlaylistNext},
        {"SpeedButtonPause", TCommandId::PlaylistPause},
        {"SpeedButtonStop", TCommandId::PlaylistStop},
        {"SpeedButtonDel", TCommandId::PlaylistRemoveTrack},
        {"SpeedButtonUp", TCommandId::PlaylistTrackUp},
        {"SpeedButtonDown", TCommandId::PlaylistTrackDown},
        {"SpeedButtonLoadPlayList", TCommandId::PlaylistLoad},
        {"SpeedButtonSavePlayList", TCommandId::PlaylistSave},
    };
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& b : buttons) {
        auto* button = new QToolButton(row);
        button->setObjectName(b.name);
        button->setAutoRaise(true);
        button->setIconSize(QSize(14, 14));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setDefaultAction(shell.Action(b.command));
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return row;
}

void TPlayerPanel::SetSpectrumVisible(bool visible) {
    spectrumPanel_->setFixedHeight(visible ? 32 : 0);
    spectrumPanel_->setVisible(visible);
    bevel_->setVisible(visible);
}
