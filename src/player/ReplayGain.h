#pragma once
// ReplayGain: the loudness adjustment a file's tags ask for, so that tracks
// and albums mastered at different levels play at one level.  Tags hold a
// gain in dB and the largest sample (1.0 is full scale) per track and per
// album; Opus files hold R128 gains instead.  Without tags nothing changes.
#include <functional>
#include <optional>
#include <string>

struct TReplayGainTags {
    std::optional<double> trackGainDb, trackPeak, albumGainDb, albumPeak;
};

// Which gain applies: none, the track's, the album's, or (Auto) the album's
// when the queue holds one album in order and the track's otherwise.
enum class TReplayGainMode { Off, Track, Album, Auto };

// "off", "track", "album", anything else Auto.
TReplayGainMode ReplayGainModeFromText(const std::string& text);
const char* ReplayGainModeText(TReplayGainMode mode);

// Reads the tags through `tag` (a tag's value by its name, case ignored;
// null when the file has none): REPLAYGAIN_TRACK_GAIN ("-6.48 dB"),
// REPLAYGAIN_TRACK_PEAK ("0.98"), the ALBUM pair, and R128_TRACK_GAIN /
// R128_ALBUM_GAIN (1/256 dB against -23 LUFS, which is 5 dB quieter than
// ReplayGain's reference).  Values that do not read as numbers are left out.
TReplayGainTags ReplayGainFromTags(const std::function<const char*(const char*)>& tag);

// The factor samples are multiplied by: the chosen gain (the track's when the
// album's is missing, and the other way round) plus the pre-amp, lowered so
// that the peak does not clip.  1 when the mode is Off or no gain is tagged.
// `album` says which gain Auto takes.
float ReplayGainFactor(const TReplayGainTags& tags, TReplayGainMode mode, bool album,
                       double preampDb);
