#include "player/ReplayGain.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/Ucommon.h"

namespace {
// The number at the start of a tag's value ("-6.48 dB", " +1.2"), read the
// same whatever the locale says of decimal points.
std::optional<double> LeadingNumber(const char* text) {
    if (!text) return std::nullopt;
    while (*text == ' ' || *text == '\t') ++text;
    if (*text == '+') ++text;
    double value = 0;
    const auto [end, error] = std::from_chars(text, text + std::strlen(text), value);
    if (error != std::errc() || end == text || !std::isfinite(value)) return std::nullopt;
    return value;
}

// Gains beyond this are no real tag, and would blow the samples up.
constexpr double kLargestGainDb = 60;

std::optional<double> Gain(std::optional<double> db) {
    if (!db || std::fabs(*db) > kLargestGainDb) return std::nullopt;
    return db;
}

std::optional<double> Peak(std::optional<double> peak) {
    if (!peak || *peak <= 0) return std::nullopt;
    return peak;
}

std::optional<double> R128Gain(const char* text) {
    std::optional<double> q78 = LeadingNumber(text);
    if (!q78) return std::nullopt;
    return *q78 / 256.0 + 5.0;
}
}  // namespace

TReplayGainMode ReplayGainModeFromText(const std::string& text) {
    const std::string mode = LowerAscii(text);
    if (mode == "off") return TReplayGainMode::Off;
    if (mode == "track") return TReplayGainMode::Track;
    if (mode == "album") return TReplayGainMode::Album;
    return TReplayGainMode::Auto;
}

const char* ReplayGainModeText(TReplayGainMode mode) {
    switch (mode) {
        case TReplayGainMode::Off: return "off";
        case TReplayGainMode::Track: return "track";
        case TReplayGainMode::Album: return "album";
        case TReplayGainMode::Auto: break;
    }
    return "auto";
}

TReplayGainTags ReplayGainFromTags(const std::function<const char*(const char*)>& tag) {
    TReplayGainTags tags;
    tags.trackGainDb = Gain(LeadingNumber(tag("REPLAYGAIN_TRACK_GAIN")));
    tags.trackPeak = Peak(LeadingNumber(tag("REPLAYGAIN_TRACK_PEAK")));
    tags.albumGainDb = Gain(LeadingNumber(tag("REPLAYGAIN_ALBUM_GAIN")));
    tags.albumPeak = Peak(LeadingNumber(tag("REPLAYGAIN_ALBUM_PEAK")));
    if (!tags.trackGainDb) tags.trackGainDb = Gain(R128Gain(tag("R128_TRACK_GAIN")));
    if (!tags.albumGainDb) tags.albumGainDb = Gain(R128Gain(tag("R128_ALBUM_GAIN")));
    return tags;
}

float ReplayGainFactor(const TReplayGainTags& tags, TReplayGainMode mode, bool album,
                       double preampDb) {
    if (mode == TReplayGainMode::Off) return 1.0f;
    const bool useAlbum = mode == TReplayGainMode::Album || (mode == TReplayGainMode::Auto && album);
    std::optional<double> gain = useAlbum ? tags.albumGainDb : tags.trackGainDb;
    std::optional<double> peak = useAlbum ? tags.albumPeak : tags.trackPeak;
    if (!gain) {
        gain = useAlbum ? tags.trackGainDb : tags.albumGainDb;
        peak = useAlbum ? tags.trackPeak : tags.albumPeak;
    }
    if (!gain) return 1.0f;
    double factor = std::pow(10.0, (*gain + preampDb) / 20.0);
    if (peak && factor * *peak > 1.0) factor = 1.0 / *peak;
    return static_cast<float>(factor);
}
