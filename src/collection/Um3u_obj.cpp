#include "collection/Um3u_obj.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

#include "collection/UIo.h"
#include "core/FileSystem.h"
#include "core/MostFrequent.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"

std::string PicturePathFor(std::string_view playlistPath) {
    if (playlistPath.size() < 3) return "jpg";
    std::string picture(playlistPath.substr(0, playlistPath.size() - 3));
    return picture += "jpg";
}

TPlaylistType PlaylistTypeFromInt(int32_t value) {
    return EnumInRange(value, TPlaylistType::M3U, TPlaylistType::B4S, TPlaylistType::M3U);
}

TAlbumStatus AlbumStatusFromInt(int32_t value) {
    return EnumInRange(value, TAlbumStatus::Red, TAlbumStatus::Green, TAlbumStatus::Red);
}

TPictureState PictureStateFromInt(int32_t value) {
    return EnumInRange(value, TPictureState::Missing, TPictureState::Present,
                       TPictureState::Missing);
}

Tm3u::Tm3u(TSharedText playlistPath) : PlaylistPath(std::move(playlistPath)) {}

// ---- Stored form ----

void Tm3u::WriteAlbumRecord(TLoadSave& stream, std::string_view base) const {
    stream.WriteInteger(static_cast<int32_t>(Tracks.Count()));
    for (const auto& entry : Tracks) {
        stream.WriteString(ToRelativeForm(entry.key, base));
        entry.object->WriteTrackRecord(stream, base);
    }
    stream.WriteString(Artist);
    stream.WriteString(Album);
    stream.WriteString(Genre);
    stream.WriteInteger(Year);
    stream.WriteInteger(static_cast<int32_t>(Status));
    stream.WriteInteger(static_cast<int32_t>(PictureState));
    stream.WriteInteger(PlayCount);
    stream.WriteString(LastPlayed);
    stream.WriteInteger(static_cast<int32_t>(CachedCover.size()));
    stream.WriteBlock(CachedCover.data(), CachedCover.size());
}

void Tm3u::ReadAlbumRecord(TLoadSave& stream, std::string_view base) {
    DropCachedCover();
    Tracks.Clear();
    const int32_t trackCount = stream.ReadInteger();
    if (trackCount < 0) throw EMyFileError("Could not read");
    // Each track takes at least its path's length and nine values.
    Tracks.Reserve(std::min<size_t>(size_t(trackCount), stream.Remaining() / 40));
    const Tmp3* previous = nullptr;
    for (int32_t i = 0; i < trackCount; ++i) {
        const TSharedText path = FromRelativeForm(stream.ReadText(), base);
        // A key stored twice: the later record overwrites the earlier track.
        Tmp3& track = Tracks[AddTrack(path, false)];
        track.ReadTrackRecord(stream, base, previous);
        previous = &track;
    }
    // The album values are most often those of its tracks.
    static const Tmp3 kNone;
    const Tmp3& last = previous ? *previous : kNone;
    AssignSharing(Artist, stream.ReadText(), last.Artist);
    AssignSharing(Album, stream.ReadText(), last.Album);
    AssignSharing(Genre, stream.ReadText(), last.Genre);
    Year = stream.ReadInteger();
    Status = AlbumStatusFromInt(stream.ReadInteger());
    PictureState = PictureStateFromInt(stream.ReadInteger());
    PlayCount = stream.ReadInteger();
    LastPlayed = stream.ReadString();
    const int32_t coverLength = stream.ReadInteger();
    if (coverLength < 0) throw EMyFileError("Could not read");
    CachedCover = stream.ReadBlock(static_cast<size_t>(coverLength));
}

// ---- Tracks ----

size_t Tm3u::InsertTrack(const TSharedText& path, bool checkExistence, std::string_view afterPath) {
    if (const auto existing = Tracks.IndexOf(path)) {
        Tracks[*existing].RefreshMark = 0;
        return *existing;
    }
    auto track = std::make_unique<Tmp3>(path);
    if (checkExistence) track->FileFound = FileExists(path);
    const size_t folderLength = PlaylistPath.rfind('/') + 1;  // 0 when there is no folder
    track->InAlbumFolder = PathStartsWith(path, PlaylistPath.view().substr(0, folderLength));
    size_t position = Tracks.Count();
    if (!afterPath.empty()) {
        if (const auto after = Tracks.IndexOf(afterPath)) position = *after + 1;
    }
    return Tracks.Insert(position, path, std::move(track));
}

