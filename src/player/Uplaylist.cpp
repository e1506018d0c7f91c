#include "player/Uplaylist.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
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

int RandomBelow(int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(Random());
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
    Songs.push_back(std::move(song));
    return true;
}

void TPlayList::InsertIntoShuffle(TSong& song) {
    const int count = Count();
    if (static_cast<size_t>(count) >= kShuffleTableSize) return;
    if (count == 0) {  // the first song starts the order
        firstShuffled_ = 0;
        return;
    }
    // A single song never got an order of its own: it heads the chain.
    if (firstShuffled_ < 0 && count == 1) firstShuffled_ = 0;
    const int c = RandomBelow(count);
    if (c == firstShuffled_) {
        song.NextShuffled = c;
        firstShuffled_ = count;
        return;
    }
    for (auto& other : Songs) {
        if (other->NextShuffled == c) {
            // The new song goes into the chain just before song c.
            other->NextShuffled = count;
            song.NextShuffled = c;
            return;
        }
    }
}

bool TPlayList::Delete(int index) {
    if (!ValidIndex(index)) return false;
    if (index < Current)
        --Current;
    else if (index == Current)
        Current = -1;
    UnlinkFromShuffle(index);
    Songs.erase(Songs.begin() + index);
    return true;
}

void TPlayList::UnlinkFromShuffle(int index) {
    // The removed song's predecessor now points at its successor, and every
    // link above the removed index moves down by one, so each link stays -1
    // or a valid index and the chain keeps its order.
    const int successor = Song(index).NextShuffled;
    if (firstShuffled_ == index) firstShuffled_ = successor;
    for (auto& song : Songs)
        if (song->NextShuffled == index) song->NextShuffled = successor;
    auto shift = [index](int& link) {
        if (link > index) --link;
    };
    for (auto& song : Songs) shift(song->NextShuffled);
    shift(firstShuffled_);
    Song(index).NextShuffled = -1;
}

bool TPlayList::Move(bool up, int first, int last) {
    if (first > last || !ValidIndex(first) || !ValidIndex(last)) return false;
    if (up) {
        if (first <= 0) return false;
        auto above = std::move(Songs[static_cast<size_t>(first - 1)]);
        Songs.erase(Songs.begin() + (first - 1));
        Songs.insert(Songs.begin() + last, std::move(above));
        FollowMove(first - 1, last, -1);
    } else {
        if (last >= Count() - 1) return false;
        auto below = std::move(Songs[static_cast<size_t>(last + 1)]);
        Songs.erase(Songs.begin() + (last + 1));
        Songs.insert(Songs.begin() + first, std::move(below));
        FollowMove(last + 1, first, +1);
    }
    return true;
}

void TPlayList::FollowMove(int passed, int passedTo, int blockShift) {
    // The song that passed the block lands at `passedTo`; the block itself
    // shifts by one.  Current and the shuffle links keep naming the same songs.
    auto follow = [&](int& index) {
        if (index == passed)
            index = passedTo;
        else if (index >= std::min(passed, passedTo) && index <= std::max(passed, passedTo))
            index += blockShift;
    };
    follow(Current);
    follow(firstShuffled_);
    for (auto& song : Songs)
        if (song->NextShuffled >= 0) follow(song->NextShuffled);
}

void TPlayList::Clear() {
    StopAll();
    Songs.clear();
    firstShuffled_ = -1;  // an order of songs that are gone would start nowhere
}

void TPlayList::SetShuffle(bool on) {
    firstShuffled_ = -1;
    Shuffle = on;
    for (auto& song : Songs) song->NextShuffled = -1;
    if (!on || Count() < 2) return;
    const int count = static_cast<int>(std::min<size_t>(Songs.size(), kShuffleTableSize));
    std::vector<int> table(static_cast<size_t>(count));
    std::iota(table.begin(), table.end(), 0);
    for (int i = 0; i < count; ++i)
        std::swap(table[static_cast<size_t>(i)], table[static_cast<size_t>(RandomBelow(count))]);
    for (int k = 0; k + 1 < count; ++k)
        Song(table[static_cast<size_t>(k)]).NextShuffled = table[static_cast<size_t>(k + 1)];
    Song(table.back()).NextShuffled = -1;
    firstShuffled_ = table.front();
}

int TPlayList::ShuffleSuccessor(int index) const {
    return ValidIndex(index) ? Song(index).NextShuffled : -1;
}

bool TPlayList::Play(int index) {
    Current = -1;
    if (!ValidIndex(index)) return false;
    TSong& song = Song(index);
    const int32_t resumeAt = song.Started && song.PausedAt >= 0 ? song.PausedAt : -1;
    StopAll();
    song.PausedAt = resumeAt;
    song.Start(Volume);
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
    for (auto& song : Songs) song->Stop();
    Current = -1;
}

void TPlayList::TogglePause() {
    auto it = std::find_if(Songs.begin(), Songs.end(), [](const auto& s) { return s->Started; });
    if (it == Songs.end()) return;
    TSong& song = **it;
    if (song.PausedAt < 0) {
        song.UpdateTime();
        song.PausedAt = song.Position;
        song.Halt();
    } else {
        Play(static_cast<int>(it - Songs.begin()));
    }
}

std::optional<size_t> TPlayList::PausedIndex() const {
    for (size_t i = 0; i < Songs.size(); ++i)
        if (Songs[i]->Started && Songs[i]->PausedAt >= 0) return i;
    return std::nullopt;
}

bool TPlayList::CurrentEnded() const {
    return ValidIndex(Current) && Song(Current).PausedAt < 0 && Song(Current).HasEnded();
}

TPlayList::TTimes TPlayList::GetTimes() {
    if (!ValidIndex(Current)) return {};
    TSong& song = Song(Current);
    song.UpdateTime();
    return {song.Length, song.Position, song.TimeText};
}

void TPlayList::Seek(int32_t position) {
    if (ValidIndex(Current)) Song(Current).SeekTo(position);
}

void TPlayList::SetVolume(int volume) {
    Volume = std::clamp(volume, 0, 255);
    for (auto& song : Songs)
        if (song->Started) song->ApplyVolume(Volume);
}

// ---------------------------------------------------------------- files

void TPlayList::LoadQueue(const std::string& path) {
    Songs.clear();
    Current = -1;
    firstShuffled_ = -1;
    if (!FileExists(path)) return;
    TLoadSave stream;
    if (!stream.OpenRead(path)) return;  // an empty file holds no songs
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
    stream.WriteInteger(Count());
    for (const auto& song : Songs) {
        stream.WriteString(song->Track.Path);
        song->Track.WriteTrackRecord(stream, "");
    }
    stream.Finish();
}

void TPlayList::LoadPlaylist(const std::string& path) {
    Songs.clear();
    Current = -1;
    firstShuffled_ = -1;
    Tm3u album(path);
    album.Refresh(true);
    const bool measure = LowerAscii(ExtractFileExt(path)) != ".b4s";
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        Add(track.PicturePath, track, measure, measure);
    }
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
    for (const auto& song : Songs) {
        // A path already present is listed once, with the later song's values.
        const size_t index = album.AddTrack(song->Track.Path, false);
        album.Tracks[index].CopyFrom(song->Track);
    }
    return album.WritePlaylist(format);
}
