#pragma once
// Pictures of the commands: the desktop's icon theme first, then the widget
// style's standard pictures, then a small drawn glyph, so that every command
// with a picture shows one on any desktop.
#include <QIcon>

struct TCommandInfo;

// The picture of a command; a null icon for a command without one.
QIcon CommandIcon(const TCommandInfo& info);
// A small square picture showing a short text.
QIcon GlyphIcon(const QString& glyph);
