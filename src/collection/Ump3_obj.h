#pragma once
// A track: one audio file of an album (or a copy held by a song of the play
// queue) with the tag values the program shows, sorts and searches by.
#include <cstdint>
#include <string>

#include "core/SafeWrite.h"

class TLoadSave;

// Where a track's values came from.
enum TTagKind : int32_t {
    TagNone = 0,
    TagID3v1 = 1,
    TagID3v2 = 2,
    TagOggVorbis = 3,
    TagWMA = 4,
};

// Which tag(s) WriteTags writes into an MP3 file.
enum TTagType : int32_t {
    TagTypeId3v2 = 0,
    TagTypeId3v1 = 1,
    TagTypeBoth = 2,
};

// Search field flags shared by tracks, albums and the search window.
enum TSearchField : int32_t {
    SearchArtist = 1,
    SearchAlbum = 2,
    SearchTrack = 4,
    SearchFiles = 8,
};

// The relative form of a stored path: `base` is removed from the front when
// the path begins with it; reading puts the base back in front.
std::string ToRelativeForm(const std::string& path, const std::string& base);
std::string FromRelativeForm(const std::string& stored, const std::string& base);

class Tmp3 {
  public:
    explicit Tmp3(std::string path = {});

    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Genre;
    int32_t Year = 0;
    int32_t TagKind = TagNone;
    int32_t Duration = 0;  // milliseconds; 0 unknown
    int32_t Bitrate = 0;   // kbit/s; 0 unknown
    std::string Path;
    std::string PicturePath;
    int32_t RefreshMark = 0;  // 1 while an album refresh has not met it yet
    bool FileFound = false;
    bool InAlbumFolder = false;

    void WriteTrackRecord(TLoadSave& stream, const std::string& base) const;
    void ReadTrackRecord(TLoadSave& stream, const std::string& base);

    // Fills the tag fields from the file; true when a tag was taken.
    bool ReadTags();
    // Stores the values and writes them into the file's tag; on failure the
    // result says why.
    TWriteResult WriteTags(int32_t tagType, const std::string& artist, int32_t year,
                           const std::string& title, const std::string& genre,
                           const std::string& album);
    // Renames the file after the track format; true when renamed.
    bool RenameToFormat(int position, const std::string& pattern);
    void ReplaceFolder(const std::string& oldFolder, const std::string& newFolder);
    bool MatchesText(const std::string& search, bool wordsOnly, int32_t fields) const;
    void CopyFrom(const Tmp3& other);
};

// The kind of an audio file for tag handling: the last three characters of
// the path folded to lower case ("mp3", "ogg", "wma"), without looking for a dot;
// "oga" is "ogg".
std::string TrackFileKind(const std::string& path);

// The track format with its placeholders replaced (%artist %album %year
// %number %title, each at its first occurrence), before SafeFileName.
std::string FormatTrackName(const Tmp3& track, int position, const std::string& pattern);
