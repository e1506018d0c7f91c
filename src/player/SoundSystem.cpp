#include "player/SoundSystem.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "core/FileSystem.h"
#include "player/FfmpegDecoder.h"
#include "player/ModuleDecoder.h"
#include "player/SoundError.h"
#include "player/SoundSource.h"

namespace {
// The file size without a leading ID3v2 tag and a trailing ID3v1 tag: a
// large embedded picture must not make the bit rate look higher.
int64_t AudioPayloadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    int64_t size = in.tellg();
    if (size <= 0) return 0;
    int64_t start = 0;
    unsigned char head[10] = {};
    in.seekg(0);
    if (in.read(reinterpret_cast<char*>(head), 10) && std::memcmp(head, "ID3", 3) == 0) {
        const int64_t body = (head[6] & 0x7F) << 21 | (head[7] & 0x7F) << 14 |
                             (head[8] & 0x7F) << 7 | (head[9] & 0x7F);
        start = std::min(size, 10 + body + ((head[5] & 0x10) ? 10 : 0));
    }
    in.clear();
    char tail[3] = {};
    if (size - start >= 128) {
        in.seekg(size - 128);
        if (in.read(tail, 3) && std::memcmp(tail, "TAG", 3) == 0) size -= 128;
    }
    return size - start;
}

// SDL's audio subsystem is one per process.  Sound systems that live at the
// same time (a test beside a window) share it: the first starts it with its
// output type, the last one closed stops it.
int audioUsers = 0;

bool StartAudio(const char* driver) {
    if (audioUsers == 0 && SDL_AudioInit(driver) != 0) return false;
    ++audioUsers;
    return true;
}

void StopAudio() {
    if (audioUsers > 0 && --audioUsers == 0) SDL_AudioQuit();
}

float VersionNumber(const SDL_version& v) {
    return static_cast<float>(v.major) + v.minor / 100.0f;
}
}  // namespace

TSoundSystem::~TSoundSystem() {
    Close();
}

std::string TSoundSystem::VersionMismatchText() {
    SDL_version built, running;
    SDL_VERSION(&built);
    SDL_GetVersion(&running);
    if (SDL_VERSIONNUM(running.major, running.minor, running.patch) >=
        SDL_VERSIONNUM(built.major, built.minor, 0))
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "API version %3.2f is newer than DLL version %3.2f",
                  static_cast<double>(VersionNumber(built)),
                  static_cast<double>(VersionNumber(running)));
    return text;
}

const char* TSoundSystem::DriverNameFor(int outputType) {
    // 0 and 1 both mean SDL's own choice, as an old settings file may hold 0.
    if (outputType <= 1 || outputType - 2 >= SDL_GetNumAudioDrivers()) return nullptr;
    return SDL_GetAudioDriver(outputType - 2);
}

std::vector<std::string> TSoundSystem::OutputTypeNames() {
    std::vector<std::string> names{"Default output"};
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) names.emplace_back(SDL_GetAudioDriver(i));
    return names;
}

int TSoundSystem::OutputTypeOf(const std::string& driver) {
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        if (driver == SDL_GetAudioDriver(i)) return i + 2;
    return 1;
}

std::vector<std::string> TSoundSystem::DriverNames(int outputType) {
    std::vector<std::string> names{"Default device"};
    // Listing another output's devices would mean restarting the audio
    // subsystem under the playing song; only the running output is listed.
    const bool running = audioStarted_ && outputType == outputType_;
    const bool probe = audioUsers == 0 && StartAudio(DriverNameFor(outputType));
    if (running || probe)
        for (int i = 0; i < SDL_GetNumAudioDevices(0); ++i) {
            const char* name = SDL_GetAudioDeviceName(i, 0);
            names.emplace_back(name ? name : "");
        }
    if (probe) StopAudio();
    return names;
}

TInterpolation TSoundSystem::MixerQuality(int mixerType) {
    // The eight mixers of the options, from plain to interpolating:
    // 1-3 (blend-mode mixers) take the nearest sample, 0 (auto-detect)
    // interpolates linearly, 4 and 6 (auto-detect / Pentium interpolating)
    // use cubic interpolation, 5 and 7 (FPU / PPro interpolating) the
    // windowed-sinc filter.
    switch (mixerType) {
        case 1:
        case 2:
        case 3:
            return TInterpolation::Nearest;
        case 0:
            return TInterpolation::Linear;
        case 5:
        case 7:
            return TInterpolation::Sinc;
        default:
            return TInterpolation::Cubic;
    }
}

