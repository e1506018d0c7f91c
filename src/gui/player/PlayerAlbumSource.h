#pragma once
// What the player needs from the catalogue windows: the current album and
// track, the albums shown in view order, finding an album for Jump, and
// marking the list modified after play statistics changed.
#include <cstdint>
#include <string>
#include <vector>

class Tm3u;
class Tmp3;

class TPlayerAlbumSource {
  public:
    virtual ~TPlayerAlbumSource() = default;
    // The album grid's current album; nullptr when no row is selected.
    virtual Tm3u* CurrentAlbum() = 0;
    // The track grid's current track; nullptr when none.
    virtual Tmp3* CurrentTrack() = 0;
    // The albums of the view list, in its order.
    virtual std::vector<Tm3u*> ShownAlbums() = 0;
    // Selects (and scrolls to) the first shown album whose artist, title and
    // genre equal these exactly and whose year is equal; false when none.
    virtual bool SelectAlbum(const std::string& artist, const std::string& album,
                             const std::string& genre, int32_t year) = 0;
    virtual void MarkListModified() = 0;
};
