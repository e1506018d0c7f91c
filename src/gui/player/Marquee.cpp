#include "gui/player/Marquee.h"

#include <QPainter>

TMarquee::TMarquee(QWidget* parent) : QWidget(parent) {
    setObjectName("Marquee");
    setFixedSize(128, 16);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &TMarquee::Step);
}

void TMarquee::SetText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    offset_ = 0;
    update();
}

void TMarquee::Step() {
    const int span = fontMetrics().horizontalAdvance(text_);
    if (span <= 0) return;
    offset_ = (offset_ + 1) % span;
    update();
}

void TMarquee::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(240, 240, 240));
    const int span = fontMetrics().horizontalAdvance(text_);
    if (span <= 0) return;
    // The text repeats so that its start follows its end without a gap.
    for (int x = -offset_; x < width(); x += span)
        painter.drawText(QRect(x, 0, span, height()), Qt::AlignVCenter | Qt::AlignLeft, text_);
}
