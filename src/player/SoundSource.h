#pragma once
// One audio file opened for playing: a decoder, the thread that runs it and
// the small buffer between that thread and the mixer.  The user-interface
// thread only asks for positions and requests seeks; the decoder thread does
// the work, and the mixer pulls what is ready.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "player/Decoder.h"

class TSoundSource {
  public:
    // moduleType: -1 for a stream, else the module kind (1 MOD, 2 S3M, ...).
    TSoundSource(std::unique_ptr<TDecoder> decoder, int64_t lengthBytes, int moduleType);
    ~TSoundSource();
    TSoundSource(const TSoundSource&) = delete;
    TSoundSource& operator=(const TSoundSource&) = delete;

    bool IsModule() const { return moduleType_ >= 0; }
    int ModuleType() const { return moduleType_; }
    int64_t LengthMs() const { return lengthMs_; }
    // Bytes of audio data in the file (tags around it left out).
    int64_t LengthBytes() const { return lengthBytes_; }
    int NumOrders() const { return numOrders_; }

    // Played time since the start of the file (what the listener heard).
    int64_t TimeMs() const;
    void SetTimeMs(int64_t ms);
    int Order() const { return order_.load(); }
    void SetOrder(int order);
    void SetGain(float gain) { gain_.store(gain); }
    // The loudness factor (ReplayGain) applied on top of the gain.
    void SetLoudness(float factor) { loudness_.store(factor); }
    const TReplayGainTags& ReplayGain() const { return replayGain_; }
    // Decoded to the end and every sample handed to the mixer.
    bool Finished() const { return finished_.load(); }

    // Starts the decoder thread once; later calls do nothing.
    void StartDecoding();
    // Mixer side: adds up to `frames` frames times the gain into `mix`;
    // returns how many it had ready.
    size_t MixInto(float* mix, size_t frames);

  private:
    enum class RequestKind { None, Time, Order };
    void DecodeLoop();
    // Drops what is buffered and has the decoder move (on its thread when
    // it runs).
    void Request(RequestKind kind, int64_t value, int64_t baseMs);
    void ApplyRequest(RequestKind kind, int64_t value);
    void ResetBufferLocked(int64_t baseMs);
    void PushLocked(const float* samples, size_t frames);
    size_t FreeFramesLocked() const { return capacityFrames_ - bufferedFrames_; }

    std::unique_ptr<TDecoder> decoder_;
    const int64_t lengthMs_;
    const int64_t lengthBytes_;
    const int moduleType_;
    const int numOrders_;
    const TReplayGainTags replayGain_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<float> ring_;
    size_t capacityFrames_;
    size_t readFrame_ = 0;
    size_t bufferedFrames_ = 0;
    int64_t baseMs_ = 0;
    int64_t playedFrames_ = 0;
    bool decodedToEnd_ = false;
    bool quit_ = false;
    uint64_t generation_ = 0;  // bumped by every seek: older decoded blocks are dropped
    RequestKind request_ = RequestKind::None;
    int64_t requestValue_ = 0;

    std::atomic<float> gain_{1.0f};
    std::atomic<float> loudness_{1.0f};
    std::atomic<int> order_{0};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};
