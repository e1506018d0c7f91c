#pragma once
// Covers databases (".cdb"): cover thumbnails keyed by artist name and album
// title (both through CoverKey), independent of any folder or list file.
//
// File layout (record stream, integers 4-byte little-endian signed, strings
// a 4-byte length and the bytes):
//   1001 (version), quality, artist count A,
//   A x { name, cover count C, C x { album title, year, crc, size } },
//   the thumbnails back to back, in the order of the cover entries.
// Artists and covers are written in key order; a cover's thumbnail starts
// where the previous one ends.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/Result.h"
#include "core/ReadSource.h"
#include "covers/ReplaceFlow.h"

class TLoadSave;
class TProgress;
class Tm3u;

// Where a cover's thumbnail bytes are.
struct TInThumbnails {};  // in the database's own Thumbnails
struct TFromPicture {     // to be made from this picture file at the next save
    std::string Path;
    bool operator==(const TFromPicture&) const = default;
};
struct TInMergeSource {};  // in the merge source (another database's Thumbnails)
inline bool operator==(TInThumbnails, TInThumbnails) { return true; }
inline bool operator==(TInMergeSource, TInMergeSource) { return true; }
using TCoverSource = std::variant<TInThumbnails, TFromPicture, TInMergeSource>;

struct TCover {
    std::string AlbumTitle;  // as first stored
    int32_t Year = 0;
    TCoverSource Source;
    bool InThumbnails() const { return std::holds_alternative<TInThumbnails>(Source); }
    // The picture file the thumbnail is to be made from ("" when none).
    std::string PicturePath() const {
        const auto* from = std::get_if<TFromPicture>(&Source);
        return from ? from->Path : std::string();
    }
    int32_t Offset = 0;
    int32_t Crc = 0;
    int32_t Size = 0;
    int32_t Quality = 0;  // used when the thumbnail is made from a file
};

// Owned objects by key, in key order; a key already present is not added.
template <typename T>
class TSortedOwnedList {
  public:
    using Map = std::map<std::string, std::unique_ptr<T>>;

    T* Find(const std::string& key) const {
        auto it = items_.find(key);
        return it == items_.end() ? nullptr : it->second.get();
    }
    // The object now under the key (the existing one when it was present).
    T* Add(const std::string& key, std::unique_ptr<T> object) {
        return items_.try_emplace(key, std::move(object)).first->second.get();
    }
    bool Remove(const std::string& key) { return items_.erase(key) > 0; }
    size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    void Clear() { items_.clear(); }
    typename Map::const_iterator begin() const { return items_.begin(); }
    typename Map::const_iterator end() const { return items_.end(); }

  private:
    Map items_;
};

class TCoverList : public TSortedOwnedList<TCover> {};

struct TArtist {
    std::string Name;  // as first stored
    int32_t Quality = 0;
    TCoverList Covers;
};

class TArtistList : public TSortedOwnedList<TArtist> {};

struct TFoundCover {
    TArtist* Artist = nullptr;
    TCover* Cover = nullptr;
};

// What a save wrote: the new thumbnail block and, in key order, where each
// cover's thumbnail now lies.  The database takes it (TCoverDb::Saved) only
// once the file is safely written.
struct TSavedDb {
    struct TPlace {
        int32_t Crc = 0;
        int32_t Size = 0;
        int32_t Offset = 0;
    };
    std::string Thumbnails;
    std::vector<TPlace> Covers;
};

class TCoverDb {
  public:
    static constexpr int32_t kVersion = 1001;

    explicit TCoverDb(int32_t quality = 0) : Quality(quality) {}
    TCoverDb(const TCoverDb&) = delete;
    TCoverDb& operator=(const TCoverDb&) = delete;

    TArtistList Artists;
    std::string Thumbnails;                    // the stored covers' thumbnails back to back
    const std::string* MergeSource = nullptr;  // another database's Thumbnails, after MergeDb
    int32_t Quality = 0;

    // Replaces the contents with the stream's.  Returns "" on success or the
    // wrong-version message (the database then stays empty).  A short or
    // damaged file throws EMyFileError, keeping what was read.  The progress
    // counts artists.
    std::string LoadDb(TLoadSave& stream, TProgress* progress = nullptr);
    // Writes the database, making the thumbnails of covers that wait for one;
    // the database itself does not change (see Saved).
    TSavedDb SaveDb(TLoadSave& stream, TProgress* progress = nullptr) const;
    // After the write succeeded: every thumbnail now lives in Thumbnails, in
    // the places the save gave.
    void Saved(TSavedDb saved);

    TFoundCover FindCover(const std::string& artist, const std::string& albumTitle) const;
    // 0: nothing to do (no album or no picture, or the stored cover matches);
    // 1: a new cover was added (its thumbnail is made at the next save);
    // 2: the album's picture differs from the stored cover (given in
    // `stored`), which unless checkOnly is set to be replaced at the next save.
    int AddAlbumCover(const Tm3u* album, bool checkOnly, TCover** stored = nullptr);
    // Adds the other database's covers; a cover present with another checksum
    // is replaced when the prompts agree.  The other database must live until
    // this one is saved.  Returns the number of covers added or replaced.
    int MergeDb(const TCoverDb& other, const TReplacePrompts& prompts);
    // The cover's thumbnail bytes ("" when it has none yet).
    std::string CoverBytes(const TCover& cover) const;
    void CoverBytes(const TCover& cover, std::string& buffer) const { buffer = CoverBytes(cover); }
    // The checksum of the thumbnail made from the cover's picture file at its
    // Quality, 0 when none can be made; sets `size` and appends the thumbnail
    // to `target` when one is given.
    static int32_t ThumbnailCrc(const TCover& cover, int32_t& size,
                                std::string* target = nullptr);

    size_t CoverCount() const;
    void Clear();
};

// How a database file was read: whole, or refused for its version (the
// database is then empty and `versionMessage` says so).
struct TCdbRead {
    std::string versionMessage;
    bool WrongVersion() const { return !versionMessage.empty(); }
};
// Reads a database file (or its bytes in memory) into `db`; a missing file
// reads as an empty database.  A file that cannot be read, or stops partway,
// is a failure naming it: the database then holds nothing, so that nothing
// half-read is ever written back.
TResult<TCdbRead> ReadCoverDbFile(const TReadSource& source, TCoverDb& db,
                                  TProgress* progress = nullptr);
// Writes the database through a temporary file renamed over the old one;
// with keepBackup the previous file stays as "path.bak".  The database takes
// the written thumbnails only when the write succeeded; on failure the old
// file and the database are as they were.
TResult<void> WriteCoverDbFile(const std::string& path, TCoverDb& db, bool keepBackup,
                               TProgress* progress = nullptr);

// The local covers database: "mavelo.cdb" in the program folder.
std::string LocalCoverDbPath();
// True when the file is named "mavelo.cdb" (in any folder, any letter case).
bool IsLocalCoverDbName(const std::string& path);
