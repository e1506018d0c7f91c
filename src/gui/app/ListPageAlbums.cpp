#include "gui/app/ListPageAlbums.h"

#include "collection/Um3u_obj.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "views/Catalogue.h"

void ConnectPlayerToListPage(TPlayerAlbumHooks& hooks, TListViews& views) {
    hooks.currentAlbum = [&views] { return views.Page().CurrentAlbum(); };
    hooks.currentTrack = [&views]() -> Tmp3* {
        Tm3u* album = views.Page().CurrentAlbum();
        const int track = views.Page().CurrentTrack();
        if (!album || track < 0 || static_cast<size_t>(track) >= album->Tracks.Count())
            return nullptr;
        return &album->Tracks[static_cast<size_t>(track)];
    };
    hooks.shownAlbums = [&views] {
        const TViewList& view = views.Catalogue().View;
        std::vector<Tm3u*> albums;
        albums.reserve(view.Count());
        for (size_t row = 0; row < view.Count(); ++row) albums.push_back(&view[row]);
        return albums;
    };
    hooks.selectAlbum = [&views](const std::string& artist, const std::string& title,
                                 const std::string& genre, int32_t year) {
        const TViewList& view = views.Catalogue().View;
        for (size_t row = 0; row < view.Count(); ++row) {
            const Tm3u& album = view[row];
            if (album.Artist == artist && album.Album == title && album.Genre == genre &&
                album.Year == year) {
                views.Page().SetCurrentAlbum(&album);
                return true;
            }
        }
        return false;
    };
    hooks.markListModified = [&views] { views.SetModified(); };
}
