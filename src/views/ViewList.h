#pragma once
// The view list: the albums that pass the applied filter and (outside the
// selection edit mode) belong to the chosen selection, in sort-key order.
// Every view, the export and "add all albums to the queue" walk it.
// It refers to the collection's albums without owning them: clear or rebuild
// it whenever albums leave the collection.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "collection/Udir_obj.h"
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
    Tm3u& operator[](size_t row) { return *albums_[row]; }
    const Tm3u& operator[](size_t row) const { return *albums_[row]; }
    const std::vector<Tm3u*>& Albums() { return albums_; }
    std::span<const Tm3u* const> Albums() const { return albums_; }
    // Row of the album, if shown.
    std::optional<size_t> IndexOf(const Tm3u* album) const;
    // Forgets the albums (they may be freed next) but keeps the key cache.
    void Clear() { albums_.clear(); }

    // Rebuilds the list from scratch (see RebuildViewList).
    void Rebuild(Tm3uList& albums, const TFilter& filter, const TSelection* selection,
                 bool selectionEditMode, const TSortSettings& sort);

  private:
    // The joined collation key is kept per album between rebuilds, as long as
    // the album's texts, the order and the year stay.  Its album part (the
    // last one) is taken from it again when only the order or the year
    // changed; artists and genres repeat, so their keys are made once per
    // text in a rebuild.  One string per album: a large list's first rebuild
    // is mostly memory.
    struct CachedKey {
        uint64_t textFingerprint = 0;  // of the texts the body was made from
        uint32_t bodyOrder = 0;        // the order stamp the body was joined for
        int32_t bodyYear = 0;
        uint32_t generation = 0;  // the rebuild that last used it
        std::string body;         // empty until joined
    };

    const std::string& BodyKey(const Tm3u& album, const std::string& letters, bool yearAsc);
    void JoinBody(std::string& body, const Tm3u& album, const std::string& letters, bool yearAsc,
                  const std::string& albumKey);
    std::string CollationKeyOfPart(const std::string& value, size_t width) const;
    // The collation key of a text part, worked out once per distinct text in
    // a rebuild (artists and genres repeat over many albums).
    const std::string& PartKey(std::unordered_map<std::string, std::string>& memo,
                               const std::string& value, size_t width);
    void ForgetUnusedKeys(size_t albumCount);

    TTextCollator collator_;
    std::vector<Tm3u*> albums_;
    std::unordered_map<const Tm3u*, CachedKey> keys_;
    std::unordered_map<std::string, std::string> artistKeys_, genreKeys_;
    std::string keyedOrder_;  // order letters and year order of orderStamp_
    uint32_t orderStamp_ = 0;
    uint32_t generation_ = 0;
};

// Rebuilds `view` from the collection in collection order: clears every
// album's InSelection mark, skips albums the filter rejects (artist, genre,
// year in decimal) and, when a selection is chosen and the edit mode is off,
// albums outside it; marks the selection's members; orders by sort key (equal
// keys: the album later in the collection first); trims a chart to its length.
void RebuildViewList(TViewList& view, Tm3uList& albums, const TFilter& filter,
                     const TSelection* selection, bool selectionEditMode,
                     const TSortSettings& sort);
