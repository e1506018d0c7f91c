#include "collection/Ump3_obj.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>

#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

std::string ToRelativeForm(const std::string& path, const std::string& base) {
    // Paths are never cut: a long path must read back as the same file.
    if (!base.empty() && PathStartsWith(path, base)) return path.substr(base.size());
    return path;
}

std::string FromRelativeForm(const std::string& stored, const std::string& base) {
    return base + stored;
}

Tmp3::Tmp3(std::string path) : Path(std::move(path)) {}

void Tmp3::WriteTrackRecord(TLoadSave& stream, const std::string& base) const {
    stream.WriteString(Title);
    stream.WriteString(Artist);
    stream.WriteString(Album);
    stream.WriteString(Genre);
    stream.WriteInteger(Year);
    stream.WriteInteger(TagKind);
    stream.WriteInteger(Duration);
    stream.WriteInteger(Bitrate);
    stream.WriteString(ToRelativeForm(PicturePath, base));
}

void Tmp3::ReadTrackRecord(TLoadSave& stream, const std::string& base) {
    RefreshMark = 0;
    Title = stream.ReadString();
    Artist = stream.ReadString();
    Album = stream.ReadString();
    Genre = stream.ReadString();
    Year = stream.ReadInteger();
    TagKind = stream.ReadInteger();
    Duration = stream.ReadInteger();
    Bitrate = stream.ReadInteger();
    PicturePath = FromRelativeForm(stream.ReadString(), base);
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

std::string TrackFileKind(const std::string& path) {
    if (path.size() < 3) return {};
    return LowerAscii(std::string_view(path).substr(path.size() - 3));
}

namespace {

// Renames without replacing an existing file: a taken name is a failure.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace flag: check first, then rename.
    if (FileExists(to) || DirectoryExists(to)) return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool Tmp3::RenameToFormat(int position, const std::string& pattern) {
    if (!FileExists(Path) || TrackFileKind(Path) != "mp3") return false;
    const std::string name = SafeFileName(FormatTrackName(*this, position, pattern));
    const std::string newPath = ExtractFilePath(Path) + name + ExtractFileExt(Path);
    if (newPath == Path) return true;
    if (!RenameNoReplace(Path, newPath)) return false;
    Path = newPath;
    return true;
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
    TagKind = TagNone;
    return false;
}

bool Tmp3::WriteTags(int32_t /*tagType*/, const std::string& artist, int32_t year,
                     const std::string& title, const std::string& genre, const std::string& album) {
    Artist = artist;
    Year = year;
    Title = title;
    Genre = genre;
    Album = album;
    TagKind = TagNone;
    return false;
}
