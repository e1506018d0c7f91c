#include "player/SoundSource.h"

#include <algorithm>

namespace {
// About three quarters of a second of sound between decoder and mixer: a
// decoder thread kept waiting on a busy machine still has samples ready when
// the output asks.  Seeks and stops drop what is buffered, so they stay
// immediate.
constexpr size_t kBufferFrames = 32768;
constexpr size_t kChunkFrames = 1024;
}  // namespace

TSoundSource::TSoundSource(std::unique_ptr<TDecoder> decoder, int64_t lengthBytes, int moduleType)
    : decoder_(std::move(decoder)),
      lengthMs_(decoder_->LengthMs()),
      lengthBytes_(lengthBytes),
      moduleType_(moduleType),
      numOrders_(decoder_->NumOrders()),
      replayGain_(decoder_->ReplayGain()),
      ring_(kBufferFrames * kMixChannels),
      capacityFrames_(kBufferFrames) {}

TSoundSource::~TSoundSource() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

int64_t TSoundSource::TimeMs() const {
    std::lock_guard lock(mutex_);
    return baseMs_ + playedFrames_ * 1000 / kMixRate;
}

void TSoundSource::ResetBufferLocked(int64_t baseMs) {
    ++generation_;
    readFrame_ = 0;
    bufferedFrames_ = 0;
    baseMs_ = baseMs;
    playedFrames_ = 0;
    decodedToEnd_ = false;
    finished_.store(false);
}

void TSoundSource::SetTimeMs(int64_t ms) {
    ms = std::clamp<int64_t>(ms, 0, std::max<int64_t>(0, lengthMs_));
    Request(RequestKind::Time, ms, ms);
}

void TSoundSource::SetOrder(int order) {
    if (!IsModule()) return;
    order_.store(order);
    Request(RequestKind::Order, order, 0);
}

void TSoundSource::Request(RequestKind kind, int64_t value, int64_t baseMs) {
    const bool decoding = thread_.joinable();
    {
        std::lock_guard lock(mutex_);
        ResetBufferLocked(baseMs);
        if (decoding) {
            request_ = kind;
            requestValue_ = value;
        }
    }
    if (decoding)
        wake_.notify_all();
    else
        ApplyRequest(kind, value);  // no decoder thread yet: this thread owns the decoder
}

void TSoundSource::ApplyRequest(RequestKind kind, int64_t value) {
    if (kind == RequestKind::Time)
        decoder_->SeekMs(value);
    else if (kind == RequestKind::Order)
        decoder_->SeekOrder(static_cast<int>(value));
}

void TSoundSource::StartDecoding() {
    if (!thread_.joinable()) thread_ = std::thread([this] { DecodeLoop(); });
}

void TSoundSource::DecodeLoop() {
    std::vector<float> chunk(kChunkFrames * kMixChannels);
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (request_ != RequestKind::None) {
            const RequestKind kind = request_;
            const int64_t value = requestValue_;
            request_ = RequestKind::None;
            lock.unlock();
            ApplyRequest(kind, value);
            lock.lock();
            continue;
        }
        if (decodedToEnd_ || FreeFramesLocked() < kChunkFrames) {
            wake_.wait(lock);
            continue;
        }
        const uint64_t generation = generation_;
        lock.unlock();
        const size_t got = decoder_->Read(chunk.data(), kChunkFrames);
        const int order = decoder_->CurrentOrder();
        lock.lock();
        if (generation != generation_) continue;  // a seek came while decoding
        if (got == 0)
            decodedToEnd_ = true;
        else
            PushLocked(chunk.data(), got);
        order_.store(order);
    }
}

void TSoundSource::PushLocked(const float* samples, size_t frames) {
    size_t writeFrame = (readFrame_ + bufferedFrames_) % capacityFrames_;
    for (size_t i = 0; i < frames; ++i) {
        ring_[writeFrame * 2] = samples[i * 2];
        ring_[writeFrame * 2 + 1] = samples[i * 2 + 1];
        writeFrame = (writeFrame + 1) % capacityFrames_;
    }
    bufferedFrames_ += frames;
}

size_t TSoundSource::MixInto(float* mix, size_t frames) {
    const float gain = gain_.load() * loudness_.load();
    size_t taken = 0;
    {
        std::lock_guard lock(mutex_);
        taken = std::min(frames, bufferedFrames_);
        for (size_t i = 0; i < taken; ++i) {
            mix[i * 2] += ring_[readFrame_ * 2] * gain;
            mix[i * 2 + 1] += ring_[readFrame_ * 2 + 1] * gain;
            readFrame_ = (readFrame_ + 1) % capacityFrames_;
        }
        bufferedFrames_ -= taken;
        playedFrames_ += static_cast<int64_t>(taken);
        if (decodedToEnd_ && bufferedFrames_ == 0) finished_.store(true);
    }
    wake_.notify_one();
    return taken;
}