std::vector<TSoundFailure> TSoundSystem::Init(const TSoundSetup& setup) {
    Close();
    std::vector<TSoundFailure> failures;
    auto fail = [&](const char* function, int code) {
        lastError_ = code;
        failures.push_back({function, SoundErrorText(code)});
    };
    lastError_ = SoundErrNone;
    outputType_ = setup.OutputType;
    if (setup.OutputType < 0 || setup.OutputType > SDL_GetNumAudioDrivers() + 1) {
        fail("FSOUND_SetOutput", SoundErrInvalidParam);
        outputType_ = 1;
    }
    if (setup.DriverIndex < 0) fail("FSOUND_SetDriver", SoundErrInvalidParam);
    if (setup.MixerType < 0 || setup.MixerType >= kMixerCount)
        fail("FSOUND_SetMixer", SoundErrInvalidParam);
    quality_ = MixerQuality(setup.MixerType);

    if (!StartAudio(DriverNameFor(outputType_))) {
        fail("FSOUND_Init", SoundErrInit);
        return failures;
    }
    audioStarted_ = true;
    const char* deviceName = nullptr;
    if (setup.DriverIndex >= 1 && setup.DriverIndex <= SDL_GetNumAudioDevices(0))
        deviceName = SDL_GetAudioDeviceName(setup.DriverIndex - 1, 0);
    SDL_AudioSpec wanted{}, got{};
    wanted.freq = kMixRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = kMixChannels;
    wanted.samples = 1024;
    wanted.callback = &TSoundSystem::AudioCallback;
    wanted.userdata = this;
    device_ = SDL_OpenAudioDevice(deviceName, 0, &wanted, &got, 0);
    if (device_ == 0) {
        fail("FSOUND_Init", SoundErrInit);
        StopAudio();
        audioStarted_ = false;
        return failures;
    }
    SDL_PauseAudioDevice(device_, 0);
    return failures;
}

void TSoundSystem::Close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for the callback to finish
        device_ = 0;
    }
    playing_.clear();
    followers_.clear();
    if (audioStarted_) StopAudio();
    audioStarted_ = false;
    std::lock_guard lock(historyMutex_);
    history_.fill(0);
}

std::shared_ptr<TSoundSource> TSoundSystem::LoadSong(const std::string& path) {
    if (!TModuleDecoder::LooksLikeModule(path)) return nullptr;
    try {
        auto decoder = std::make_unique<TModuleDecoder>(path, quality_);
        const int type = decoder->Type();
        return std::make_shared<TSoundSource>(std::move(decoder), AudioPayloadBytes(path), type);
    } catch (const TSoundError&) {
        return nullptr;
    }
}

std::shared_ptr<TSoundSource> TSoundSystem::StreamOpen(const std::string& path, bool accurate) {
    if (!FileExists(path)) {
        lastError_ = SoundErrFileNotFound;
        return nullptr;
    }
    try {
        auto decoder = std::make_unique<TFfmpegDecoder>(path, accurate, quality_);
        return std::make_shared<TSoundSource>(std::move(decoder), AudioPayloadBytes(path), -1);
    } catch (const TSoundError& e) {
        lastError_ = e.Code();
        return nullptr;
    }
}

int TSoundSystem::Play(const std::shared_ptr<TSoundSource>& source) {
    if (device_ == 0 || !source) {
        lastError_ = device_ == 0 ? SoundErrUninitialized : SoundErrInvalidParam;
        return -1;
    }
    source->StartDecoding();
    SDL_LockAudioDevice(device_);
    if (std::find(playing_.begin(), playing_.end(), source) == playing_.end())
        playing_.push_back(source);
    SDL_UnlockAudioDevice(device_);
    nextChannel_ = (nextChannel_ + 1) % 1'000'000;
    return nextChannel_;
}

void TSoundSystem::Stop(const TSoundSource* source) {
    if (device_ == 0) return;
    std::shared_ptr<TSoundSource> released;  // freed outside the audio lock
    std::vector<TFollower> releasedFollowers;
    SDL_LockAudioDevice(device_);
    auto it = std::find_if(playing_.begin(), playing_.end(),
                           [&](const auto& p) { return p.get() == source; });
    if (it != playing_.end()) {
        released = std::move(*it);
        playing_.erase(it);
    }
    // Neither what was to follow it, nor it as a follower, plays on.
    releasedFollowers = TakeFollowersLocked(
        [&](const TFollower& f) { return f.after == source || f.next.get() == source; });
    SDL_UnlockAudioDevice(device_);
}

