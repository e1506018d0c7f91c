#pragma once
// The kinds of audio file the program knows, one table, and one way to reach
// a file's tag: OpenTagFile looks at the file once and hands back a small
// interface for reading and writing it, so callers never switch on
// extensions themselves.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/SafeWrite.h"
#include "tags/TagWriter.h"

// Where a track's values came from (the numbers are those stored in the
// list file and the saved queue; new kinds take new numbers at the end).
enum class TTagKind : int32_t {
    None = 0,
    ID3v1 = 1,
    ID3v2 = 2,
    OggVorbis = 3,
    WMA = 4,
    Flac = 5,  // Vorbis comments of a FLAC or Ogg FLAC file
    Opus = 6,  // OpusTags
    Mp4 = 7,   // the item list of an MP4 (M4A) file
};
inline constexpr TTagKind LastTagKind = TTagKind::Mp4;

// The kind of an audio file, by its extension.
enum class TAudioKind : int32_t {
    None,      // not an audio file the program knows
    Mp3,       // ID3v1 and ID3v2 tags
    Ogg,       // an Ogg stream: the codec inside decides the tag
    Wma,       // ASF header, read only
    Flac,      // Vorbis comment block
    Mp4,       // AAC or ALAC in MP4: the ilst items
    Untagged,  // played, but no tag is read
};

struct TAudioFormat {
    TAudioKind kind;
    std::string_view extension;  // lower case, without the dot
};

// Every audio extension the program knows.
std::span<const TAudioFormat> AudioFormats();
// The kind the path's extension (after the last dot, without regard to
// case) names.  An MP3, Ogg or WMA file is also known by the last three
// characters of its name alone ("songmp3"), as the track record always did.
TAudioKind AudioKindOf(std::string_view path);
// True when the name ends with a dot and an audio extension.
bool IsAudioPath(std::string_view path);

// What a file's tag gives a track: texts in UTF-8 without control
// characters, the year 0 when unknown.  `kind` is None when the file holds no
// tag values (then the texts are empty).
struct TTrackTags {
    TTagKind kind = TTagKind::None;
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    int32_t year = 0;
    // Read from the stream's own header, 0 when the format does not say.
    int32_t durationMs = 0;
    int32_t bitrate = 0;  // kbit/s
    // What the reader knows beyond the track's values; unset when it does not.
    std::optional<int32_t> trackNumber;
    std::optional<std::string> comment;
    std::optional<double> seconds;        // playing time as the reader estimates it
    std::optional<int32_t> readerBitrate;  // kbit/s, as the reader estimates it
};

class TFileSource;

class TTagFile {
  public:
    // The file stays open for Read while the object lives.
    TTagFile(std::string path, std::unique_ptr<TFileSource> file);
    virtual ~TTagFile();
    TTagFile(const TTagFile&) = delete;
    TTagFile& operator=(const TTagFile&) = delete;

    const std::string& Path() const { return path_; }
    const TFileSource& File() const { return *file_; }
    virtual TTrackTags Read() const = 0;
    // False for the kinds that are never written.
    virtual bool Writable() const { return true; }
    // Writes the values (`choice` says which tags of an MP3 file); every part
    // of the file the values do not touch stays as it was.
    virtual TWriteResult Write(const TTagValues& values, TId3Choice choice) const = 0;

  private:
    std::string path_;
    std::unique_ptr<TFileSource> file_;
};

// The tag of the file at `path`, or null when the program reads no tag from
// this kind of file or the file cannot be opened.
std::unique_ptr<TTagFile> OpenTagFile(const std::string& path);
