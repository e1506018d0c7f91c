#pragma once
// Lets the player reach the list page: the album grid's current album, the
// track grid's current track, the albums shown in view order, Jump to an
// album, and the list's modified mark.
class TListViews;
class TPlayerAlbumHooks;

void ConnectPlayerToListPage(TPlayerAlbumHooks& hooks, TListViews& views);
