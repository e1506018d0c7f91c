#pragma once
// Opening a file with the desktop's program for it (the browser for a help
// page, the music player for a playlist).  Opening can fail, for example when
// no launcher such as xdg-open is installed: callers tell the user.
#include <QString>
#include <QUrl>

#include <functional>

// Opens the file; false when the desktop could not.
bool OpenWithDesktop(const QString& path);
// The opener behind OpenWithDesktop (QDesktopServices by default); tests put
// their own in its place.
std::function<bool(const QUrl&)>& DesktopUrlOpener();
// The message for a file the desktop could not open: what failed, the file,
// and what the user can do about it.
QString CouldNotOpenText(const QString& path);
