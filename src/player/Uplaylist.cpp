#include "player/Uplaylist.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "player/SoundError.h"
#include "player/SoundSource.h"
#include "player/SoundSystem.h"

namespace {
std::mt19937& Random() {
    static std::mt19937 generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return generator;
}

// count is at least 1 and at most the shuffle table's size.
size_t RandomBelow(size_t count) {
    return static_cast<size_t>(
        std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(Random()));
}

std::string FormatTime(int64_t elapsedMs, int32_t lengthSeconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%d:%.2d / %d:%.2d", static_cast<int>(elapsedMs / 60000),
                  static_cast<int>(elapsedMs / 1000 % 60), lengthSeconds / 60, lengthSeconds % 60);
    return text;
}
}  // namespace

// ---------------------------------------------------------------- TSong

TSong::TSong(TSoundSystem& sound, const std::string& picturePath, Tmp3& source, bool measureLength,
             bool measureBitrate, int32_t duration, int32_t bitrate)
    : Track(source.Path), sound_(sound) {
    Track.CopyFrom(source);
    Track.RefreshMark = 0;
    Track.PicturePath = picturePath;
    if (!(measureLength || measureBitrate) || !sound_.Available()) {
        Length = duration / 1000;
        Track.Duration = duration;
        Track.Bitrate = bitrate;
        return;
    }
    Track.Bitrate = 0;
    Open(false);
    if (Module) {
        Length = Module->NumOrders();
        // The orders are the module's length for the player; the catalogue
        // gets its playing time, which the file tells exactly.
        if (measureLength) Track.Duration = static_cast<int32_t>(Module->LengthMs());
    } else if (Stream) {
        if (measureLength) {
            Close();
            Open(true);
        }
        Track.Duration =
            Stream ? (measureLength ? static_cast<int32_t>(Stream->LengthMs()) : duration) : 0;
        Track.Bitrate = measureBitrate ? BitrateFromLength(Track.Duration) : bitrate;
        Length = Stream ? static_cast<int32_t>(Stream->LengthMs() / 1000) : 0;
    }
    Close();
    source.Duration = Track.Duration;
    source.Bitrate = Track.Bitrate;
}

TSong::~TSong() {
    Stop();
}

int32_t TSong::BitrateFromLength(int32_t durationMs) const {
    if (durationMs < 1 || !Stream) return 0;
    return static_cast<int32_t>(
        std::llround(static_cast<double>(Stream->LengthBytes()) * 8.0 / durationMs));
}

void TSong::Open(bool accurate) {
    if (Module || Stream) return;
    if (!sound_.Available()) {
        ErrorText = "Sound is not available";
        return;
    }
    if (!FileExists(Track.Path)) {
        ErrorText = "File not found " + Track.Path;
        return;
    }
    Module = sound_.LoadSong(Track.Path);
    if (!Module) Stream = sound_.StreamOpen(Track.Path, accurate);
    if (!Module && !Stream) ErrorText = SoundErrorText(sound_.LastError());
    if (Module) {
        TSoundSystem::SetVolume(*Module, 255);
    }
}

void TSong::Close() {
    auto& open = Module ? Module : Stream;
    if (open) sound_.Stop(open.get());
    Module.reset();
    Stream.reset();
}

void TSong::Start(int volume) {
    if (!sound_.Available()) return;
    Open(true);
    if (Module) {
        TSoundSystem::SetVolume(*Module, volume);
        Started = sound_.Play(Module) >= 0;
    } else if (Stream) {
        if (Track.Duration > 0 && Track.Bitrate == 0)
            Track.Bitrate = BitrateFromLength(Track.Duration);
        TSoundSystem::SetVolume(*Stream, volume);
        Channel = sound_.Play(Stream);
        Started = Channel >= 0;
    }
}

void TSong::StartedInMixer() {
    if (Track.Duration > 0 && Track.Bitrate == 0) Track.Bitrate = BitrateFromLength(Track.Duration);
    Started = true;
    PausedAt = -1;
}

