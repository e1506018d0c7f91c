#pragma once
// FLAC files: the stream values of the STREAMINFO block, the Vorbis comment
// block and where the PICTURE blocks lie (an ID3v2 tag in front of "fLaC",
// which some rippers write, is passed over and kept).  Ogg FLAC streams carry
// the same blocks as Ogg packets.
//
// A tag write replaces the comments the values change and keeps every other
// block byte for byte.  When the file has a PADDING block that can take up
// the change in size, the audio stays where it is; otherwise the blocks are
// laid out anew with fresh padding.  The file is replaced through the safe
// write.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/SafeWrite.h"
#include "tags/OggVorbis.h"
#include "tags/TagWriter.h"

class TByteSource;

struct TFlacStreamInfo {
    uint32_t SampleRate = 0;
    uint8_t Channels = 0;
    uint8_t BitsPerSample = 0;
    uint64_t TotalSamples = 0;  // 0 = unknown
};
// The 34 bytes of a STREAMINFO block; false when there are fewer.
bool ParseFlacStreamInfo(std::string_view block, TFlacStreamInfo& info);

class TFlacFile {
  public:
    int64_t FileSize = 0;
    int64_t ID3v2Size = 0;
    int64_t AudioStart = 0;  // where the frames begin
    TFlacStreamInfo Info;
    bool HasComments = false;
    TVorbisComments Comments;
    struct TBlockPlace {
        int64_t Offset = 0;  // of the block's data
        uint32_t Size = 0;
    };
    std::vector<TBlockPlace> Pictures;

    // True when the data holds "fLaC" and a STREAMINFO block where expected.
    bool Load(const TByteSource& source);
    // The same values from an Ogg FLAC stream (first packet "\x7FFLAC").
    bool LoadOgg(const TByteSource& source);

    int32_t DurationMs() const;
    int32_t BitRate() const;  // kbit/s over the audio frames
};

inline constexpr uint32_t FlacNewPadding = 4096;

// The file's bytes with the values written into the Vorbis comment block;
// false with `problem` set when the file is not a FLAC file whose blocks can
// be rewritten.
bool RewriteFlacTags(std::string_view data, const TTagValues& values, std::string& out,
                     std::string& problem);
TWriteResult WriteFlacTags(const std::string& path, const TTagValues& values);
