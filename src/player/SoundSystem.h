#pragma once
// The sound system: SDL2 is the audio output, FFmpeg decodes streams and
// libopenmpt renders modules.  One object per program, used from the
// user-interface thread; SDL's audio thread mixes the sources being played.
//
// Output types are SDL audio drivers (1 = SDL's own choice, which honours
// SDL_AUDIODRIVER; 2, 3, ... the drivers SDL knows, in its order), drivers
// are the devices of that output (0 = its default device), mixers choose the
// interpolation quality (see MixerQuality).
#include <array>
#include <functional>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "player/Decoder.h"
#include "player/SpectrumAnalyzer.h"

class TSoundSource;

struct TSoundSetup {
    int OutputType = 1;
    int DriverIndex = 0;
    int MixerType = 4;
};

// A set-up call that failed: its name (the caption of the error box) and the
// error text.
struct TSoundFailure {
    std::string Function;
    std::string Text;
};

class TSoundSystem {
  public:
    TSoundSystem() = default;
    ~TSoundSystem();
    TSoundSystem(const TSoundSystem&) = delete;
    TSoundSystem& operator=(const TSoundSystem&) = delete;

    // Empty when the running audio library is at least as new as the one the
    // program was built with; otherwise the text of the version error.
    static std::string VersionMismatchText();
    static constexpr const char* kVersionMismatchCaption = "Version mismatch";

    // Closes what was open, then sets up output, driver, mixer and device in
    // that order; every failing step is returned and the next one still runs.
    // Available() tells whether sound can be played afterwards.
    std::vector<TSoundFailure> Init(const TSoundSetup& setup);
    void Close();
    bool Available() const { return device_ != 0; }
    int LastError() const { return lastError_; }

    // Nullptr when the file is not a module (or cannot be read as one).
    std::shared_ptr<TSoundSource> LoadSong(const std::string& path);
    // Nullptr when the file cannot be opened; LastError says why.
    std::shared_ptr<TSoundSource> StreamOpen(const std::string& path, bool accurate);

    // Hands the source to the mixer; returns a channel number, -1 on failure.
    int Play(const std::shared_ptr<TSoundSource>& source);
    // Takes the source out of the mixer; its position is kept.
    void Stop(const TSoundSource* source);
    void StopAll();
    // In the mixer and not yet played to its end.
    bool IsPlaying(const TSoundSource* source) const;
    // Gapless playing: once `current` (in the mixer) has handed out its last
    // sample, the mixer goes on with `next` within the same block of output,
    // so that not one sample of silence comes between them.  False when
    // `current` is not in the mixer.  `next` starts decoding now.
    bool PlayAfter(const TSoundSource* current, const std::shared_ptr<TSoundSource>& next);
    // Forgets what was to follow `current`.
    void CancelFollower(const TSoundSource* current);
    // Volume 0..255, applied as a linear gain.
    static void SetVolume(TSoundSource& source, int volume);

    void SetSpectrumActive(bool active) { spectrumActive_.store(active); }
    bool SpectrumActive() const { return spectrumActive_.load(); }
    // Levels 0..1 of 512 bands over the last 1024 samples played; all zero
    // while the analysis is off or no sound is available.
    TSpectrumAnalyzer::Bands GetSpectrum();

    // The names offered by the options: output types and the devices of one.
    static std::vector<std::string> OutputTypeNames();
    // The output type of an SDL driver by name ("dummy", "disk"...); 1 when
    // SDL has no such driver.
    static int OutputTypeOf(const std::string& driver);
    std::vector<std::string> DriverNames(int outputType);
    static TInterpolation MixerQuality(int mixerType);
    static constexpr int kMixerCount = 8;
    // What the sound layer reports before it is set up: the default device
    // and the mixing rate.
    static constexpr int kDefaultDriver = 0;
    static constexpr int kOutputRate = kMixRate;

  private:
    static void AudioCallback(void* self, uint8_t* stream, int bytes);
    void Mix(float* out, size_t frames);
    void RememberForSpectrum(const float* mix, size_t frames);
    static const char* DriverNameFor(int outputType);

    uint32_t device_ = 0;
    bool audioStarted_ = false;
    int outputType_ = 1;
    TInterpolation quality_ = TInterpolation::Cubic;
    int lastError_ = 0;
    int nextChannel_ = 0;
    std::vector<std::shared_ptr<TSoundSource>> playing_;  // guarded by the SDL device lock
    struct TFollower {
        const TSoundSource* after;
        std::shared_ptr<TSoundSource> next;
    };
    std::vector<TFollower> followers_;  // guarded by the SDL device lock
    std::vector<TFollower> TakeFollowersLocked(const std::function<bool(const TFollower&)>& match);

    std::atomic<bool> spectrumActive_{false};
    std::mutex historyMutex_;
    std::array<float, TSpectrumAnalyzer::kWindow> history_{};
    size_t historyPos_ = 0;
    TSpectrumAnalyzer analyzer_;
};
