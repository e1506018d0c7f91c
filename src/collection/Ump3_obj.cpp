#include "collection/Ump3_obj.h"

#include <cerrno>
#include <exception>

#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"
#include "tags/TagWriter.h"
#include "tags/WMAfile.h"

std::string_view ToRelativeForm(std::string_view path, std::string_view base) {
    // Paths are never cut: a long path must read back as the same file.
    if (!base.empty() && PathStartsWith(path, base)) return path.substr(base.size());
    return path;
}

TSharedText FromRelativeForm(std::string_view stored, std::string_view base) {
    // A path that did not lie under the base was stored whole: take it as it is.
    if (base.empty() || (!stored.empty() && stored.front() == '/')) return stored;
    return TSharedText::Joined(base, stored);
}

TTagKind TagKindFromInt(int32_t value) {
    return EnumInRange(value, TTagKind::None, TTagKind::WMA, TTagKind::None);
}

Tmp3::Tmp3(TSharedText path) : Path(std::move(path)) {}

void Tmp3::WriteTrackRecord(TLoadSave& stream, std::string_view base) const {
    stream.WriteString(Title);
    stream.WriteString(Artist);
    stream.WriteString(Album);
    stream.WriteString(Genre);
    stream.WriteInteger(Year);
    stream.WriteInteger(static_cast<int32_t>(TagKind));
    stream.WriteInteger(Duration);
    stream.WriteInteger(Bitrate);
    stream.WriteString(ToRelativeForm(PicturePath, base));
}

void Tmp3::ReadTrackRecord(TLoadSave& stream, std::string_view base, const Tmp3* previous) {
    static const Tmp3 kNone;
    const Tmp3& shared = previous ? *previous : kNone;
    RefreshMark = 0;
    Title = stream.ReadText();
    AssignSharing(Artist, stream.ReadText(), shared.Artist);
    AssignSharing(Album, stream.ReadText(), shared.Album);
    AssignSharing(Genre, stream.ReadText(), shared.Genre);
    Year = stream.ReadInteger();
    TagKind = TagKindFromInt(stream.ReadInteger());
    Duration = stream.ReadInteger();
    Bitrate = stream.ReadInteger();
    // A track without a picture (every album track) keeps none, rather than
    // taking the base folder for its picture.
    const std::string_view picture = stream.ReadText();
    PicturePath = picture.empty() ? TSharedText() : FromRelativeForm(picture, base);
}

void Tmp3::ShareTextsWith(const Tmp3& other) {
    if (Artist == other.Artist) Artist = other.Artist;
    if (Album == other.Album) Album = other.Album;
    if (Genre == other.Genre) Genre = other.Genre;
}

namespace {

// Replaces the first occurrence of `placeholder` only.
void ReplaceFirst(std::string& text, std::string_view placeholder, const std::string& value) {
    auto at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), value);
}

std::string TwoDigitNumber(int position) {
    std::string digits = std::to_string(position);
    return digits.size() < 2 ? "0" + digits : digits;
}

}  // namespace

std::string FormatTrackName(const Tmp3& track, int position, const std::string& pattern) {
    std::string name = pattern;
    ReplaceFirst(name, "%artist", track.Artist);
    ReplaceFirst(name, "%album", track.Album);
    ReplaceFirst(name, "%year", std::to_string(track.Year));
    ReplaceFirst(name, "%number", TwoDigitNumber(position));
    ReplaceFirst(name, "%title", track.Title);
    return name;
}

std::string TrackFileKind(std::string_view path) {
    if (path.size() < 3) return {};
    std::string kind = LowerAscii(path.substr(path.size() - 3));
    return kind == "oga" ? "ogg" : kind;  // ".oga": Ogg audio, often Vorbis
}

TWriteResult Tmp3::RenameToFormat(int position, const std::string& pattern) {
    if (!FileExists(Path)) return TWriteResult::Failure("cannot rename", Path, ENOENT);
    if (TrackFileKind(Path) != "mp3")
        return TWriteResult::Failure("only MP3 files take the track format:", Path, 0);
    const std::string name = SafeFileName(FormatTrackName(*this, position, pattern));
    const std::string newPath = ExtractFilePath(Path) + name + ExtractFileExt(Path);
    if (newPath == Path) return TWriteResult::Success();
    if (!RenameWithoutReplacing(Path, newPath))
        return TWriteResult::Failure("cannot rename", Path, errno);
    Path = newPath;
    return TWriteResult::Success();
}

