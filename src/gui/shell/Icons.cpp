#include "gui/shell/Icons.h"

#include <QApplication>
#include <QStyle>

#include "gui/shell/CommandTable.h"
#include "core/ProgramFolder.h"

QIcon BundledIcon(const QString& name) {
    const std::string path = FindResource("icons/" + name.toStdString() + ".svg");
    if (path.empty()) return {};
    QIcon icon(QString::fromStdString(path));
    // Without the SVG image plug-in the file loads as an empty picture.
    if (icon.pixmap(16, 16).isNull()) return {};
    return icon;
}

QIcon CommandIcon(const TCommandInfo& info) {
    if (!*info.themeIcon) return {};
    const QString name = QString::fromLatin1(info.themeIcon);
    QIcon fallback = BundledIcon(name);
    if (fallback.isNull() && info.fallbackIcon != QStyle::SP_CustomBase)
        fallback = QApplication::style()->standardIcon(info.fallbackIcon);
    return QIcon::fromTheme(name, fallback);
}

QIcon ApplicationIcon() {
    return QIcon::fromTheme(QStringLiteral("mavelo"), BundledIcon(QStringLiteral("mavelo")));
}
