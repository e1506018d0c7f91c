#include "freedb/Udiscid.h"

#include <cstdio>

#include "collection/Um3u_obj.h"

std::optional<TDiscPosition> PositionOf(int64_t ms) {
    if (ms < 0) return std::nullopt;
    const int64_t minutes = ms / 60000;
    const int64_t seconds = (ms - minutes * 60000) / 1000;
    const int64_t frames = ((ms - minutes * 60000 - seconds * 1000) * 75) / 1000;
    if (minutes > 255) return std::nullopt;
    return TDiscPosition{static_cast<uint8_t>(minutes), static_cast<uint8_t>(seconds),
                         static_cast<uint8_t>(frames)};
}

std::optional<TDiscTable> BuildDiscTable(const std::vector<int32_t>& durations) {
    if (durations.empty() || durations.size() > kMaxDiscTracks) return std::nullopt;
    TDiscTable table;
    table.TrackCount = static_cast<uint8_t>(durations.size());
    int64_t elapsed = 0;  // 64 bits: a hundred long tracks overflow 32
    for (size_t i = 0; i < durations.size(); ++i) {
        auto start = PositionOf(elapsed);
        if (!start) return std::nullopt;
        // A track that could not be measured adds nothing to the length.
        const int32_t duration = durations[i] > 0 ? durations[i] : 0;
        table.Entries[i] = {*start, duration};
        elapsed += duration;
    }
    auto leadOut = PositionOf(elapsed);
    if (!leadOut) return std::nullopt;
    table.LeadOut = *leadOut;
    return table;
}

std::vector<int32_t> AlbumDurations(Tm3u& album, const TTrackMeasure& measure) {
    std::vector<int32_t> durations;
    durations.reserve(album.Tracks.Count());
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        Tmp3& track = album.Tracks[i];
        if (track.Duration == 0 && measure) measure(track);
        durations.push_back(track.Duration);
    }
    return durations;
}

namespace {
int DigitSum(int value) {
    int sum = 0;
    for (; value > 0; value /= 10) sum += value % 10;
    return sum;
}
}  // namespace

uint32_t DiscId(const TDiscTable& table) {
    uint32_t n = 0;
    for (size_t i = 0; i < table.TrackCount; ++i)
        n += static_cast<uint32_t>(DigitSum(table.Entries[i].Start.WholeSeconds()));
    const uint32_t first = table.TrackCount ? table.Entries[0].Start.WholeSeconds() : 0;
    const uint32_t total = table.LeadOut.WholeSeconds() - first;
    return ((n % 255) << 24) | (total << 8) | table.TrackCount;
}

std::string DiscIdText(uint32_t id) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", id);
    return text;
}

std::string CddbQueryCommand(const TDiscTable& table) {
    std::string command =
        "cddb+query+" + DiscIdText(DiscId(table)) + "+" + std::to_string(table.TrackCount);
    for (size_t i = 0; i < table.TrackCount; ++i)
        command += "+" + std::to_string(table.Entries[i].Start.Offset());
    command += "+" + std::to_string(table.LeadOut.WholeSeconds());
    return command;
}
