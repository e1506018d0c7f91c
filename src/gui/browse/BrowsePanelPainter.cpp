#include "gui/browse/BrowsePanelPainter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include "browse/BrowseLayout.h"

QColor ToQColor(TBrowseColor color) {
    return QColor(BrowseRed(color), BrowseGreen(color), BrowseBlue(color));
}

TBrowseColor FromQColor(const QColor& color) {
    return BrowseRgb(color.red(), color.green(), color.blue());
}

QFont ToQFont(const TBrowseFont& font) {
    const QString name = QString::fromStdString(font.Name);
    QFont result;
    if (QFontDatabase::hasFamily(name))
        result.setFamily(name);
    else if (name.startsWith("Courier", Qt::CaseInsensitive))
        result = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    else
        result = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    result.setPointSize(font.Size > 0 ? font.Size : 8);
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    return result;
}

TBrowseFont FromQFont(const QFont& font, TBrowseColor color) {
    TBrowseFont result;
    result.Name = font.family().toStdString();
    result.Size = font.pointSize() > 0 ? font.pointSize() : 8;
    result.Color = color;
    result.Bold = font.bold();
    result.Italic = font.italic();
    result.Underline = font.underline();
    return result;
}

namespace {
TBrowseLineStyle LineStyle(const TBrowseFont& font, bool raised, TBrowseColor highlight) {
    return {ToQFont(font), ToQColor(font.Color), raised, ToQColor(highlight)};
}

QRect ToQRect(const TBrowseRect& r, const QPoint& origin) {
    return QRect(origin.x() + r.left, origin.y() + r.top, r.width, r.height);
}

// The cover stretched proportionally into the area, centred, at the top.
QRect CoverTarget(const QSize& picture, const QRect& area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    const QSize size = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(),
                 size.height());
}

// The cover is scaled once into an image of the device's pixels (bilinear,
// drawn by a painter: Qt's smooth scaler hands such small images to other
// threads and waits for them) and kept until the panel shows another album.
void DrawCover(QPainter& painter, const QWidget& widget, const QRect& area, TCoverPanel& panel) {
    if (panel.cover.isNull()) return;
    const QRect target = CoverTarget(panel.cover.size(), area);
    if (target.isEmpty()) return;
    const qreal ratio = widget.devicePixelRatioF();
    const QSize pixels = target.size() * ratio;
    if (panel.scaled.size() != pixels) {
        QImage scaled(pixels, QImage::Format_RGB32);
        QPainter scaler(&scaled);
        scaler.setRenderHint(QPainter::SmoothPixmapTransform);
        scaler.drawImage(QRect(QPoint(0, 0), pixels), panel.cover);
        scaler.end();
        scaled.setDevicePixelRatio(ratio);
        panel.scaled = std::move(scaled);
    }
    painter.drawImage(target.topLeft(), panel.scaled);
}

void DrawMark(QPainter& painter, QWidget& widget, const QRect& rect, bool ticked) {
    QStyleOptionButton option;
    option.initFrom(&widget);
    option.rect = rect;
    option.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
    widget.style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, &widget);
}
}  // namespace

TBrowsePanelStyle PanelStyleOf(const TBrowseDetails& d) {
    return {d.PanelBorder, LineStyle(d.ArtistFont, d.Artist3D, d.Artist3DColor),
            LineStyle(d.AlbumFont, d.Album3D, d.Album3DColor),
            LineStyle(d.YearFont, d.Year3D, d.Year3DColor)};
}

void DrawBrowseLine(QPainter& painter, const QRect& rect, const QString& text,
                    const TBrowseLineStyle& style) {
    if (text.isEmpty()) return;
    painter.setFont(style.font);
    const QString shown =
        QFontMetrics(style.font).elidedText(text, Qt::ElideRight, std::max(rect.width() - 4, 0));
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (style.raised) {
        painter.setPen(style.highlight);
        painter.drawText(rect.translated(1, 1), flags, shown);
    }
    painter.setPen(style.color);
    painter.drawText(rect, flags, shown);
}

void PaintCoverPanel(QPainter& painter, QWidget& widget, const QRect& rect, TCoverPanel& panel,
                     const TBrowsePanelStyle& style) {
    painter.fillRect(rect, panel.colour);
    constexpr int kBorder = 2;
    if (style.border) {
        // A lowered bevel: dark above and left, light below and right.
        const QColor dark = panel.colour.darker(150), light = panel.colour.lighter(130);
        painter.setPen(dark);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(light);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    const TBrowsePanelParts parts = BrowsePanelPartsFor(rect.width(), rect.height());
    const QPoint origin = rect.topLeft();
    const QRect coverArea = ToQRect(parts.cover, origin).adjusted(kBorder, kBorder, -kBorder, 0);
    DrawCover(painter, widget, coverArea, panel);
    DrawBrowseLine(painter, ToQRect(parts.artist, origin), panel.artist, style.artist);
    DrawBrowseLine(painter, ToQRect(parts.album, origin), panel.title, style.album);
    DrawBrowseLine(painter, ToQRect(parts.year, origin), panel.year, style.year);
    if (panel.mark) DrawMark(painter, widget, ToQRect(parts.mark, origin), panel.mark == 2);
}
