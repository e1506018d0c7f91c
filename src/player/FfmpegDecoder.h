#pragma once
// Streams (MP3, Ogg Vorbis, WMA, WAV, FLAC and whatever else libavformat
// opens) decoded by FFmpeg and converted to the mixing format.
#include <memory>
#include <string>
#include <vector>

#include "player/Decoder.h"

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVPacket;
struct AVFrame;

class TFfmpegDecoder : public TDecoder {
  public:
    // Throws TSoundError (Unknown file format / Error loading file) when the
    // file holds no audio stream that FFmpeg can decode.  With `accurate`
    // the length is counted from the packets when the container only
    // estimates it (an MP3 without a frame index).
    TFfmpegDecoder(const std::string& path, bool accurate, TInterpolation quality);
    ~TFfmpegDecoder() override;

    size_t Read(float* out, size_t frames) override;
    void SeekMs(int64_t ms) override;
    int64_t LengthMs() const override { return lengthMs_; }
    TReplayGainTags ReplayGain() const override { return replayGain_; }

  private:
    void Release();
    TReplayGainTags ReadReplayGain() const;
    void OpenCodec();
    void OpenResampler(TInterpolation quality);
    int64_t CountLengthFromPackets();
    // Decodes the next frame into pending_; false at the end of the stream.
    bool DecodeMore();
    void Convert(AVFrame* frame);

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int streamIndex_ = -1;
    int64_t lengthMs_ = 0;
    TReplayGainTags replayGain_;
    bool draining_ = false;
    bool ended_ = false;
    // Converted frames not handed out yet, and how many of them a seek
    // still has to drop to land on the requested time.
    std::vector<float> pending_;
    size_t pendingStart_ = 0;
    int64_t dropFrames_ = 0;
    int64_t seekTargetMs_ = -1;
};