size_t Tm3u::AddTrack(const TSharedText& path, bool checkExistence) {
    return InsertTrack(path, checkExistence, {});
}

void Tm3u::RekeyTrack(const Tmp3& track) {
    if (const auto index = Tracks.IndexOfObject(&track)) Tracks.SetKey(*index, track.Path);
}

void Tm3u::MeasureTracks(const std::function<void(Tmp3&)>& measureTrack) {
    for (const auto& entry : Tracks) measureTrack(*entry.object);
}

// ---- Album values ----

void Tm3u::SetInfo(const TSharedText& artist, int32_t year, const TSharedText& genre,
                   const TSharedText& album) {
    Artist = artist;
    Year = year;
    Genre = genre;
    Album = album;
}

void Tm3u::ShareTrackTexts() {
    const Tmp3* previous = nullptr;
    for (const auto& entry : Tracks) {
        if (previous) entry.object->ShareTextsWith(*previous);
        previous = entry.object;
    }
    if (!previous) return;
    if (Artist == previous->Artist) Artist = previous->Artist;
    if (Album == previous->Album) Album = previous->Album;
    if (Genre == previous->Genre) Genre = previous->Genre;
}

void Tm3u::MarkPlayed() {
    ++PlayCount;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
    LastPlayed = stamp;
}

bool Tm3u::MatchesText(const std::string& search, bool wordsOnly, int32_t fields) const {
    return ((fields & SearchArtist) && TextMatches(search, Artist, wordsOnly)) ||
           ((fields & SearchAlbum) && TextMatches(search, Album, wordsOnly)) ||
           ((fields & SearchFiles) &&
            TextMatches(search, ExtractFileName(PlaylistPath), wordsOnly));
}

bool Tm3u::IsUnder(const std::string& folder) const {
    return IsPathUnder(PlaylistPath, folder);
}

TPlaylistType Tm3u::PlaylistType() const {
    return PlaylistFormatOf(PlaylistPath).type;
}

// ---- Refresh from the playlist ----

namespace {

bool HasAlbumValues(const Tm3u& album) {
    return !album.Artist.empty() || !album.Album.empty() || !album.Genre.empty() || album.Year != 0;
}

void TakeMostFrequentText(TSharedText& field, const std::vector<TSharedText>& values) {
    if (field.empty() && !values.empty()) {
        std::vector<std::string> keys;
        keys.reserve(values.size());
        for (const auto& value : values) keys.push_back(LowerAscii(value));
        field = MostFrequent(values, keys).value_or(TSharedText());
    }
}

}  // namespace

bool Tm3u::DeriveFromTracks() {
    std::vector<TSharedText> artists, albums, genres;
    std::vector<int32_t> years;
    bool tagged = false;
    for (const auto& entry : Tracks) {
        const Tmp3& track = *entry.object;
        if (track.TagKind == TTagKind::None) continue;
        tagged = true;
        if (!track.Artist.empty()) artists.push_back(track.Artist);
        if (!track.Album.empty()) albums.push_back(track.Album);
        if (!track.Genre.empty()) genres.push_back(track.Genre);
        if (track.Year != 0) years.push_back(track.Year);
    }
    TakeMostFrequentText(Artist, artists);
    TakeMostFrequentText(Album, albums);
    TakeMostFrequentText(Genre, genres);
    if (Year == 0) Year = MostFrequent(years, years).value_or(0);
    return tagged;
}

Tm3u::TRefreshResult Tm3u::Refresh(bool force, const TTagReader& readTags,
                                    const TListedFiles* listed) {
    TRefreshResult result;
    result.coverDropped = DropCachedCover();
    for (const auto& entry : Tracks) entry.object->RefreshMark = 1;
    // A playlist that exists but cannot be read leaves the album as it was,
    // rather than losing its tracks to a passing error.
    result.playlistRead = ReadPlaylist(false, listed != nullptr);
    if (!result.playlistRead && FileExists(PlaylistPath)) {
        for (const auto& entry : Tracks) entry.object->RefreshMark = 0;
        return result;
    }
    const auto stillMarked = [](const auto& entry) { return entry.object->RefreshMark == 1; };
    if (std::any_of(Tracks.begin(), Tracks.end(), stillMarked))  // keeps the key index otherwise
        Tracks.RemoveUnless([](const Tmp3& track) { return track.RefreshMark != 1; });
    const bool picture =
        listed ? listed->pictureListed : FileExists(PicturePathFor(PlaylistPath));
    PictureState = picture ? TPictureState::Present : TPictureState::Missing;
    // The fast scan: an album known before this scan that has values opens no audio file.
    if (!force && ScanMark != TScanMark::None && HasAlbumValues(*this)) return result;

    for (const auto& entry : Tracks) {
        if (readTags)
            readTags(*entry.object);
        else
            entry.object->ReadTags();
    }
    ShareTrackTexts();
    TSharedText artist = std::move(Artist), genre = std::move(Genre), album = std::move(Album);
    const int32_t year = Year;
    SetInfo({}, 0, {}, {});
    DeriveFromTracks();
    if (!HasAlbumValues(*this)) SetInfo(artist, year, genre, album);
    return result;
}

