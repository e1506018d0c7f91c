#include "player/Transport.h"

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/PumpEvents.h"

std::string ScrollTitleFor(const Tmp3& track) {
    if (!track.Title.empty()) return track.Title + " - ";
    return ChangeFileExt(ExtractFileName(track.Path), "") + " - ";
}

std::string BitrateText(int32_t kbps) {
    return kbps > 0 ? std::to_string(kbps) + "kb" : "";
}

std::optional<size_t> TTransport::SelectedIndex() const {
    if (SelectedRow < 1) return std::nullopt;
    return static_cast<size_t>(SelectedRow - 1);
}

bool TTransport::PlayCommand(bool userStarted) {
    if (!queue_.PausedIndex() && queue_.Shuffle && userStarted) {
        std::optional<size_t> next =
            queue_.Current ? queue_.ShuffleSuccessor(*queue_.Current) : queue_.FirstShuffled();
        if (!next) next = queue_.FirstShuffled();
        if (next && queue_.ValidIndex(*next)) SelectIndex(*next);
    }
    const std::optional<size_t> selected = SelectedIndex();
    if (!selected) return false;
    queue_.Play(*selected);
    TakeNowPlaying();
    UpdateDisplay();
    return queue_.Current.has_value();
}

void TTransport::TakeNowPlaying() {
    nowPlaying_ = {};
    const TSong* song = queue_.CurrentSong();
    if (!song) return;
    const Tmp3& track = song->Track;
    nowPlaying_ = {track.Artist,          track.Album, track.Title,
                   ScrollTitleFor(track), track.Year,  track.PicturePath};
}

void TTransport::StopCommand() {
    queue_.StopAll();
    UpdateDisplay();
}

void TTransport::NextCommand() {
    if (queue_.Shuffle) {
        const std::optional<size_t> next =
            queue_.Current ? queue_.ShuffleSuccessor(*queue_.Current) : std::nullopt;
        if (!next || !queue_.ValidIndex(*next)) {
            StopCommand();
            return;
        }
        SelectIndex(*next);
    } else {
        if (SelectedRow < 1 || SelectedRow >= RowCount()) return;
        ++SelectedRow;
    }
    PlayCommand(false);
}

void TTransport::PreviousCommand() {
    if (queue_.Shuffle) {  // there is no way back in shuffle order
        NextCommand();
        return;
    }
    if (SelectedRow < 2 || SelectedRow > RowCount()) return;
    --SelectedRow;
    PlayCommand(false);
}

bool TTransport::Tick() {
    if (!queue_.Current) return false;
    if (queue_.TakeOverPrepared()) {
        // The next song already plays, joined to the end of the last one.
        SelectIndex(*queue_.Current);
        TakeNowPlaying();
    } else if (queue_.CurrentEnded()) {
        const size_t ended = *queue_.Current;
        StopCommand();
        const std::optional<size_t> next = NextToPlay(ended);
        if (next && queue_.ValidIndex(*next)) {
            SelectIndex(*next);
            PlayCommand(false);
        }
    } else {
        PrepareNextWhenDue();
    }
    UpdateDisplay();
    return queue_.Current.has_value();
}

std::optional<size_t> TTransport::NextToPlay(size_t after) const {
    return queue_.Shuffle ? queue_.ShuffleSuccessor(after) : std::optional<size_t>(after + 1);
}

void TTransport::PrepareNextWhenDue() {
    if (queue_.Prepared() || queue_.PausedIndex()) return;
    const int64_t length = queue_.CurrentLengthMs();
    if (length <= 0 || length - queue_.CurrentTimeMs() > kPrepareAheadMs) return;
    const std::optional<size_t> next = NextToPlay(*queue_.Current);
    if (next && queue_.ValidIndex(*next)) queue_.PrepareNext(*next);
}

void TTransport::UpdateDisplay() {
    if (!queue_.Current) {
        display_.ProgressPosition = 0;
        display_.BitrateText = "- kb";
        display_.TimeText = "0:00 / 0:00";
        return;
    }
    const auto times = queue_.GetTimes();
    display_.ProgressMax = times.Length;
    display_.ProgressPosition = times.Position;
    display_.TimeText = times.TimeText;
    display_.BitrateText = BitrateText(queue_.Song(*queue_.Current).Track.Bitrate);
}

void TTransport::SeekToFraction(int x, int width) {
    if (!queue_.Current || width <= 0) return;
    queue_.Seek(static_cast<int32_t>(static_cast<int64_t>(x) * display_.ProgressMax / width));
}

bool TTransport::AddTracksOf(Tm3u& album, bool pumpEvents) {
    const std::string picture = album.PictureFile();
    bool added = false;
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        added |= queue_.AddNumbered(picture, track, track.Duration == 0, false,
                                    static_cast<int32_t>(i + 1));
        if (pumpEvents) PumpEvents();
    }
    return added;
}

bool TTransport::AddAlbum(Tm3u& album) {
    const bool added = AddTracksOf(album, false);
    if (added) album.MarkPlayed();
    return added;
}

void TTransport::AddAllAlbums(const std::vector<Tm3u*>& albums) {
    queue_.SetShuffle(false);
    ProgressTotal = static_cast<int>(albums.size());
    ProgressCount = 0;
    for (Tm3u* album : albums) {
        ++ProgressCount;
        AddTracksOf(*album, true);
    }
}

bool TTransport::AddTrack(const Tm3u& album, Tmp3& track) {
    return queue_.Add(album.PictureFile(), track, track.Duration == 0, false);
}

void TTransport::Clear() {
    StopCommand();
    queue_.Clear();
    SelectedRow = 0;
}

void TTransport::PlayAlbum(Tm3u& album) {
    Clear();
    AddAlbum(album);
    if (queue_.Count() > 0) {
        SelectedRow = 1;
        PlayCommand(true);
    }
}

void TTransport::PlayTrack(const Tm3u& album, Tmp3& track) {
    Clear();
    AddTrack(album, track);
    if (queue_.Count() > 0) {
        SelectedRow = 1;
        PlayCommand(true);
    }
}

bool TTransport::RemoveSelected() {
    if (!ValidRow(SelectedRow)) return false;
    const size_t index = *SelectedIndex();
    if (queue_.Song(index).Started) StopCommand();
    queue_.Delete(index);
    if (SelectedRow > RowCount()) SelectedRow = RowCount();
    return true;
}

bool TTransport::MoveRows(bool up, int top, int bottom) {
    queue_.SetShuffle(false);
    if (top < 1 || bottom < 1) return false;  // rows start at 1
    if (!queue_.Move(up, static_cast<size_t>(top - 1), static_cast<size_t>(bottom - 1)))
        return false;
    SelectedRow = up ? top - 1 : top + 1;
    return true;
}

bool TTransport::PlayingAlbum(std::string& artist, std::string& album, std::string& genre,
                              int32_t& year) const {
    const Tmp3* playing = nullptr;
    for (size_t i = 0; i < queue_.Count(); ++i)
        if (queue_.Song(i).Started) playing = &queue_.Song(i).Track;
    if (!playing || playing->Artist.empty()) return false;
    artist = playing->Artist;
    album = playing->Album;
    genre = playing->Genre;
    year = playing->Year;
    return true;
}
