#pragma once
// TMiniSpectrum: the small spectrum under the player panel.  Bars of up to
// 32 pixels in a red-to-green gradient stand on row 32, over a grid.  Style 0
// draws 128 one-pixel bars, style 1 sixteen 8-pixel bars.  Every frame is
// drawn into a back image first and then shown in one step; levels are read
// anew for each frame and nothing decays between frames.
#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

#include "player/SpectrumAnalyzer.h"

class TSoundSystem;

// Where the spectrum takes its levels from: the sound system, or a stand-in.
class TSpectrumFeed {
  public:
    virtual ~TSpectrumFeed() = default;
    virtual bool Available() const = 0;
    virtual void SetAnalysis(bool on) = 0;
    virtual TSpectrumAnalyzer::Bands Levels() = 0;
};

class TSoundSpectrumFeed : public TSpectrumFeed {
  public:
    explicit TSoundSpectrumFeed(TSoundSystem& sound) : sound_(sound) {}
    bool Available() const override;
    void SetAnalysis(bool on) override;
    TSpectrumAnalyzer::Bands Levels() override;

  private:
    TSoundSystem& sound_;
};

class TMiniSpectrum : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBars = 128;
    static constexpr int kBarHeight = 32;

    explicit TMiniSpectrum(TSpectrumFeed* feed, QWidget* parent = nullptr);

    QColor Color = Qt::white;
    float Scale = 4.0f;
    QColor GridColor = QColor(229, 229, 229);
    int GridWidth = 8;
    int GridHeight = 8;

    int Style() const { return style_; }
    void SetStyle(int style);
    bool Active() const { return active_; }
    void SetActive(bool active);

    // Draws one frame into the back image and shows it.
    void DrawFrame();
    // The back image as the last frame left it.
    const QImage& BackImage() const { return back_; }
    // Colours of one bar: 8 x 32 pixels, the last column black.
    static QImage MakeGradient();

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void RenderFrame();
    void DrawGrid(QImage& image) const;
    void ReadLevels();
    void DrawBar(int x, int width, float level);

    TSpectrumFeed* feed_;
    int style_ = 1;
    bool active_ = false;
    std::array<float, kBars> levels_{};
    QImage gradient_;
    QImage back_;
};