// ---- Names and renames ----

std::string Tm3u::FormatAlbumName(const std::string& pattern) const {
    auto replaceFirst = [](std::string& text, std::string_view placeholder,
                           const std::string& value) {
        auto at = text.find(placeholder);
        if (at != std::string::npos) text.replace(at, placeholder.size(), value);
    };
    std::string name = pattern;
    replaceFirst(name, "%artist",
                 Artist.empty() ? LangText("BlankArtist", "Artist") : Artist.str());
    replaceFirst(name, "%album", Album.empty() ? LangText("BlankAlbum", "Album") : Album.str());
    replaceFirst(name, "%year", Year == 0 ? LangText("BlankYear", "Year") : std::to_string(Year));
    return SafeFileName(name);
}

TWriteResult Tm3u::RenamePlaylist(const std::string& pattern) {
    DropCachedCover();
    const std::string folder = ExtractFilePath(PlaylistPath);
    const std::string name = FormatAlbumName(pattern);
    const std::string newPath = folder + name + ExtractFileExt(PlaylistPath);
    const std::string oldPicture = PicturePathFor(PlaylistPath);
    if (!RenameWithoutReplacing(PlaylistPath, newPath))
        return TWriteResult::Failure("cannot rename", PlaylistPath, errno);
    // The picture follows only once the playlist moved, so the two never part:
    // when it cannot (its new name is another picture), the playlist goes back.
    if (PictureState == TPictureState::Present && FileExists(oldPicture) &&
        !RenameWithoutReplacing(oldPicture, folder + name + ".jpg")) {
        const int error = errno;
        rename(newPath.c_str(), PlaylistPath.c_str());
        return TWriteResult::Failure("cannot rename", oldPicture, error);
    }
    PlaylistPath = newPath;
    return TWriteResult::Success();
}

TWriteResult Tm3u::RenameFolder(const std::string& pattern) {
    DropCachedCover();
    const std::string folder = ExtractFilePath(PlaylistPath);
    const std::string oldFolder = ExcludeTrailingSeparator(folder);
    // A folder shared by several albums is never renamed.
    if (CountPlaylists(folder) > 1)
        return TWriteResult::Failure("other albums share the folder", oldFolder, 0);
    const std::string parent = ExtractFilePath(oldFolder);
    if (parent.empty() || oldFolder == "/")
        return TWriteResult::Failure("cannot rename the root folder", oldFolder, 0);
    const std::string newFolder = parent + FormatAlbumName(pattern);
    if (!RenameWithoutReplacing(oldFolder, newFolder))
        return TWriteResult::Failure("cannot rename", oldFolder, errno);
    ReplaceFolder(oldFolder, newFolder);
    return TWriteResult::Success();
}

void Tm3u::ReplaceFolder(const std::string& oldFolder, const std::string& newFolder) {
    DropCachedCover();
    if (IsUnder(oldFolder)) {
        std::string rest = PlaylistPath.substr(oldFolder.size());
        if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
        PlaylistPath = JoinPath(newFolder, rest);
    }
    for (size_t i = 0; i < Tracks.Count(); ++i) {
        Tracks[i].ReplaceFolder(oldFolder, newFolder);
        Tracks.SetKey(i, Tracks[i].Path);
    }
}

// ---- Pictures ----

std::string Tm3u::PictureFile() const {
    return PictureState == TPictureState::Present ? PicturePathFor(PlaylistPath) : std::string();
}

bool Tm3u::DropCachedCover() {
    if (CachedCover.empty()) return false;
    CachedCover.clear();
    return true;
}
