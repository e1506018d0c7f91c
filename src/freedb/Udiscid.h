#pragma once
// The FreeDB disc identifier of an album.  No CD is read: the table of
// contents is rebuilt from the durations of the album's files, as if the
// tracks had been laid end to end on a disc starting at position 0.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Tm3u;
class Tmp3;

// A disc position in minutes, seconds and frames (1/75 s).
struct TDiscPosition {
    uint8_t Minutes = 0;
    uint8_t Seconds = 0;
    uint8_t Frames = 0;

    // Frames from the start of the disc.
    int32_t Offset() const { return Minutes * 4500 + Seconds * 75 + Frames; }
    int32_t WholeSeconds() const { return Minutes * 60 + Seconds; }
};

struct TDiscEntry {
    TDiscPosition Start;
    int32_t Duration = 0;  // milliseconds
};

constexpr size_t kMaxDiscTracks = 100;

struct TDiscTable {
    uint8_t TrackCount = 0;
    TDiscPosition LeadOut;
    std::array<TDiscEntry, kMaxDiscTracks> Entries{};
};

// The position of a time in milliseconds (durations are truncated, never
// rounded); nothing when the minutes do not fit in 0-255.
std::optional<TDiscPosition> PositionOf(int64_t ms);

// The disc table of tracks with these durations (ms), start positions and
// lead-out filled in.  Nothing when no disc can hold them: no track, more
// than 100 tracks, or more than 255 minutes 59 seconds in all.
std::optional<TDiscTable> BuildDiscTable(const std::vector<int32_t>& durations);

// Fills the duration of every track that has none through the caller's
// measure (which writes Duration and Bitrate into the track, 0 on failure),
// then gives the album's durations in playlist order.
using TTrackMeasure = std::function<void(Tmp3&)>;
std::vector<int32_t> AlbumDurations(Tm3u& album, const TTrackMeasure& measure);

uint32_t DiscId(const TDiscTable& table);
// "cddb+query+<id>+<count>+<offset>...+<seconds>", ready for a URL.
std::string CddbQueryCommand(const TDiscTable& table);
// The identifier as 8 lower-case hexadecimal digits.
std::string DiscIdText(uint32_t id);
