#include "collection/Ump3_obj.h"

#include <cerrno>
#include <exception>

#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/TagWriter.h"

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
    return EnumInRange(value, TTagKind::None, LastTagKind, TTagKind::None);
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

TWriteResult Tmp3::RenameToFormat(int position, const std::string& pattern) {
    if (!FileExists(Path)) return TWriteResult::Failure("cannot rename", Path, ENOENT);
    if (AudioKindOf(Path) != TAudioKind::Mp3)
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

bool Tmp3::ReadTags() {
    Artist.clear();
    Album.clear();
    Genre.clear();
    Year = 0;
    TagKind = TTagKind::None;
    const auto file = OpenTagFile(Path);
    if (!file) return false;
    TakeTags(file->Read());
    return TagKind != TTagKind::None;
}

void Tmp3::TakeTags(const TTrackTags& tags) {
    if (tags.durationMs > 0) Duration = tags.durationMs;
    if (tags.bitrate > 0) Bitrate = tags.bitrate;
    if (tags.kind == TTagKind::None) return;  // the title the track had stays
    TagKind = tags.kind;
    Title = tags.title;
    Artist = tags.artist;
    Album = tags.album;
    Genre = tags.genre;
    Year = tags.year;
}

TWriteResult Tmp3::WriteTags(TId3Choice choice, const TTagValues& values) {
    Artist = values.Artist;
    Year = values.Year;
    Title = values.Title;
    Genre = values.Genre;
    Album = values.Album;
    TagKind = TTagKind::None;
    const auto file = OpenTagFile(Path);
    if (!file || !file->Writable()) return TWriteResult::Failure("cannot write tags into", Path, 0);
    const TWriteResult result = file->Write(values, choice);
    // What the file holds now, as every reader will see it.
    if (result) ReadTags();
    return result;
}