void TSong::Halt() {
    if (!sound_.Available()) return;
    if (Module)
        sound_.Stop(Module.get());
    else if (Stream)
        sound_.Stop(Stream.get());
}

void TSong::Stop() {
    if (Started) {
        Halt();
        Channel = -1;
        Started = false;
        PausedAt = -1;
    }
    Close();
}

bool TSong::IsPlaying() const {
    if (Module) return sound_.IsPlaying(Module.get());
    if (Stream) return sound_.IsPlaying(Stream.get());
    return false;
}

void TSong::UpdateTime() {
    TimeText.clear();
    if (Module && IsPlaying()) {
        Position = Module->Order();
    } else if (Stream && IsPlaying()) {
        const int64_t t = Stream->TimeMs();
        Position = static_cast<int32_t>(t / 1000);
        TimeText = FormatTime(t, Length);
    }
    if (PausedAt >= 0) TimeText = "Pause";
}

bool TSong::HasEnded() const {
    if (PausedAt >= 0) return false;
    if (!Module && !Stream) return false;
    return !IsPlaying();
}

void TSong::SeekTo(int32_t position) {
    if (!IsPlaying()) return;
    if (Module)
        Module->SetOrder(position);
    else
        Stream->SetTimeMs(static_cast<int64_t>(position) * 1000);
}

void TSong::SeekToMs(int64_t ms) {
    if (Stream && IsPlaying()) Stream->SetTimeMs(ms);
}

void TSong::ApplyVolume(int volume) {
    if (Module)
        TSoundSystem::SetVolume(*Module, volume);
    else if (Stream)
        TSoundSystem::SetVolume(*Stream, volume);
}

void MeasureTrack(TSoundSystem& sound, Tmp3& track) {
    TSong song(sound, "", track, true, true, 0, 0);
    track.Duration = song.Track.Duration;
    track.Bitrate = song.Track.Bitrate;
}

// ---------------------------------------------------------------- TPlayList

TPlayList::TPlayList(TSoundSystem& sound) : sound_(sound) {}

TPlayList::~TPlayList() {
    Clear();
}

bool TPlayList::Add(const std::string& picturePath, Tmp3& track, bool measureLength,
                    bool measureBitrate) {
    auto song = std::make_unique<TSong>(sound_, picturePath, track, measureLength, measureBitrate,
                                        track.Duration, track.Bitrate);
    if (!song->ErrorText.empty()) return false;
    if (Shuffle) InsertIntoShuffle(*song);
    songs_.push_back(std::move(song));
    return true;
}

void TPlayList::InsertIntoShuffle(TSong& song) {
    const size_t count = Count();
    if (count >= kShuffleTableSize) return;
    if (count == 0) {  // the first song starts the order
        firstShuffled_ = 0;
        return;
    }
    // A single song never got an order of its own: it heads the chain.
    if (!firstShuffled_ && count == 1) firstShuffled_ = 0;
    const size_t c = RandomBelow(count);
    if (firstShuffled_ == c) {
        song.NextShuffled = c;
        firstShuffled_ = count;
        return;
    }
    for (auto& other : songs_) {
        if (other->NextShuffled == c) {
            // The new song goes into the chain just before song c.
            other->NextShuffled = count;
            song.NextShuffled = c;
            return;
        }
    }
}

bool TPlayList::AddNumbered(const std::string& picturePath, Tmp3& track, bool measureLength,
                            bool measureBitrate, int32_t trackNumber) {
    if (!Add(picturePath, track, measureLength, measureBitrate)) return false;
    songs_.back()->TrackNumber = trackNumber;
    return true;
}

