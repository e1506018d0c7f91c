#pragma once
// MP4 files (M4A with AAC or ALAC): the playing time of the movie or sound
// track header, the bit rate of the sample description, and the items of the
// iTunes-style metadata list (moov/udta/meta/ilst).  Atoms may have 64-bit
// sizes.
//
// A tag write replaces the items whose values change and keeps every other
// item byte for byte.  The new list takes the room of a `free` atom right
// after it when that is enough, so nothing else moves; otherwise the atoms
// that hold it grow and every chunk offset (stco, co64) that points behind
// it moves with the data.  The file is replaced through the safe write.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/SafeWrite.h"
#include "tags/TagWriter.h"

class TByteSource;

class TMp4File {
  public:
    int64_t FileSize = 0;
    uint64_t Duration = 0;   // in TimeScale units
    uint32_t TimeScale = 0;
    uint32_t AverageBitRate = 0;  // bit/s from esds or alac; 0 unknown
    int64_t MediaBytes = 0;       // the size of the mdat atoms
    bool HasTags = false;
    std::string Title, Artist, AlbumArtist, Album, Date, Genre, Comment;
    int32_t Track = 0;
    int32_t TrackTotal = 0;
    struct TCover {
        int32_t Format = 0;  // 13 JPEG, 14 PNG
        std::string Bytes;
    };
    std::vector<TCover> Covers;

    // True when the data holds a movie atom.
    bool Load(const TByteSource& source);

    int32_t DurationMs() const;
    int32_t BitRate() const;  // kbit/s
};

// The file's bytes with the values written into its item list; false with
// `problem` set when the file is not one whose atoms can be rewritten.
bool RewriteMp4Tags(std::string_view data, const TTagValues& values, std::string& out,
                    std::string& problem);
TWriteResult WriteMp4Tags(const std::string& path, const TTagValues& values);
