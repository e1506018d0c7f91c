#include "gui/browse/BrowseOptionParts.h"

#include <QPainter>
#include <QStyleOptionButton>

#include "gui/browse/BrowsePanelPainter.h"

TColorSwatch::TColorSwatch(const char* name, QWidget* parent) : QToolButton(parent) {
    setObjectName(name);
    setFixedSize(36, 22);
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetColor(TBrowseColor color) {
    if (color_ == color) return;
    color_ = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, ToQColor(color_));
    painter.setPen(hasFocus() ? palette().highlight().color() : palette().dark().color());
    painter.drawRect(box);
}

TFontButton::TFontButton(const char* name, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setObjectName(name);
    setMinimumHeight(28);
}

void TFontButton::SetFont(const TBrowseFont& font) {
    font_ = font;
    update();
}

void TFontButton::SetRaised(bool raised, TBrowseColor highlight) {
    raised_ = raised;
    highlight_ = highlight;
    update();
}

void TFontButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    // The caption as the wall draws a line in this font (without the "&").
    QString caption = text();
    caption.remove('&');
    DrawBrowseLine(painter, rect(), caption,
                   {ToQFont(font_), ToQColor(font_.Color), raised_, ToQColor(highlight_)});
}
