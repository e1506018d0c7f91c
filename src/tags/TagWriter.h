#pragma once
// Writing a track's values into its file's tags: one safe rewrite of the file
// per write, whatever tags change, and a result that says why a write failed.
#include <cstdint>
#include <string>

#include "core/SafeWrite.h"

// The values a tag write stores.
struct TTagValues {
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Genre;
    int32_t Year = 0;  // 0 = unknown: no year is written
};

// Which ID3 tags an MP3 write leaves in the file (the numbers of the list
// file's and settings' tag type).
enum class TId3Choice : int32_t { V2 = 0, V1 = 1, Both = 2 };
// The choice of a setting or a choice list's index; a number that names none
// is ID3v2 only, the default.
TId3Choice Id3ChoiceFromInt(int32_t value);

// Writes the chosen tags and removes the other:
// - ID3v2 only: the ID3v1 tag goes, and its track, comment, album and year
//   move into the ID3v2 tag where that has none;
// - ID3v1 only: only the ID3v2 frames that would hide the new values go
//   (pictures and every other frame stay; a tag left empty goes);
// - both: both tags, in the same rewrite.
TWriteResult WriteMp3Tags(const std::string& path, TId3Choice choice, const TTagValues& values);
// Replaces the title, artist, album, date and genre comments.
TWriteResult WriteOggTags(const std::string& path, const TTagValues& values);