void Tmp3::ReplaceFolder(const std::string& oldFolder, const std::string& newFolder) {
    if (!IsPathUnder(Path, oldFolder)) return;
    std::string rest = Path.substr(oldFolder.size());
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    Path = JoinPath(newFolder, rest);
}

bool Tmp3::MatchesText(const std::string& search, bool wordsOnly, int32_t fields) const {
    if (TextMatches(search, Title, wordsOnly)) return true;
    return (fields & SearchFiles) != 0 && TextMatches(search, ExtractFileName(Path), wordsOnly);
}

void Tmp3::CopyFrom(const Tmp3& other) {
    Title = other.Title;
    Artist = other.Artist;
    Album = other.Album;
    Genre = other.Genre;
    Year = other.Year;
    TagKind = other.TagKind;
    Path = other.Path;
    Duration = other.Duration;
    RefreshMark = other.RefreshMark;
}

namespace {

// Tag texts lose control characters; a genre is at most 255 characters.
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
void TakeId3Values(Tmp3& track, const Tag& tag, TTagKind kind) {
    track.TagKind = kind;
    track.Title = Clean(tag.Title);
    track.Artist = Clean(tag.Artist);
    track.Album = Clean(tag.Album);
    YearFromText(tag.Year, track.Year);
}

// ID3v2 is read after ID3v1, so its values win.
void ReadMp3Tags(Tmp3& track, const TByteSource& file) {
    TID3v1 v1;
    if (v1.Load(file) && v1.Present) {
        TakeId3Values(track, v1, TTagKind::ID3v1);
        if (v1.GenreIndex < GenreCount) track.Genre = GenreName(v1.GenreIndex);
    }
    TID3v2 v2;
    // A tag holding none of the values (only a picture, say) hides nothing.
    const auto holdsValues = [&] {
        return !v2.Understood() || !v2.Title.empty() || !v2.Artist.empty() || !v2.Album.empty() ||
               !v2.Year.empty() || !v2.Genre.empty();
    };
    if (v2.Load(file) && v2.Present && holdsValues()) {
        TakeId3Values(track, v2, TTagKind::ID3v2);
        track.Genre = Utf8Left(Clean(v2.Genre), 255);
    }
}

// Ogg and WMA values count only when one of them is set; an empty tag leaves
// the track (and the title it had) alone.
template <typename Reader>
void TakeTextTag(Tmp3& track, const Reader& reader, TTagKind kind, const std::string& yearText) {
    int32_t year = 0;
    YearFromText(yearText, year);
    std::string title = Clean(reader.Title), artist = Clean(reader.Artist),
                album = Clean(reader.Album), genre = Clean(reader.Genre);
    if (title.empty() && artist.empty() && album.empty() && genre.empty() && year == 0) return;
    track.TagKind = kind;
    track.Title = std::move(title);
    track.Artist = std::move(artist);
    track.Album = std::move(album);
    track.Genre = std::move(genre);
    track.Year = year;
}

}  // namespace

bool Tmp3::ReadTags() {
    Artist.clear();
    Album.clear();
    Genre.clear();
    Year = 0;
    TagKind = TTagKind::None;
    TFileSource file(Path);
    if (!file.IsOpen()) return false;
    const std::string kind = TrackFileKind(Path);
    if (kind == "mp3") {
        ReadMp3Tags(*this, file);
    } else if (kind == "ogg") {
        TOggVorbis ogg;
        if (ogg.Load(file) && ogg.Valid()) TakeTextTag(*this, ogg, TTagKind::OggVorbis, ogg.Date);
    } else if (kind == "wma") {
        TWMAfile wma;
        if (wma.Load(file) && wma.Valid) TakeTextTag(*this, wma, TTagKind::WMA, wma.Year);
    }
    return TagKind != TTagKind::None;
}

TWriteResult Tmp3::WriteTags(TId3Choice choice, const TTagValues& values) {
    Artist = values.Artist;
    Year = values.Year;
    Title = values.Title;
    Genre = values.Genre;
    Album = values.Album;
    TagKind = TTagKind::None;
    const std::string kind = TrackFileKind(Path);
    TWriteResult result;
    if (kind == "mp3")
        result = WriteMp3Tags(Path, choice, values);
    else if (kind == "ogg")
        result = WriteOggTags(Path, values);
    else
        return TWriteResult::Failure("cannot write tags into", Path, 0);
    // What the file holds now, as every reader will see it.
    if (result) ReadTags();
    return result;
}
