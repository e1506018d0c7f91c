#include "gui/player/spectrum.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "player/SoundSystem.h"

bool TSoundSpectrumFeed::Available() const {
    return sound_.Available();
}
void TSoundSpectrumFeed::SetAnalysis(bool on) {
    sound_.SetSpectrumActive(on);
}
TSpectrumAnalyzer::Bands TSoundSpectrumFeed::Levels() {
    return sound_.GetSpectrum();
}

TMiniSpectrum::TMiniSpectrum(TSpectrumFeed* feed, QWidget* parent)
    : QWidget(parent), feed_(feed), gradient_(MakeGradient()) {
    setObjectName("MiniSpectrum");
    setAttribute(Qt::WA_OpaquePaintEvent);
    back_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
}

QImage TMiniSpectrum::MakeGradient() {
    QImage gradient(8, kBarHeight, QImage::Format_RGB32);
    int red = 255, green = 0;
    for (int y = 0; y < kBarHeight; ++y) {
        if (y < 16)
            green = std::min(255, green + 16);
        else
            red = std::max(0, red - 16);
        for (int x = 0; x < 7; ++x) gradient.setPixel(x, y, qRgb(red, green, 0));
        gradient.setPixel(7, y, qRgb(0, 0, 0));
    }
    return gradient;
}

void TMiniSpectrum::SetStyle(int style) {
    if (style == style_) return;
    style_ = style;
    levels_.fill(0.0f);
}

void TMiniSpectrum::SetActive(bool active) {
    active_ = active;
    if (feed_ && feed_->Available()) feed_->SetAnalysis(active);
}

void TMiniSpectrum::DrawFrame() {
    RenderFrame();
    update();
}

void TMiniSpectrum::RenderFrame() {
    if (back_.size() != size() && !size().isEmpty()) back_ = QImage(size(), QImage::Format_RGB32);
    back_.fill(Color);
    DrawGrid(back_);
    if (!active_ || !feed_ || !feed_->Available()) return;
    ReadLevels();
    if (style_ == 0) {
        for (int i = 0; i < kBars; ++i) DrawBar(i, 1, levels_[static_cast<size_t>(i)]);
    } else {
        for (int x = 0; x < kBars; x += 8) DrawBar(x, 8, levels_[static_cast<size_t>(x)]);
    }
}

void TMiniSpectrum::DrawGrid(QImage& image) const {
    QPainter painter(&image);
    painter.setPen(QPen(GridColor, 1));
    const int w = image.width(), h = image.height();
    if (GridHeight > 0)
        for (int y = h; y >= 1; y -= GridHeight) painter.drawLine(0, y, w, y);
    if (GridWidth > 0)
        for (int x = 0; x <= w; x += GridWidth) painter.drawLine(x, 0, x, h);
}

void TMiniSpectrum::ReadLevels() {
    const auto bands = feed_->Levels();
    for (size_t i = 0; i < kBars; ++i) {
        const float loudest = *std::max_element(bands.begin() + static_cast<long>(4 * i),
                                                bands.begin() + static_cast<long>(4 * i + 4));
        levels_[i] = std::min(1.0f, loudest * Scale);
    }
}

void TMiniSpectrum::DrawBar(int x, int width, float level) {
    if (level <= 0) return;
    const int h = static_cast<int>(level * kBarHeight);
    for (int row = kBarHeight - h; row < kBarHeight; ++row) {
        if (row >= back_.height()) break;
        for (int dx = 0; dx < width && x + dx < back_.width(); ++dx)
            back_.setPixel(x + dx, row, gradient_.pixel(dx, row));
    }
}

void TMiniSpectrum::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, back_);
}

void TMiniSpectrum::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RenderFrame();  // the back image takes the new size
}

void TMiniSpectrum::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}
