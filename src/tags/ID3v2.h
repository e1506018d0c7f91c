#pragma once
// The ID3v2 tag at the start of an MP3 file (major versions 2, 3 and 4).
//
// Load reads every frame and keeps it as raw bytes; the fields are decoded
// from sixteen of them.  Store writes the title, artist, album, year and
// genre (and a track or comment the tag lacks) into the tag and keeps every
// other frame byte for byte, in its order, in the tag's own major version
// (version 3 for a new tag).  A tag that fits its old space keeps its size;
// a larger one gets up to 4096 bytes (padding included).  The file is always
// replaced through the safe write, never changed in place.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tags/ID3v2Frames.h"

class TByteSource;

// The total size of an ID3v2 tag at the start of the data (header, frames,
// padding and footer), or 0 when there is none or it claims more than the data.
int64_t Id3v2TotalSize(const TByteSource& source);

class TID3v2 {
  public:
    bool Present = false;  // the data begins with "ID3"
    uint8_t Version = 0;   // major version from the header
    int64_t Size = 0;      // total tag size, 0 when unusable
    std::string Title;
    std::string Artist;
    std::string Album;
    int32_t Track = 0;      // the number before "/" of the track text; 0 = none
    std::string TrackText;  // the track frame's text, for example 3/12
    std::string Year;
    std::string Genre;
    std::string Comment;
    std::string Composer;
    std::string Encoder;
    std::string Rights;
    std::string Language;
    std::string Link;

    void Clear();
    // False when the first 10 bytes cannot be read; true otherwise.  Present
    // is true for any data beginning with "ID3", also when the version is
    // unknown or the size unusable (the fields are then empty).
    bool Load(const std::string& path);
    bool Load(const TByteSource& source);

    // Each keeps the text without leading and trailing blanks and control bytes.
    void SetTitle(std::string_view text);
    void SetArtist(std::string_view text);
    void SetAlbum(std::string_view text);
    void SetYear(std::string_view text);
    void SetGenre(std::string_view text);

    // The file's bytes with the fields written into its tag (see above).
    // False when the file's tag cannot be understood: it is never replaced by
    // one that would lose its frames.
    bool ApplyTo(std::string_view file, std::string& out) const;
    // The file's bytes without the frames that hide ID3v1 values (title,
    // artist, album, year, genre, track, comment); other frames stay, and a
    // tag left with nothing goes.  False when the tag cannot be understood.
    static bool WithoutFieldFrames(std::string_view file, std::string& out);
    // The file's bytes without the tag; false when there is none.
    static bool StripFrom(std::string_view file, std::string& out);

    // ApplyTo and StripFrom on a file, written back safely.
    bool Store(const std::string& path) const;
    bool Strip(const std::string& path) const;

    // False when the data begins with "ID3" but its frames cannot be read
    // (unknown version, a size beyond the file): writing must not replace it.
    bool Understood() const { return !Present || understood_; }

    // The loaded tag's frames in file order.
    const std::vector<TID3v2Frame>& Frames() const { return frames_; }
    // The frames (and kept bytes) of a tag holding these fields in place of
    // `current`, a tag as Load found it; false when a frame does not fit.
    bool BuildFrames(const TID3v2& current, std::string& frames) const;

  private:
    // The file's bytes with `frames` as the tag in place of `current`.
    static bool RenderTag(const TID3v2& current, const std::string& frames, std::string_view file,
                          std::string& out);
    void ParseTag(std::string_view tag, uint8_t flags, bool hasFooter);
    void FillFields();

    std::vector<TID3v2Frame> frames_;
    std::string tail_;         // bytes after the last frame that are not zero padding
    bool understood_ = false;  // the frames are known (version 2-4, usable size)
};
