#include "gui/shell/Usplash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "gui/common/Version.h"

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 113;

// A stylised disc: the picture of the splash.
void PaintDisc(QPainter& painter, QPointF centre, double radius) {
    QRadialGradient shine(centre, radius);
    shine.setColorAt(0.0, QColor(0xf5, 0xf5, 0xf5));
    shine.setColorAt(0.6, QColor(0xa9, 0xc8, 0xd8));
    shine.setColorAt(1.0, QColor(0x5b, 0x86, 0xa3));
    painter.setPen(QPen(QColor(0x2f, 0x4f, 0x66), 1.5));
    painter.setBrush(shine);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(QColor(0x1d, 0x33, 0x44));
    painter.drawEllipse(centre, radius / 4.5, radius / 4.5);
}
}  // namespace

TFormSplash::TFormSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("FormSplash");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(kWidth, kHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, kHeight);
    background.setColorAt(0.0, QColor(0x2f, 0x4f, 0x66));
    background.setColorAt(1.0, QColor(0x12, 0x22, 0x2e));
    painter.fillRect(rect(), background);
    PaintDisc(painter, QPointF(56, kHeight / 2.0), 40);

    painter.setPen(Qt::white);
    QFont title = font();
    title.setBold(true);
    title.setPixelSize(34);
    painter.setFont(title);
    painter.drawText(QRect(110, 18, kWidth - 120, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     kProductName);
    QFont small = font();
    small.setPixelSize(13);
    painter.setFont(small);
    painter.setPen(QColor(0xd1, 0xe6, 0xef));
    painter.drawText(QRect(112, 64, kWidth - 120, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     kVersionText);
    painter.setPen(QColor(0x8f, 0xa9, 0xbb));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
