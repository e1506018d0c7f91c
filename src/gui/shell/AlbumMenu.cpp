#include "gui/shell/AlbumMenu.h"

#include <QMenu>

#include "gui/shell/ShellPort.h"

QMenu* MakeAlbumMenu(TShellPort& shell, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("PopupMenuAlbum");
    using C = TCommandId;
    for (C id : {C::AlbumFreeDB, C::AlbumEdit}) menu->addAction(shell.Action(id));
    menu->addSeparator();
    for (C id : {C::PlaylistPlayAlbum, C::PlaylistPlayAlbumExt, C::PlaylistAddAlbum, C::AlbumUpdate,
                 C::AlbumPasteImage, C::AlbumLoadImage, C::AlbumDeleteImage, C::AlbumImportCover,
                 C::AlbumRemove})
        menu->addAction(shell.Action(id));
    return menu;
}
