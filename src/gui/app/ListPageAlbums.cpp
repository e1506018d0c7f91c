#include "gui/app/ListPageAlbums.h"

#include "collection/Um3u_obj.h"
#include "gui/list/AlbumGrid.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListRoles.h"
#include "gui/list/ListViews.h"
#include "views/Catalogue.h"

Tm3u* TListPageAlbums::CurrentAlbum() {
    return views_ ? views_->Page().CurrentAlbum() : nullptr;
}

Tmp3* TListPageAlbums::CurrentTrack() {
    Tm3u* album = CurrentAlbum();
    if (!album) return nullptr;
    const int track = views_->Page().CurrentTrack();
    if (track < 0 || static_cast<size_t>(track) >= album->Tracks.Count()) return nullptr;
    return &album->Tracks[static_cast<size_t>(track)];
}

std::vector<Tm3u*> TListPageAlbums::ShownAlbums() {
    if (!views_) return {};
    return views_->Catalogue().View.Albums();
}

bool TListPageAlbums::SelectAlbum(const std::string& artist, const std::string& title,
                                  const std::string& genre, int32_t year) {
    if (!views_) return false;
    const TViewList& view = views_->Catalogue().View;
    for (size_t row = 0; row < view.Count(); ++row) {
        const Tm3u& album = view[row];
        if (album.Artist == artist && album.Album == title && album.Genre == genre &&
            album.Year == year) {
            views_->Page().SetCurrentAlbum(&album);
            // The album found becomes the top visible row.
            TAlbumGrid* grid = views_->Page().Grid();
            grid->scrollTo(grid->model()->index(int(row), ColumnText),
                           QAbstractItemView::PositionAtTop);
            return true;
        }
    }
    return false;
}

void TListPageAlbums::MarkListModified() {
    if (views_) views_->SetModified();
}
