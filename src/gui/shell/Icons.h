#pragma once
// Pictures of the commands: the desktop's icon theme first, then the
// program's own pictures (icons/<theme name>.svg among the shipped files),
// then the widget style's standard pictures.
#include <QIcon>

struct TCommandInfo;

// The picture of a command; a null icon for a command without one.
QIcon CommandIcon(const TCommandInfo& info);
// One of the shipped pictures by its theme name ("document-open"); a null icon
// when it is not shipped or cannot be drawn.
QIcon BundledIcon(const QString& name);
// The program's own picture, for its windows.
QIcon ApplicationIcon();
