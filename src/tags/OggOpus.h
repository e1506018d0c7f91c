#pragma once
// Ogg Opus files: the OpusHead values that give the playing time (pre-skip
// and the last page's granule position, always at 48 kHz) and the comments
// of the OpusTags packet (an ID3v2 tag in front of the Ogg data is passed
// over).
//
// A tag write replaces the comments the values change and keeps every other
// comment and the bytes after them; the OpusTags packet is laid out as new
// pages and the later pages of the stream are renumbered, with fresh
// checksums, when their count changes.  The file is replaced through the
// safe write.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/SafeWrite.h"
#include "tags/OggVorbis.h"
#include "tags/TagWriter.h"

class TByteSource;

class TOggOpus {
  public:
    int64_t FileSize = 0;
    int64_t ID3v2Size = 0;
    uint8_t Channels = 0;
    uint16_t PreSkip = 0;
    int64_t Granule = 0;  // of the last page; 0 unknown
    bool HasComments = false;
    TVorbisComments Comments;

    // True when the data holds an Ogg page whose first packet is "OpusHead".
    bool Load(const TByteSource& source);

    int32_t DurationMs() const;
    int32_t BitRate() const;  // kbit/s over the whole stream
};

// The file's bytes with the values written into its OpusTags packet; false
// with `problem` set when the file is not one whose comments can be written.
bool RewriteOpusTags(std::string_view data, const TTagValues& values, std::string& out,
                     std::string& problem);
TWriteResult WriteOpusTags(const std::string& path, const TTagValues& values);