bool TPlayList::Delete(size_t index) {
    if (!ValidIndex(index)) return false;
    DropPrepared();
    if (Current && index < *Current)
        --*Current;
    else if (Current == index)
        Current.reset();
    UnlinkFromShuffle(index);
    songs_.erase(songs_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void TPlayList::UnlinkFromShuffle(size_t index) {
    // The removed song's predecessor now points at its successor, and every
    // link above the removed index moves down by one, so each link stays none
    // or a valid index and the chain keeps its order.
    const std::optional<size_t> successor = Song(index).NextShuffled;
    if (firstShuffled_ == index) firstShuffled_ = successor;
    for (auto& song : songs_)
        if (song->NextShuffled == index) song->NextShuffled = successor;
    auto shift = [index](std::optional<size_t>& link) {
        if (link && *link > index) --*link;
    };
    for (auto& song : songs_) shift(song->NextShuffled);
    shift(firstShuffled_);
    Song(index).NextShuffled.reset();
}

bool TPlayList::Move(bool up, size_t first, size_t last) {
    if (first > last || !ValidIndex(first) || !ValidIndex(last)) return false;
    DropPrepared();
    if (up) {
        if (first == 0) return false;
        const size_t passed = first - 1;
        auto above = std::move(songs_[passed]);
        songs_.erase(songs_.begin() + static_cast<std::ptrdiff_t>(passed));
        songs_.insert(songs_.begin() + static_cast<std::ptrdiff_t>(last), std::move(above));
        FollowMove(passed, last, true);
    } else {
        const size_t passed = last + 1;
        if (passed >= Count()) return false;
        auto below = std::move(songs_[passed]);
        songs_.erase(songs_.begin() + static_cast<std::ptrdiff_t>(passed));
        songs_.insert(songs_.begin() + static_cast<std::ptrdiff_t>(first), std::move(below));
        FollowMove(passed, first, false);
    }
    return true;
}

void TPlayList::FollowMove(size_t passed, size_t passedTo, bool blockMovedUp) {
    // The song that passed the block lands at `passedTo`; the block itself
    // shifts by one.  Current and the shuffle links keep naming the same songs.
    // A block moving up starts above `passed`, so it never shifts below 0.
    auto follow = [&](std::optional<size_t>& index) {
        if (!index) return;
        if (*index == passed)
            index = passedTo;
        else if (*index >= std::min(passed, passedTo) && *index <= std::max(passed, passedTo))
            *index = blockMovedUp ? *index - 1 : *index + 1;
    };
    follow(Current);
    follow(firstShuffled_);
    for (auto& song : songs_) follow(song->NextShuffled);
}

void TPlayList::Clear() {
    StopAll();
    songs_.clear();
    firstShuffled_.reset();  // an order of songs that are gone would start nowhere
}

void TPlayList::SetShuffle(bool on) {
    DropPrepared();
    firstShuffled_.reset();
    Shuffle = on;
    for (auto& song : songs_) song->NextShuffled.reset();
    if (!on || Count() < 2) return;
    const size_t count = std::min(Count(), kShuffleTableSize);
    std::vector<size_t> table(count);
    std::iota(table.begin(), table.end(), size_t{0});
    for (size_t i = 0; i < count; ++i) std::swap(table[i], table[RandomBelow(count)]);
    for (size_t k = 0; k + 1 < count; ++k) Song(table[k]).NextShuffled = table[k + 1];
    Song(table.back()).NextShuffled.reset();
    firstShuffled_ = table.front();
}

std::optional<size_t> TPlayList::ShuffleSuccessor(size_t index) const {
    return ValidIndex(index) ? Song(index).NextShuffled : std::nullopt;
}

bool TPlayList::Play(size_t index) {
    Current.reset();
    if (!ValidIndex(index)) return false;
    TSong& song = Song(index);
    const int32_t resumeAt = song.Started && song.PausedAt >= 0 ? song.PausedAt : -1;
    StopAll();
    song.PausedAt = resumeAt;
    song.Start(Volume);
    ApplyLoudness(song);
    if (!song.Started) {
        song.PausedAt = -1;
        return false;
    }
    if (resumeAt >= 0) {
        song.SeekTo(resumeAt);
        song.PausedAt = -1;
    }
    Current = index;
    return true;
}

void TPlayList::StopAll() {
    DropPrepared();
    for (auto& song : songs_) song->Stop();
    Current.reset();
}

void TPlayList::TogglePause() {
    DropPrepared();
    auto it = std::find_if(songs_.begin(), songs_.end(), [](const auto& s) { return s->Started; });
    if (it == songs_.end()) return;
    TSong& song = **it;
    if (song.PausedAt < 0) {
        song.UpdateTime();
        song.PausedAt = song.Position;
        song.Halt();
    } else {
        Play(static_cast<size_t>(it - songs_.begin()));
    }
}

std::optional<size_t> TPlayList::PausedIndex() const {
    for (size_t i = 0; i < songs_.size(); ++i)
        if (songs_[i]->Started && songs_[i]->PausedAt >= 0) return i;
    return std::nullopt;
}

bool TPlayList::CurrentEnded() const {
    const TSong* song = CurrentSong();
    return song && song->PausedAt < 0 && song->HasEnded();
}

TPlayList::TTimes TPlayList::GetTimes() {
    TSong* song = CurrentSong();
    if (!song) return {};
    song->UpdateTime();
    return {song->Length, song->Position, song->TimeText};
}

void TPlayList::Seek(int32_t position) {
    DropPrepared();
    if (TSong* song = CurrentSong()) song->SeekTo(position);
}

int64_t TPlayList::CurrentTimeMs() const {
    const TSong* song = CurrentSong();
    return song && song->Stream ? song->Stream->TimeMs() : 0;
}

int64_t TPlayList::CurrentLengthMs() const {
    const TSong* song = CurrentSong();
    if (!song || !song->Stream) return 0;
    return song->Track.Duration > 0 ? song->Track.Duration : song->Stream->LengthMs();
}

void TPlayList::SeekMs(int64_t ms) {
    DropPrepared();
    if (TSong* song = CurrentSong()) song->SeekToMs(ms);
}

void TPlayList::SetVolume(int volume) {
    Volume = std::clamp(volume, 0, 255);
    for (auto& song : songs_)
        if (song->Started) song->ApplyVolume(Volume);
    if (prepared_) Song(*prepared_).ApplyVolume(Volume);
}

// ---------------------------------------------------------------- gapless

bool TPlayList::PrepareNext(size_t index) {
    TSong* current = CurrentSong();
    if (prepared_ || !current || !current->Stream || !ValidIndex(index) || index == *Current)
        return false;
    TSong& next = Song(index);
    if (next.Started) return false;
    next.Open(true);
    // A module, or a file that does not open, starts the ordinary way once
    // the current song has ended (and fails there as it would have).
    if (!next.Stream) {
        next.Close();
        next.ErrorText.clear();
        return false;
    }
    next.ApplyVolume(Volume);
    ApplyLoudness(next);
    if (!sound_.PlayAfter(current->Stream.get(), next.Stream)) {
        next.Close();
        return false;
    }
    prepared_ = index;
    return true;
}

bool TPlayList::TakeOverPrepared() {
    if (!prepared_ || !Current) return false;
    TSong& next = Song(*prepared_);
    // In the mixer (or already through it, when it is very short): the
    // current song has ended and the prepared one has taken its place.
    if (!sound_.IsPlaying(next.Stream.get()) && !next.Stream->Finished()) return false;
    Song(*Current).Stop();
    next.StartedInMixer();
    Current = prepared_;
    prepared_.reset();
    return true;
}

void TPlayList::DropPrepared() {
    if (!prepared_) return;
    if (const TSong* current = CurrentSong(); current && current->Stream)
        sound_.CancelFollower(current->Stream.get());
    if (ValidIndex(*prepared_)) Song(*prepared_).Stop();
    prepared_.reset();
}

bool TPlayList::HoldsOneAlbumInOrder() const {
    if (Shuffle || songs_.empty()) return false;
    const Tmp3& first = songs_.front()->Track;
    if (first.Album.empty()) return false;
    const std::string folder = ExtractFilePath(first.Path);
    int32_t number = 0;
    for (const auto& song : songs_) {
        if (song->Track.Album.view() != first.Album.view() || ExtractFilePath(song->Track.Path) != folder)
            return false;
        // Numbered songs must come in their album's order.
        if (song->TrackNumber > 0) {
            if (song->TrackNumber < number) return false;
            number = song->TrackNumber;
        }
    }
    return true;
}

void TPlayList::ApplyLoudness(TSong& song) const {
    if (!song.Stream) return;
    song.Stream->SetLoudness(ReplayGainFactor(song.Stream->ReplayGain(), ReplayGain,
                                              HoldsOneAlbumInOrder(), ReplayGainPreampDb));
}

// ---------------------------------------------------------------- files

void TPlayList::LoadQueue(const TReadSource& source) {
    DropPrepared();
    songs_.clear();
    Current.reset();
    firstShuffled_.reset();
    if (!source.Exists()) return;
    TLoadSave stream;
    if (!stream.Open(source)) return;  // an empty file holds no songs
    const int32_t count = stream.ReadInteger();
    for (int32_t i = 0; i < count; ++i) {
        Tmp3 track(stream.ReadString());
        track.ReadTrackRecord(stream, "");
        Add(track.PicturePath, track, false, false);
    }
    stream.Finish();
}

void TPlayList::SaveQueue(const std::string& path) const {
    TLoadSave stream;
    stream.OpenWrite(path);
    stream.WriteInteger(static_cast<int32_t>(Count()));
    for (const auto& song : songs_) {
        stream.WriteString(song->Track.Path);
        song->Track.WriteTrackRecord(stream, "");
    }
    stream.Finish();
}

void TPlayList::LoadPlaylist(const std::string& path) {
    DropPrepared();
    songs_.clear();
    Current.reset();
    firstShuffled_.reset();
    Tm3u album(path);
    album.Refresh(true);
    const bool measure = LowerAscii(ExtractFileExt(path)) != ".b4s";
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        AddNumbered(track.PicturePath, track, measure, measure, static_cast<int32_t>(i + 1));
    }
}

namespace {
int PlaylistRank(const std::string& path) {
    static const char* const kOrder[] = {".m3u", ".pls", ".b4s"};
    const std::string ext = LowerAscii(ExtractFileExt(path));
    for (int rank = 0; rank < 3; ++rank)
        if (ext == kOrder[rank]) return rank;
    return -1;
}

std::string PlaylistInFolder(const std::string& folder) {
    std::string best;
    int bestRank = 3;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        const int rank = PlaylistRank(path);
        if (rank < 0 || !FileExists(path)) continue;
        if (rank < bestRank || (rank == bestRank && path < best)) {
            best = path;
            bestRank = rank;
        }
    }
    return best;
}
}  // namespace

