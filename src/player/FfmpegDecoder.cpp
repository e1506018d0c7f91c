#include "player/FfmpegDecoder.h"

#include <algorithm>
#include <cstring>

#include "player/SoundError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {
int64_t MsFromStreamTime(int64_t t, AVRational base) {
    return av_rescale_q(t, base, AVRational{1, 1000});
}
}  // namespace

TFfmpegDecoder::TFfmpegDecoder(const std::string& path, bool accurate, TInterpolation quality) {
    av_log_set_level(AV_LOG_QUIET);
    int rc = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        format_ = nullptr;
        throw TSoundError(rc == AVERROR_INVALIDDATA ? SoundErrFileFormat : SoundErrFileBad, path);
    }
    try {
        if (avformat_find_stream_info(format_, nullptr) < 0)
            throw TSoundError(SoundErrFileBad, path);
        OpenCodec();
        OpenResampler(quality);
        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
        const bool estimated = format_->duration == AV_NOPTS_VALUE ||
                               format_->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
        if (accurate && estimated)
            lengthMs_ = CountLengthFromPackets();
        else if (format_->duration != AV_NOPTS_VALUE)
            lengthMs_ = av_rescale(format_->duration, 1000, AV_TIME_BASE);
        replayGain_ = ReadReplayGain();
    } catch (...) {
        Release();
        throw;
    }
}

TFfmpegDecoder::~TFfmpegDecoder() {
    Release();
}

TReplayGainTags TFfmpegDecoder::ReadReplayGain() const {
    // Vorbis comments and ID3v2 TXXX frames alike come out as the container's
    // or the stream's metadata, under the tag's name.
    const AVDictionary* stream = format_->streams[streamIndex_]->metadata;
    return ReplayGainFromTags([&](const char* name) -> const char* {
        for (const AVDictionary* tags : {stream, static_cast<const AVDictionary*>(format_->metadata)})
            if (const AVDictionaryEntry* entry = av_dict_get(tags, name, nullptr, 0))
                return entry->value;
        return nullptr;
    });
}

void TFfmpegDecoder::Release() {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&resampler_);
    avcodec_free_context(&codec_);
    if (format_) avformat_close_input(&format_);
}

void TFfmpegDecoder::OpenCodec() {
    const AVCodec* decoder = nullptr;
    streamIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (streamIndex_ < 0 || !decoder) throw TSoundError(SoundErrFileFormat, "no audio stream");
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_) throw TSoundError(SoundErrMemory, "codec");
    avcodec_parameters_to_context(codec_, format_->streams[streamIndex_]->codecpar);
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        throw TSoundError(SoundErrMediaPlayer, "cannot open the decoder");
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        if (static_cast<int>(i) != streamIndex_) format_->streams[i]->discard = AVDISCARD_ALL;
}

