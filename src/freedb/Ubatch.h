#pragma once
// The FreeDB update of albums without questions: the first complete match is
// taken, the album and its tags written, files renamed and the playlist
// saved.  One album (the album command) or a batch of the albums whose
// updated status is not set yet.
#include <string>
#include <vector>

#include "collection/Um3u_obj.h"
#include "core/Progress.h"
#include "freedb/AlbumApply.h"
#include "freedb/Ufreedb.h"

struct TFreeDBUpdateOptions {
    TFreeDBServer Server;
    bool SearchAndTag = true;
    TAlbumApplyOptions Apply;  // its WriteTags is ignored: SearchAndTag decides
    TTrackMeasure Measure;     // fills missing durations before the query
    TTagReader ReadTags;       // re-reads the tags afterwards; empty: Tmp3::ReadTags
};

// What the progress window shows.  Texts come translated.  Called on the
// thread the update runs on.
class TFreeDBUpdateView {
  public:
    virtual ~TFreeDBUpdateView() = default;
    // A new album: its artist and title, and whether it is the last of the run.
    virtual void ShowAlbum(const std::string& artist, const std::string& album, bool last) = 0;
    virtual void ShowStep(const std::string& text) = 0;
    virtual void ShowComment(const std::string& text) = 0;
    virtual void SetAlbumBar(int position, int maximum) = 0;
    virtual void SetOverallBar(int position, int maximum) = 0;
};

struct TFreeDBUpdateResult {
    bool Success = false;
    bool Cancelled = false;
    std::string Comment;       // the last comment shown: what the lookup found
    TAlbumApplyReport Report;  // tag and rename failures
};

// The label text for a query result: the number of matches, no match, no
// connection, or the server's own refusal.
std::string FreeDBQueryComment(const TFreeDBQueryResult& query);

// Updates one album, number `index` (from 0) of `count` in the run.  A
// cancel asked while the album runs lets the album finish and is reported
// back, so that a batch stops there.
TFreeDBUpdateResult FreeDBUpdateAlbum(Tm3u& album, const TFreeDBUpdateOptions& options, int index,
                                      int count, bool last, TFreeDBUpdateView& view,
                                      const TProgress& progress);

// The albums a batch takes, in the given (grid) order: those whose updated
// status is not set.
std::vector<Tm3u*> BatchAlbums(const std::vector<Tm3u*>& shown);

struct TFreeDBBatchResult {
    struct TAlbumOutcome {
        Tm3u* Album = nullptr;
        TFreeDBUpdateResult Result;
    };
    std::vector<TAlbumOutcome> Albums;  // those processed, in order
    int Updated = 0;                    // with success
    bool Cancelled = false;
};

// The whole batch: runs the update over the albums, counting them in
// `progress` (total and done), and stops after the album during which a
// cancel was asked.  It may run off the window thread; the owner re-keys
// the albums it names afterwards and marks the list modified.
TFreeDBBatchResult RunFreeDBBatch(const std::vector<Tm3u*>& albums,
                                  const TFreeDBUpdateOptions& options, TFreeDBUpdateView& view,
                                  TProgress& progress);
