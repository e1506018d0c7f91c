#pragma once
// The view list: the albums that pass the applied filter and (outside the
// selection edit mode) belong to the chosen selection, in sort-key order.
// Every view, the export and "add all albums to the queue" walk it.
// It refers to the collection's albums without owning them: clear or rebuild
// it whenever albums leave the collection.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/KeyedList.h"
#include "views/SortKey.h"
#include "views/TextCollator.h"

class Tm3u;
class TFilter;
class TSelection;

class TViewList {
  public:
    // An empty locale name collates for the user's locale.
    explicit TViewList(const std::string& localeName = {});

    size_t Count() const { return albums_.size(); }
    bool Empty() const { return albums_.empty(); }
    Tm3u& operator[](size_t row) const { return *albums_[row]; }
    const std::vector<Tm3u*>& Albums() const { return albums_; }
    // Row of the album, or -1.
    long IndexOf(const Tm3u* album) const;
    // Forgets the albums (they may be freed next) but keeps the key cache.
    void Clear() { albums_.clear(); }

    // Rebuilds the list from scratch (see RebuildViewList).
    void Rebuild(const KeyedList<Tm3u>& albums, const TFilter& filter, const TSelection* selection,
                 bool selectionEditMode, const TSortSettings& sort);

  private:
    // The collation key of an album's key body, kept between rebuilds and
    // recomputed when the album's values or the order change.
    const std::string& BodyKey(const Tm3u& album, const std::string& letters, bool yearAsc);
    std::string CollationKey(const std::vector<TSortKeyPart>& parts) const;
    void ForgetUnusedKeys(size_t albumCount);

    struct CachedKey {
        uint64_t fingerprint = 0;  // of the values the body was built from
        uint32_t generation = 0;   // the rebuild that last used it
        std::string key;
    };

    TTextCollator collator_;
    std::vector<Tm3u*> albums_;
    std::unordered_map<const Tm3u*, CachedKey> keys_;
    std::string keyedOrder_;  // order letters and year order the cache was built for
    uint32_t generation_ = 0;
};

// Rebuilds `view` from the collection in collection order: clears every
// album's InSelection mark, skips albums the filter rejects (artist, genre,
// year in decimal) and, when a selection is chosen and the edit mode is off,
// albums outside it; marks the selection's members; orders by sort key (equal
// keys: the album later in the collection first); trims a chart to its length.
void RebuildViewList(TViewList& view, const KeyedList<Tm3u>& albums, const TFilter& filter,
                     const TSelection* selection, bool selectionEditMode,
                     const TSortSettings& sort);