TResult<std::string> PlayableFile(const std::string& path) {
    if (FileExists(path)) return path;
    if (!DirectoryExists(path)) return TFailure::Of("cannot find", path, ENOENT);
    std::string playlist = PlaylistInFolder(path);
    if (playlist.empty()) return TFailure::Of("no playlist in", path);
    return playlist;
}

TResult<void> TPlayList::LoadPath(const std::string& file) {
    if (PlaylistRank(file) >= 0) {
        LoadPlaylist(file);
        // An album's playlist: its songs show the album's picture.
        if (const std::string picture = PicturePathFor(file); FileExists(picture))
            for (auto& song : songs_) song->Track.PicturePath = picture;
    } else {
        Clear();
        Tmp3 track{TSharedText(file)};
        track.ReadTags();
        Add("", track, true, true);
    }
    if (Count() == 0) return TFailure::Of("nothing to play in", file);
    return {};
}

TWriteResult TPlayList::SavePlaylist(const std::string& path) const {
    const std::string ext = LowerAscii(ExtractFileExt(path));
    TPlaylistType format;
    if (ext == ".m3u")
        format = TPlaylistType::M3U;
    else if (ext == ".pls")
        format = TPlaylistType::PLS;
    else if (ext == ".b4s")
        format = TPlaylistType::B4S;
    else
        return TWriteResult::Failure("not a playlist extension:", path, 0);
    Tm3u album(path);
    for (const auto& song : songs_) {
        // A path already present is listed once, with the later song's values.
        const size_t index = album.AddTrack(song->Track.Path, false);
        album.Tracks[index].CopyFrom(song->Track);
    }
    return album.WritePlaylist(format);
}
