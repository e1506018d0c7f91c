#pragma once
// Stream values and comments of an Ogg Vorbis file (an ID3v2 tag in front of
// the Ogg data is passed over).
//
// Store replaces the TITLE, ARTIST, ALBUM, DATE and GENRE comments whose
// values changed and keeps every other comment, the vendor text and the
// packet's closing bytes as they were.  The comment and setup packets are laid
// out as new pages (a packet may span pages); when their page count changes,
// the later pages of the stream are renumbered.  The file is replaced
// through the safe write.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/SafeWrite.h"

class TByteSource;

// The parts of a Vorbis comment packet, kept as stored.
struct TVorbisComments {
    std::string Vendor;
    std::vector<std::string> Entries;  // "NAME=value", UTF-8
    std::string Tail;                  // bytes after the last comment (the framing bit)
};
// False when the packet is not a comment packet; a truncated list keeps the
// entries read.
bool ParseVorbisComments(std::string_view packet, TVorbisComments& comments);
std::string BuildVorbisCommentPacket(const TVorbisComments& comments);
// Sets every comment named `name` (A-Z compared without case) to one comment
// with the value, where the first of them was (at the end when there was
// none); an empty value removes them.
void SetVorbisComment(TVorbisComments& comments, std::string_view name, std::string_view value);

class TOggVorbis {
  public:
    int64_t FileSize = 0;
    uint8_t Channels = 0;
    uint32_t SampleRate = 0;
    uint32_t NominalBitRate = 0;  // kbit/s, rounded
    int64_t Samples = 0;          // granule position of the last page
    int64_t ID3v2Size = 0;
    std::string Title;
    std::string Artist;  // ARTIST, or PERFORMER when that is empty
    std::string Album;
    int32_t Track = 0;  // the number at the start of TRACKNUMBER
    std::string Date;
    std::string Genre;
    std::string Comment;  // COMMENT, or DESCRIPTION when that is empty
    std::string Vendor;   // as stored

    void Clear();
    // True when the data holds an Ogg page with a Vorbis identification
    // packet where expected; the fields come from the comment packet when
    // there is one.
    bool Load(const std::string& path);
    bool Load(const TByteSource& source);

    double Duration() const;  // seconds
    int32_t BitRate() const;  // kbit/s
    bool Valid() const;

    bool Store(const std::string& path) const;
    // Store, saying why it failed.
    TWriteResult Write(const std::string& path) const;

    // The loaded comment packet.
    const TVorbisComments& Comments() const { return comments_; }

  private:
    void ReadIdentification(std::string_view packet);
    void ReadComments(std::string_view packet);

    TVorbisComments comments_;
};
