#pragma once
// The album pop-up menu ("PopupMenuAlbum"), the same on the album grid and on
// the wall of covers: the shell's album and play commands.
class QMenu;
class QWidget;
class TShellPort;

QMenu* MakeAlbumMenu(TShellPort& shell, QWidget* parent);
