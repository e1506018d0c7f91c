#pragma once
// The remote commander: a small window that stays on top of the others with
// the playing album's cover and a compact player below it (transport buttons,
// bit rate, time, a scrolling title and a volume slider).  It is a top-level
// window of its own, so it stays visible when the main window is minimised.
#include <QWidget>

#include "player/Transport.h"

class QAction;
class QLabel;
class QSlider;
class QToolButton;
class TMarquee;

class TFormRemoteCommander : public QWidget {
    Q_OBJECT
  public:
    // The transport buttons take these commands (Previous, Play, Next,
    // Pause, Stop); missing ones leave their button without a command.
    explicit TFormRemoteCommander(const QList<QAction*>& transport);

    // Whether the player part below the cover shows (setting CoverViewPlayer).
    bool PlayerShown() const { return playerShown_; }
    void SetPlayerShown(bool shown);
    void TogglePlayer() { SetPlayerShown(!playerShown_); }

    void SetNowPlaying(const TNowPlaying& now) { now_ = now; }
    const TNowPlaying& NowPlaying() const { return now_; }
    // Caption, scrolling title and cover from the now-playing data.
    void Refresh();
    void SetTimeText(const QString& text);
    void SetBitrateText(const QString& text);

    QSlider* VolumeSlider() const { return volume_; }
    TMarquee* Marquee() const { return marquee_; }
    QLabel* CoverCaption() const { return caption_; }
    QLabel* Image() const { return image_; }
    QLabel* TimeLabel() const { return time_; }
    QLabel* BitrateLabel() const { return bitrate_; }

  signals:
    // The window was hidden (also by its close box): the show command goes off.
    void hidden();
    void volumeMoved(int volume);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildCover();
    QWidget* BuildPlayer(const QList<QAction*>& transport);
    void FitHeight();

    TNowPlaying now_;
    bool playerShown_ = true;
    bool placed_ = false;
    QWidget* panelImage_;
    QLabel* caption_;
    QLabel* image_;
    QWidget* panelPlayer_;
    TMarquee* marquee_;
    QLabel* bitrate_;
    QLabel* time_;
    QSlider* volume_;
};
