#pragma once
// What the sound layer asks of a decoder: stereo float frames at the mixing
// rate, pulled one block at a time, and positioning by time (streams) or by
// order (modules).  A decoder is used by one thread at a time.
#include <cstddef>
#include <cstdint>

#include "player/ReplayGain.h"

inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

class TDecoder {
  public:
    virtual ~TDecoder() = default;
    // Decodes up to `frames` interleaved stereo frames into `out`; 0 at the end.
    virtual size_t Read(float* out, size_t frames) = 0;
    virtual void SeekMs(int64_t ms) = 0;
    virtual int64_t LengthMs() const = 0;
    // Modules only: the song's order list and the order being rendered.
    virtual int NumOrders() const { return 0; }
    virtual int CurrentOrder() const { return 0; }
    virtual void SeekOrder(int /*order*/) {}
    // The loudness adjustment the file's tags ask for; none by default.
    virtual TReplayGainTags ReplayGain() const { return {}; }
};

// How carefully samples are interpolated when resampling or rendering a
// module; chosen by the mixer setting (see MixerQuality).
enum class TInterpolation { Nearest, Linear, Cubic, Sinc };
