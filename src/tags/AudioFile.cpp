#include "tags/AudioFile.h"

#include <array>

#include "core/Ucommon.h"
#include "tags/Flac.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/Mp4.h"
#include "tags/OggOpus.h"
#include "tags/OggPages.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"
#include "tags/VorbisFields.h"
#include "tags/WMAfile.h"

namespace {

constexpr std::array<TAudioFormat, 15> kFormats{{
    {TAudioKind::Mp3, "mp3"},
    {TAudioKind::Ogg, "ogg"},
    {TAudioKind::Ogg, "oga"},
    {TAudioKind::Ogg, "opus"},
    {TAudioKind::Wma, "wma"},
    {TAudioKind::Flac, "flac"},
    {TAudioKind::Mp4, "m4a"},
    {TAudioKind::Mp4, "m4b"},
    {TAudioKind::Mp4, "mp4"},
    {TAudioKind::Untagged, "wav"},
    {TAudioKind::Untagged, "mp2"},
    {TAudioKind::Untagged, "asf"},
    {TAudioKind::Untagged, "mod"},
    {TAudioKind::Untagged, "ape"},
    {TAudioKind::Untagged, "mpa"},
}};

const TAudioFormat* NamedFormat(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return nullptr;
    const std::string_view extension = path.substr(dot + 1);
    for (const TAudioFormat& format : kFormats)
        if (SameTextAscii(extension, format.extension)) return &format;
    return nullptr;
}

// The kinds known by their last three characters alone.
TAudioKind KindOfEnding(std::string_view path) {
    if (path.size() < 3) return TAudioKind::None;
    const std::string ending = LowerAscii(path.substr(path.size() - 3));
    if (ending == "mp3") return TAudioKind::Mp3;
    if (ending == "ogg" || ending == "oga") return TAudioKind::Ogg;
    if (ending == "wma") return TAudioKind::Wma;
    return TAudioKind::None;
}

// Tag texts lose control characters.
std::string Clean(std::string_view text) {
    return StripControlChars(text);
}

// A year from tag text: the whole text as a number, or the four digits a
// date begins with ("2004-05-01").
bool YearFromText(std::string_view text, int32_t& year) {
    int number = 0;
    if (TryStrToInt(text, number)) {
        year = number;
        return true;
    }
    auto digit = [&](size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (text.size() <= 4 || !digit(0) || !digit(1) || !digit(2) || !digit(3) || digit(4))
        return false;
    year = StrToIntOrZero(text.substr(0, 4));
    return true;
}

// What both ID3 tags give in the same way; a year that is not a number
// leaves the year as it was.
template <typename Tag>
void TakeId3Values(TTrackTags& tags, const Tag& tag, TTagKind kind) {
    tags.kind = kind;
    tags.title = Clean(tag.Title);
    tags.artist = Clean(tag.Artist);
    tags.album = Clean(tag.Album);
    YearFromText(tag.Year, tags.year);
    tags.trackNumber = tag.Track;
    tags.comment = tag.Comment;
}

class TMp3TagFile : public TTagFile {
  public:
    using TTagFile::TTagFile;

    // ID3v2 is read after ID3v1, so its values win.
    TTrackTags Read() const override {
        TTrackTags tags;
        TID3v1 v1;
        if (v1.Load(File()) && v1.Present) {
            TakeId3Values(tags, v1, TTagKind::ID3v1);
            if (v1.GenreIndex < GenreCount) tags.genre = GenreName(v1.GenreIndex);
        }
        TID3v2 v2;
        // A tag holding none of the values (only a picture, say) hides nothing.
        const auto holdsValues = [&] {
            return !v2.Understood() || !v2.Title.empty() || !v2.Artist.empty() ||
                   !v2.Album.empty() || !v2.Year.empty() || !v2.Genre.empty();
        };
        if (v2.Load(File()) && v2.Present && holdsValues()) {
            TakeId3Values(tags, v2, TTagKind::ID3v2);
            tags.genre = Utf8Left(Clean(v2.Genre), 255);
        }
        return tags;
    }

    TWriteResult Write(const TTagValues& values, TId3Choice choice) const override {
        return WriteMp3Tags(Path(), choice, values);
    }
};

// Ogg and WMA values count only when one of them is set; an empty tag leaves
// the track (and the title it had) alone.
template <typename Reader>
void TakeTextTag(TTrackTags& tags, const Reader& reader, TTagKind kind,
                 const std::string& yearText) {
    int32_t year = 0;
    YearFromText(yearText, year);
    std::string title = Clean(reader.Title), artist = Clean(reader.Artist),
                album = Clean(reader.Album), genre = Clean(reader.Genre);
    if (title.empty() && artist.empty() && album.empty() && genre.empty() && year == 0) return;
    tags.kind = kind;
    tags.title = std::move(title);
    tags.artist = std::move(artist);
    tags.album = std::move(album);
    tags.genre = std::move(genre);
    tags.year = year;
}

class TOggVorbisTagFile : public TTagFile {
  public:
    using TTagFile::TTagFile;

    TTrackTags Read() const override {
        TTrackTags tags;
        TOggVorbis ogg;
        if (!ogg.Load(File())) return tags;
        if (ogg.Valid()) TakeTextTag(tags, ogg, TTagKind::OggVorbis, ogg.Date);
        tags.trackNumber = ogg.Track;
        tags.comment = ogg.Comment;
        tags.seconds = ogg.Duration();
        tags.readerBitrate = ogg.BitRate();
        return tags;
    }

    TWriteResult Write(const TTagValues& values, TId3Choice) const override {
        return WriteOggTags(Path(), values);
    }
};

class TWmaTagFile : public TTagFile {
  public:
    using TTagFile::TTagFile;

    TTrackTags Read() const override {
        TTrackTags tags;
        TWMAfile wma;
        if (!wma.Load(File()) || !wma.Valid) return tags;
        TakeTextTag(tags, wma, TTagKind::WMA, wma.Year);
        tags.trackNumber = wma.Track;
        tags.comment = wma.Comment;
        tags.seconds = wma.Duration;
        tags.readerBitrate = wma.BitRate;
        return tags;
    }

    bool Writable() const override { return false; }
    TWriteResult Write(const TTagValues&, TId3Choice) const override {
        return TWriteResult::Failure("cannot write tags into", Path(), 0);
    }
};

// The values of a Vorbis comment list with what the stream header says.
TTrackTags VorbisCommentTags(const TVorbisComments& comments, TTagKind kind, int32_t durationMs,
                             int32_t bitrate) {
    TTrackTags tags;
    const TVorbisFields fields = VorbisFieldsOf(comments);
    TakeTextTag(tags, fields, kind, fields.Date);
    tags.trackNumber = fields.Track;
    tags.comment = fields.Comment;
    tags.durationMs = durationMs;
    tags.bitrate = bitrate;
    tags.seconds = durationMs / 1000.0;
    tags.readerBitrate = bitrate;
    return tags;
}

class TFlacTagFile : public TTagFile {
  public:
    TFlacTagFile(std::string path, std::unique_ptr<TFileSource> file, bool inOgg)
        : TTagFile(std::move(path), std::move(file)), inOgg_(inOgg) {}

    TTrackTags Read() const override {
        TFlacFile flac;
        if (!(inOgg_ ? flac.LoadOgg(File()) : flac.Load(File()))) return {};
        return VorbisCommentTags(flac.Comments, TTagKind::Flac, flac.DurationMs(), flac.BitRate());
    }

    // Ogg FLAC files are read only.
    bool Writable() const override { return !inOgg_; }
    TWriteResult Write(const TTagValues& values, TId3Choice) const override {
        if (inOgg_) return TWriteResult::Failure("cannot write tags into", Path(), 0);
        return WriteFlacTags(Path(), values);
    }

  private:
    bool inOgg_;
};

class TOpusTagFile : public TTagFile {
  public:
    using TTagFile::TTagFile;

    TTrackTags Read() const override {
        TOggOpus opus;
        if (!opus.Load(File())) return {};
        return VorbisCommentTags(opus.Comments, TTagKind::Opus, opus.DurationMs(), opus.BitRate());
    }

    TWriteResult Write(const TTagValues& values, TId3Choice) const override {
        return WriteOpusTags(Path(), values);
    }
};

class TMp4TagFile : public TTagFile {
  public:
    using TTagFile::TTagFile;

    TTrackTags Read() const override {
        TMp4File mp4;
        if (!mp4.Load(File())) return {};
        TTrackTags tags;
        if (mp4.Artist.empty()) mp4.Artist = mp4.AlbumArtist;
        TakeTextTag(tags, mp4, TTagKind::Mp4, mp4.Date);
        tags.trackNumber = mp4.Track;
        tags.comment = mp4.Comment;
        tags.durationMs = mp4.DurationMs();
        tags.bitrate = mp4.BitRate();
        tags.seconds = tags.durationMs / 1000.0;
        tags.readerBitrate = tags.bitrate;
        return tags;
    }

    TWriteResult Write(const TTagValues& values, TId3Choice) const override {
        return WriteMp4Tags(Path(), values);
    }
};

// The codec of an Ogg stream, by the start of its first packet.
enum class TOggCodec { Other, Vorbis, Flac, Opus };

TOggCodec OggCodecOf(const TByteSource& source) {
    const int64_t start = Id3v2TotalSize(source);
    TOggPage page;
    if (!ReadOggPage(source, start, page)) return TOggCodec::Other;
    const std::string packet = source.ReadAt(start + static_cast<int64_t>(page.HeaderSize()), 8);
    if (packet.starts_with("\x01vorbis")) return TOggCodec::Vorbis;
    if (packet.starts_with("\x7F" "FLAC")) return TOggCodec::Flac;
    if (packet.starts_with("OpusHead")) return TOggCodec::Opus;
    return TOggCodec::Other;
}

}  // namespace

TTagFile::TTagFile(std::string path, std::unique_ptr<TFileSource> file)
    : path_(std::move(path)), file_(std::move(file)) {}

TTagFile::~TTagFile() = default;

std::span<const TAudioFormat> AudioFormats() {
    return kFormats;
}

TAudioKind AudioKindOf(std::string_view path) {
    if (const TAudioFormat* format = NamedFormat(path)) return format->kind;
    return KindOfEnding(path);
}

bool IsAudioPath(std::string_view path) {
    return NamedFormat(path) != nullptr;
}

std::unique_ptr<TTagFile> OpenTagFile(const std::string& path) {
    const TAudioKind kind = AudioKindOf(path);
    if (kind == TAudioKind::None || kind == TAudioKind::Untagged) return nullptr;
    auto file = std::make_unique<TFileSource>(path);
    if (!file->IsOpen()) return nullptr;
    switch (kind) {
        case TAudioKind::Mp3:
            return std::make_unique<TMp3TagFile>(path, std::move(file));
        case TAudioKind::Ogg:
            switch (OggCodecOf(*file)) {
                case TOggCodec::Flac:
                    return std::make_unique<TFlacTagFile>(path, std::move(file), true);
                case TOggCodec::Opus:
                    return std::make_unique<TOpusTagFile>(path, std::move(file));
                default:  // the Vorbis reader judges what is not Vorbis
                    return std::make_unique<TOggVorbisTagFile>(path, std::move(file));
            }
        case TAudioKind::Flac:
            return std::make_unique<TFlacTagFile>(path, std::move(file), false);
        case TAudioKind::Mp4:
            return std::make_unique<TMp4TagFile>(path, std::move(file));
        case TAudioKind::Wma:
            return std::make_unique<TWmaTagFile>(path, std::move(file));
        default:
            return nullptr;
    }
}
