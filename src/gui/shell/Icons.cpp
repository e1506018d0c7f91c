#include "gui/shell/Icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include "gui/shell/CommandTable.h"

QIcon GlyphIcon(const QString& glyph) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x3a, 0x5f, 0x7d));
        painter.setBrush(QColor(0xd1, 0xe6, 0xef));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(glyph.size() > 1 ? size * 2 / 5 : size * 3 / 5);
        painter.setFont(font);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon CommandIcon(const TCommandInfo& info) {
    if (!*info.themeIcon && !*info.glyph) return {};
    QIcon fallback = info.fallbackIcon == QStyle::SP_CustomBase
                         ? GlyphIcon(QString::fromUtf8(info.glyph))
                         : QApplication::style()->standardIcon(info.fallbackIcon);
    if (!*info.themeIcon) return fallback;
    return QIcon::fromTheme(QString::fromLatin1(info.themeIcon), fallback);
}