void TFfmpegDecoder::OpenResampler(TInterpolation quality) {
    AVChannelLayout in{};
    if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || codec_->ch_layout.nb_channels == 0)
        av_channel_layout_default(&in, std::max(1, codec_->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in, &codec_->ch_layout);
    AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
    int rc = swr_alloc_set_opts2(&resampler_, &out, AV_SAMPLE_FMT_FLT, kMixRate, &in,
                                 codec_->sample_fmt, codec_->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    if (rc < 0) throw TSoundError(SoundErrMemory, "resampler");
    // The cheaper mixers resample linearly with a short filter; the
    // interpolating ones get the resampler's full windowed-sinc filter.
    switch (quality) {
        case TInterpolation::Nearest:
            av_opt_set_int(resampler_, "filter_size", 1, 0);
            break;
        case TInterpolation::Linear:
            av_opt_set_int(resampler_, "filter_size", 2, 0);
            av_opt_set_int(resampler_, "linear_interp", 1, 0);
            break;
        case TInterpolation::Cubic:
            av_opt_set_int(resampler_, "filter_size", 16, 0);
            av_opt_set_int(resampler_, "linear_interp", 1, 0);
            break;
        case TInterpolation::Sinc:
            break;  // the default filter: 32 taps
    }
    if (swr_init(resampler_) < 0) throw TSoundError(SoundErrOutputFormat, "resampler");
}

int64_t TFfmpegDecoder::CountLengthFromPackets() {
    AVStream* stream = format_->streams[streamIndex_];
    int64_t first = AV_NOPTS_VALUE, end = 0, summed = 0;
    while (av_read_frame(format_, packet_) >= 0) {
        if (packet_->stream_index == streamIndex_) {
            summed += packet_->duration;
            if (packet_->pts != AV_NOPTS_VALUE) {
                if (first == AV_NOPTS_VALUE) first = packet_->pts;
                end = std::max(end, packet_->pts + packet_->duration);
            }
        }
        av_packet_unref(packet_);
    }
    av_seek_frame(format_, streamIndex_,
                  stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time,
                  AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(codec_);
    const int64_t span = first == AV_NOPTS_VALUE ? summed : end - first;
    return MsFromStreamTime(std::max(span, summed), stream->time_base);
}

size_t TFfmpegDecoder::Read(float* out, size_t frames) {
    size_t done = 0;
    while (done < frames) {
        const size_t available = (pending_.size() - pendingStart_) / kMixChannels;
        if (available == 0) {
            pending_.clear();
            pendingStart_ = 0;
            if (!DecodeMore()) break;
            continue;
        }
        const size_t n = std::min(available, frames - done);
        std::memcpy(out + done * kMixChannels, pending_.data() + pendingStart_,
                    n * kMixChannels * sizeof(float));
        pendingStart_ += n * kMixChannels;
        done += n;
    }
    return done;
}

bool TFfmpegDecoder::DecodeMore() {
    while (!ended_) {
        int rc = avcodec_receive_frame(codec_, frame_);
        if (rc == 0) {
            Convert(frame_);
            av_frame_unref(frame_);
            if (pending_.size() > pendingStart_) return true;
            continue;
        }
        if (rc == AVERROR_EOF) {
            ended_ = true;
            break;
        }
        if (draining_) {
            ended_ = true;
            break;
        }
        rc = av_read_frame(format_, packet_);
        if (rc < 0) {
            draining_ = true;
            avcodec_send_packet(codec_, nullptr);
            continue;
        }
        if (packet_->stream_index == streamIndex_) avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
    }
    // What the resampler still holds comes out once at the end.
    const size_t before = pending_.size();
    Convert(nullptr);
    return pending_.size() > before;
}

void TFfmpegDecoder::Convert(AVFrame* frame) {
    if (frame && seekTargetMs_ >= 0) {
        // First frame after a seek: drop what lies before the requested time.
        const int64_t ts = frame->best_effort_timestamp;
        if (ts != AV_NOPTS_VALUE) {
            const int64_t at = MsFromStreamTime(ts, format_->streams[streamIndex_]->time_base);
            dropFrames_ = std::max<int64_t>(0, (seekTargetMs_ - at) * kMixRate / 1000);
        }
        seekTargetMs_ = -1;
    }
    const int inSamples = frame ? frame->nb_samples : 0;
    const int capacity = swr_get_out_samples(resampler_, inSamples);
    if (capacity <= 0) return;
    const size_t start = pending_.size();
    pending_.resize(start + static_cast<size_t>(capacity) * kMixChannels);
    uint8_t* outPlanes[1] = {reinterpret_cast<uint8_t*>(pending_.data() + start)};
    const int made =
        swr_convert(resampler_, outPlanes, capacity,
                    frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inSamples);
    pending_.resize(start + static_cast<size_t>(std::max(made, 0)) * kMixChannels);
    const size_t drop = std::min<size_t>(static_cast<size_t>(dropFrames_), std::max(made, 0));
    if (drop > 0) {
        pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(start),
                       pending_.begin() + static_cast<std::ptrdiff_t>(start + drop * kMixChannels));
        dropFrames_ -= static_cast<int64_t>(drop);
    }
}

void TFfmpegDecoder::SeekMs(int64_t ms) {
    ms = std::max<int64_t>(0, ms);
    const int64_t target = av_rescale(ms, AV_TIME_BASE, 1000);
    av_seek_frame(format_, -1, target, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(codec_);
    swr_init(resampler_);  // forget the samples of the old position
    pending_.clear();
    pendingStart_ = 0;
    draining_ = ended_ = false;
    dropFrames_ = 0;
    seekTargetMs_ = ms;
}
