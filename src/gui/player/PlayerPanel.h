#pragma once
// The player panel of the main window: time and bit rate, the transport and
// queue buttons, the spectrum, the progress bar (click to seek), the volume
// slider with the shuffle button, and the queue grid below.  It only shows
// and forwards; TPlayerController runs the commands.
#include <QProgressBar>
#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QSlider;
class QToolButton;
class TMiniSpectrum;
class TPlayList;
class TQueueGrid;
class TShellPort;
class TSpectrumFeed;

// ProgressBarPlay: reports where a click was let go, for seeking.
class TSeekBar : public QProgressBar {
    Q_OBJECT
  public:
    using QProgressBar::QProgressBar;
  signals:
    void seekRequested(int x, int width);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TPlayerPanel : public QWidget {
    Q_OBJECT
  public:
    // `shell` gives the commands the buttons are bound to.
    TPlayerPanel(const TPlayList& queue, TSpectrumFeed* feed, const TShellPort& shell,
                 QWidget* parent = nullptr);

    QLabel* TimeLabel() const { return time_; }
    QLabel* BitrateLabel() const { return bitrate_; }
    TSeekBar* Progress() const { return progress_; }
    QSlider* VolumeSlider() const { return volume_; }
    QToolButton* ShuffleButton() const { return shuffle_; }
    TMiniSpectrum* Spectrum() const { return spectrum_; }
    TQueueGrid* Grid() const { return grid_; }

    // Spectrum shown (32 pixels between player and progress bar, with the
    // bevel) or not (no height).
    void SetSpectrumVisible(bool visible);

  private:
    QWidget* BuildButtons(const TShellPort& shell);

    QLabel* time_;
    QLabel* bitrate_;
    TSeekBar* progress_;
    QSlider* volume_;
    QToolButton* shuffle_;
    QWidget* spectrumPanel_;
    QFrame* bevel_;
    TMiniSpectrum* spectrum_;
    TQueueGrid* grid_;
};
