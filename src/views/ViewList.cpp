#include "views/ViewList.h"

#include <algorithm>

#include "collection/Um3u_obj.h"
#include "views/Ufilter_obj.h"
#include "views/Uselection_obj.h"

namespace {
// FNV-1a over the values a key body is built from.
uint64_t BodyFingerprint(const Tm3u& album) {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::string_view bytes) {
        for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xFFu) * 1099511628211ull;  // separator: "ab"+"c" differs from "a"+"bc"
    };
    mix(album.Artist);
    mix(album.Genre);
    mix(album.Album);
    const std::string year = std::to_string(album.Year);
    mix(year);
    return hash;
}

struct Row {
    const std::string* prefix;  // the chart prefix, "" outside charts
    const std::string* key;
    size_t index;  // position in the collection
    Tm3u* album;
};

// Equal keys list the album that comes later in the collection first.
bool RowBefore(const Row& a, const Row& b) {
    if (int c = a.prefix->compare(*b.prefix)) return c < 0;
    if (int c = a.key->compare(*b.key)) return c < 0;
    return a.index > b.index;
}

bool PassesFilter(const TFilter& filter, const Tm3u& album) {
    return filter.IsEmpty() ||
           filter.Matches(album.Artist, album.Genre, std::to_string(album.Year));
}

size_t ChartLength(const TSortSettings& sort, TSortMode mode) {
    const int length =
        mode == TSortMode::MostPlayed ? sort.MostOftenPlayedCount : sort.LastPlayedCount;
    return length > 0 ? size_t(length) : 0;
}
}  // namespace

TViewList::TViewList(const std::string& localeName) : collator_(localeName) {}

long TViewList::IndexOf(const Tm3u* album) const {
    auto it = std::find(albums_.begin(), albums_.end(), album);
    return it == albums_.end() ? -1 : static_cast<long>(it - albums_.begin());
}

std::string TViewList::CollationKey(const std::vector<TSortKeyPart>& parts) const {
    // Each part ends with a zero byte, which no part holds, so the byte order
    // of the joined keys compares part by part.
    std::string key;
    for (const auto& part : parts) {
        key += part.width ? collator_.SortKey(part.text) : part.text;
        key += '\0';
    }
    return key;
}

const std::string& TViewList::BodyKey(const Tm3u& album, const std::string& letters, bool yearAsc) {
    CachedKey& cached = keys_[&album];
    const uint64_t fingerprint = BodyFingerprint(album);
    if (cached.generation == 0 || cached.fingerprint != fingerprint) {
        cached.key = CollationKey(SortKeyBody(album, letters, yearAsc));
        cached.fingerprint = fingerprint;
    }
    cached.generation = generation_;
    return cached.key;
}

void TViewList::ForgetUnusedKeys(size_t albumCount) {
    if (keys_.size() <= 2 * albumCount + 64) return;
    std::erase_if(keys_,
                  [this](const auto& entry) { return entry.second.generation != generation_; });
}

void TViewList::Rebuild(const KeyedList<Tm3u>& albums, const TFilter& filter,
                        const TSelection* selection, bool selectionEditMode,
                        const TSortSettings& sort) {
    const TSortMode mode = SortModeOf(sort.SortString);
    const std::string letters = OrderLetters(sort.SortString);
    const std::string order = letters + (sort.YearAsc ? "+" : "-");
    if (order != keyedOrder_) {
        keys_.clear();
        keyedOrder_ = order;
    }
    ++generation_;
    keys_.reserve(albums.Count());

    std::vector<Row> rows;
    rows.reserve(albums.Count());
    // Chart prefixes, reserved whole so that the rows can point into them.
    static const std::string noPrefix;
    std::vector<std::string> prefixes;
    if (mode != TSortMode::Order) prefixes.reserve(albums.Count());
    for (size_t i = 0; i < albums.Count(); ++i) {
        Tm3u& album = albums[i];
        album.InSelection = false;
        if (!PassesFilter(filter, album)) continue;
        const bool member = selection && selection->Contains(&album);
        if (selection && !selectionEditMode && !member) continue;
        album.InSelection = member;
        if (!SortModeIncludes(album, mode)) continue;
        const std::string* prefix =
            mode == TSortMode::Order ? &noPrefix : &prefixes.emplace_back(ChartPrefix(album, mode));
        rows.push_back({prefix, &BodyKey(album, letters, sort.YearAsc), i, &album});
    }
    if (mode == TSortMode::Order) {
        std::sort(rows.begin(), rows.end(), RowBefore);
    } else {  // a chart keeps only its top entries
        const auto kept =
            static_cast<std::ptrdiff_t>(std::min(rows.size(), ChartLength(sort, mode)));
        std::partial_sort(rows.begin(), rows.begin() + kept, rows.end(), RowBefore);
        rows.resize(size_t(kept));
    }

    albums_.clear();
    albums_.reserve(rows.size());
    for (const Row& row : rows) albums_.push_back(row.album);
    ForgetUnusedKeys(albums.Count());
}

void RebuildViewList(TViewList& view, const KeyedList<Tm3u>& albums, const TFilter& filter,
                     const TSelection* selection, bool selectionEditMode,
                     const TSortSettings& sort) {
    view.Rebuild(albums, filter, selection, selectionEditMode, sort);
}