void TSoundSystem::StopAll() {
    if (device_ == 0) return;
    std::vector<std::shared_ptr<TSoundSource>> released;
    std::vector<TFollower> releasedFollowers;
    SDL_LockAudioDevice(device_);
    released.swap(playing_);
    releasedFollowers.swap(followers_);
    SDL_UnlockAudioDevice(device_);
}

bool TSoundSystem::IsPlaying(const TSoundSource* source) const {
    if (device_ == 0 || !source) return false;
    SDL_LockAudioDevice(device_);
    const bool listed = std::any_of(playing_.begin(), playing_.end(),
                                    [&](const auto& p) { return p.get() == source; });
    SDL_UnlockAudioDevice(device_);
    return listed && !source->Finished();
}

bool TSoundSystem::PlayAfter(const TSoundSource* current,
                             const std::shared_ptr<TSoundSource>& next) {
    if (device_ == 0 || !current || !next) return false;
    next->StartDecoding();
    SDL_LockAudioDevice(device_);
    const bool listed = std::any_of(playing_.begin(), playing_.end(),
                                    [&](const auto& p) { return p.get() == current; });
    if (listed) {
        // A follower replaced is still owned by its song: not freed here.
        std::erase_if(followers_, [&](const TFollower& f) { return f.after == current; });
        followers_.push_back({current, next});
    }
    SDL_UnlockAudioDevice(device_);
    return listed;
}

void TSoundSystem::CancelFollower(const TSoundSource* current) {
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    std::vector<TFollower> released =  // freed outside the audio lock
        TakeFollowersLocked([&](const TFollower& f) { return f.after == current; });
    SDL_UnlockAudioDevice(device_);
}

std::vector<TSoundSystem::TFollower> TSoundSystem::TakeFollowersLocked(
    const std::function<bool(const TFollower&)>& match) {
    std::vector<TFollower> taken;
    for (auto it = followers_.begin(); it != followers_.end();)
        if (match(*it)) {
            taken.push_back(std::move(*it));
            it = followers_.erase(it);
        } else {
            ++it;
        }
    return taken;
}

void TSoundSystem::SetVolume(TSoundSource& source, int volume) {
    source.SetGain(static_cast<float>(std::clamp(volume, 0, 255)) / 255.0f);
}

void TSoundSystem::AudioCallback(void* self, uint8_t* stream, int bytes) {
    auto* out = reinterpret_cast<float*>(stream);
    const size_t frames = static_cast<size_t>(bytes) / (sizeof(float) * kMixChannels);
    static_cast<TSoundSystem*>(self)->Mix(out, frames);
}

void TSoundSystem::Mix(float* out, size_t frames) {
    std::fill(out, out + frames * kMixChannels, 0.0f);
    for (auto& source : playing_) {
        size_t mixed = source->MixInto(out, frames);
        // A source that ended within the block hands the rest of it to the
        // source that follows it.  The one replaced stays owned by its song,
        // so nothing is freed on this thread.
        while (mixed < frames && source->Finished()) {
            auto follower = std::find_if(followers_.begin(), followers_.end(),
                                         [&](const TFollower& f) { return f.after == source.get(); });
            if (follower == followers_.end()) break;
            source = std::move(follower->next);
            followers_.erase(follower);
            mixed += source->MixInto(out + mixed * kMixChannels, frames - mixed);
        }
    }
    for (size_t i = 0; i < frames * kMixChannels; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
    if (spectrumActive_.load()) RememberForSpectrum(out, frames);
}

void TSoundSystem::RememberForSpectrum(const float* mix, size_t frames) {
    std::lock_guard lock(historyMutex_);
    for (size_t i = 0; i < frames; ++i) {
        history_[historyPos_] = 0.5f * (mix[i * 2] + mix[i * 2 + 1]);
        historyPos_ = (historyPos_ + 1) % history_.size();
    }
}

TSpectrumAnalyzer::Bands TSoundSystem::GetSpectrum() {
    if (!spectrumActive_.load() || device_ == 0) return TSpectrumAnalyzer::Bands{};
    std::array<float, TSpectrumAnalyzer::kWindow> ordered;
    {
        std::lock_guard lock(historyMutex_);
        for (size_t i = 0; i < ordered.size(); ++i)
            ordered[i] = history_[(historyPos_ + i) % history_.size()];
    }
    return analyzer_.Analyze(ordered.data());
}
