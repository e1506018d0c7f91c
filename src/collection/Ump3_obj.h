#pragma once
// A track: one audio file of an album (or a copy held by a song of the play
// queue) with the tag values the program shows, sorts and searches by.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/HugePageHeap.h"
#include "core/SharedText.h"

#include "core/SafeWrite.h"
#include "tags/AudioFile.h"
#include "tags/TagWriter.h"

class TLoadSave;

// A stored tag kind; a number that names no kind reads as None, so the track
// counts as untagged everywhere (as it is drawn).
TTagKind TagKindFromInt(int32_t value);

// Search field flags shared by tracks, albums and the search window.
enum TSearchField : int32_t {
    SearchArtist = 1,
    SearchAlbum = 2,
    SearchTrack = 4,
    SearchFiles = 8,
};

// The relative form of a stored path: `base` is removed from the front when
// the path begins with it; reading puts the base back in front.
std::string_view ToRelativeForm(std::string_view path, std::string_view base);
TSharedText FromRelativeForm(std::string_view stored, std::string_view base);

// The texts are shared (see TSharedText): the tracks of an album loaded from
// a list or scanned together hold one copy of their common artist, album and
// genre, and a track's path is also its key in the album.
class Tmp3 : public THugePageHeapObject {
  public:
    explicit Tmp3(TSharedText path = {});

    TSharedText Title;
    TSharedText Artist;
    TSharedText Album;
    TSharedText Genre;
    int32_t Year = 0;
    TTagKind TagKind = TTagKind::None;
    int32_t Duration = 0;  // milliseconds; 0 unknown
    int32_t Bitrate = 0;   // kbit/s; 0 unknown
    TSharedText Path;
    TSharedText PicturePath;
    int32_t RefreshMark = 0;  // 1 while an album refresh has not met it yet
    bool FileFound = false;
    bool InAlbumFolder = false;

    void WriteTrackRecord(TLoadSave& stream, std::string_view base) const;
    // Values equal to those of `previous` (the album's track read before)
    // share its copies.
    void ReadTrackRecord(TLoadSave& stream, std::string_view base, const Tmp3* previous = nullptr);
    // Takes the artist, album and genre copies of `other` where they are equal.
    void ShareTextsWith(const Tmp3& other);

    // Fills the tag fields from the file; true when a tag was taken.
    bool ReadTags();
    // Takes what a tag read gave: the values when it found a tag, the
    // playing time and bit rate when the stream's header gives them.
    void TakeTags(const TTrackTags& tags);
    // Stores the values and writes them into the file's tag (`choice` says
    // which tags of an MP3 file); on failure the result says why.
    TWriteResult WriteTags(TId3Choice choice, const TTagValues& values);
    // Renames the file after the track format (only MP3 files); on failure
    // the result says why and nothing changed.
    TWriteResult RenameToFormat(int position, const std::string& pattern);
    void ReplaceFolder(const std::string& oldFolder, const std::string& newFolder);
    bool MatchesText(const std::string& search, bool wordsOnly, int32_t fields) const;
    void CopyFrom(const Tmp3& other);
};

// The track format with its placeholders replaced (%artist %album %year
// %number %title, each at its first occurrence), before SafeFileName.
std::string FormatTrackName(const Tmp3& track, int position, const std::string& pattern);
