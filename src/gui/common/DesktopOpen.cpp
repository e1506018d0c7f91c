#include "gui/common/DesktopOpen.h"

#include <QApplication>
#include <QDesktopServices>

#include "core/Ulang.h"

std::function<bool(const QUrl&)>& DesktopUrlOpener() {
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

bool OpenWithDesktop(const QString& path) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool opened = DesktopUrlOpener()(QUrl::fromLocalFile(path));
    QApplication::restoreOverrideCursor();
    return opened;
}

QString CouldNotOpenText(const QString& path) {
    return QString::fromStdString(
               LangText("CouldNotOpenFile", "The desktop could not open the file")) +
           "\n" + path + "\n" +
           QString::fromStdString(LangText(
               "InstallDesktopOpener",
               "Install xdg-utils (xdg-open) and choose a program for this kind of file."));
}
