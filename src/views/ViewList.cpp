#include "views/ViewList.h"

#include <algorithm>

#include "collection/Um3u_obj.h"
#include "views/Ufilter_obj.h"
#include "views/Uselection_obj.h"

namespace {
// FNV-1a over the texts the part keys are made from.
uint64_t TextFingerprint(const Tm3u& album) {
    uint64_t hash = 14695981039346656037ull;
    for (const TSharedText* text : {&album.Artist, &album.Genre, &album.Album}) {
        for (unsigned char c : *text) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xFFu) * 1099511628211ull;  // "ab"+"c" differs from "a"+"bc"
    }
    return hash;
}

// The key is viewed where it is kept, so comparing two rows reads the key
// bytes directly.
struct Row {
    std::string_view prefix;  // the chart prefix, "" outside charts
    std::string_view key;
    size_t index;  // position in the collection
    Tm3u* album;
};

// Equal keys list the album that comes later in the collection first.
bool RowBefore(const Row& a, const Row& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (int c = a.key.compare(b.key)) return c < 0;
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

std::optional<size_t> TViewList::IndexOf(const Tm3u* album) const {
    auto it = std::find(albums_.begin(), albums_.end(), album);
    if (it == albums_.end()) return std::nullopt;
    return static_cast<size_t>(it - albums_.begin());
}

std::string TViewList::CollationKeyOfPart(const std::string& value, size_t width) const {
    // The collation ignores letter case, so the lower-casing of the key text
    // is left out here: it would change nothing but the time taken.
    return collator_.SortKey(FirstCharacters(value, width));
}

const std::string& TViewList::PartKey(std::unordered_map<std::string, std::string>& memo,
                                      const std::string& value, size_t width) {
    auto [it, added] = memo.try_emplace(value);
    if (added) it->second = CollationKeyOfPart(value, width);
    return it->second;
}

namespace {
// A joined body ends with the album part and a zero byte; no part holds one.
std::string AlbumPartOf(const std::string& body) {
    const size_t start = body.rfind('\0', body.size() - 2) + 1;
    return body.substr(start, body.size() - 1 - start);
}
}  // namespace

void TViewList::JoinBody(std::string& body, const Tm3u& album, const std::string& letters,
                         bool yearAsc, const std::string& albumKey) {
    const std::string& artist = PartKey(artistKeys_, album.Artist, kArtistPartWidth);
    const std::string& genre = PartKey(genreKeys_, album.Genre, kGenrePartWidth);
    const std::string year = YearPartOf(album.Year, yearAsc);
    // Each part ends with a zero byte, which no part holds, so the byte order
    // of the joined keys compares part by part.  Sized once: the body is
    // most of the memory a large list's first rebuild takes.
    body.clear();
    body.reserve(artist.size() + genre.size() + year.size() + albumKey.size() + 4);
    for (char letter : letters) {
        body += letter == 'A' ? artist : letter == 'G' ? genre : year;
        body += '\0';
    }
    body += albumKey;
    body += '\0';
}

const std::string& TViewList::BodyKey(const Tm3u& album, const std::string& letters, bool yearAsc) {
    CachedKey& cached = keys_[&album];
    cached.generation = generation_;
    const uint64_t fingerprint = TextFingerprint(album);
    const bool textsKept = !cached.body.empty() && cached.textFingerprint == fingerprint;
    if (textsKept && cached.bodyOrder == orderStamp_ && cached.bodyYear == album.Year)
        return cached.body;
    const std::string albumKey =
        textsKept ? AlbumPartOf(cached.body) : CollationKeyOfPart(album.Album, kAlbumPartWidth);
    JoinBody(cached.body, album, letters, yearAsc, albumKey);
    cached.textFingerprint = fingerprint;
    cached.bodyOrder = orderStamp_;
    cached.bodyYear = album.Year;
    return cached.body;
}

void TViewList::ForgetUnusedKeys(size_t albumCount) {
    if (keys_.size() <= 2 * albumCount + 64) return;
    std::erase_if(keys_,
                  [this](const auto& entry) { return entry.second.generation != generation_; });
}

void TViewList::Rebuild(Tm3uList& albums, const TFilter& filter, const TSelection* selection,
                        bool selectionEditMode, const TSortSettings& sort) {
    const TSortMode mode = SortModeOf(sort.SortString);
    const std::string letters = OrderLetters(sort.SortString);
    const std::string order = letters + (sort.YearAsc ? "+" : "-");
    if (order != keyedOrder_) {
        ++orderStamp_;  // every body is joined anew; the part keys stay
        keyedOrder_ = order;
    }
    ++generation_;
    keys_.reserve(albums.Count());

    std::vector<Row> rows;
    rows.reserve(albums.Count());
    // Chart prefixes, reserved whole so that the rows can point into them.
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
        const std::string_view prefix = mode == TSortMode::Order
                                            ? std::string_view()
                                            : prefixes.emplace_back(ChartPrefix(album, mode));
        rows.push_back({prefix, BodyKey(album, letters, sort.YearAsc), i, &album});
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
    artistKeys_.clear();
    genreKeys_.clear();
}

void RebuildViewList(TViewList& view, Tm3uList& albums, const TFilter& filter,
                     const TSelection* selection, bool selectionEditMode,
                     const TSortSettings& sort) {
    view.Rebuild(albums, filter, selection, selectionEditMode, sort);
}
