#pragma once
// The player's view of the list page: the album grid's current album, the
// track grid's current track, the albums shown in view order, Jump to an
// album, and the list's modified mark.  Until the list page is attached
// every answer is "none".
#include "gui/player/PlayerAlbumSource.h"

class TListViews;

class TListPageAlbums : public TPlayerAlbumSource {
  public:
    void Attach(TListViews* views) { views_ = views; }

    Tm3u* CurrentAlbum() override;
    Tmp3* CurrentTrack() override;
    std::vector<Tm3u*> ShownAlbums() override;
    bool SelectAlbum(const std::string& artist, const std::string& album, const std::string& genre,
                     int32_t year) override;
    void MarkListModified() override;

  private:
    TListViews* views_ = nullptr;
};
