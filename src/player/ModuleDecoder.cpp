#include "player/ModuleDecoder.h"

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/FileSystem.h"
#include "player/SoundError.h"

namespace {
int ModuleType(openmpt_module* module) {
    const char* text = openmpt_module_get_metadata(module, "type");
    const std::string type = text ? text : "";
    openmpt_free_string(text);
    if (type == "mod") return 1;
    if (type == "s3m") return 2;
    if (type == "xm") return 3;
    if (type == "it") return 4;
    return 0;
}

int FilterLength(TInterpolation quality) {
    switch (quality) {
        case TInterpolation::Nearest:
            return 1;
        case TInterpolation::Linear:
            return 2;
        case TInterpolation::Cubic:
            return 4;
        case TInterpolation::Sinc:
            return 8;
    }
    return 8;
}
}  // namespace

bool TModuleDecoder::LooksLikeModule(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<char> head(openmpt_probe_file_header_get_recommended_size());
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    const auto got = static_cast<size_t>(in.gcount());
    in.seekg(0, std::ios::end);
    const auto size = static_cast<uint64_t>(in.tellg());
    const int result =
        openmpt_probe_file_header(OPENMPT_PROBE_FILE_HEADER_FLAGS_DEFAULT, head.data(), got, size,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    // Wanting more data than the whole file holds is a no.
    return result == OPENMPT_PROBE_FILE_HEADER_RESULT_SUCCESS ||
           (result == OPENMPT_PROBE_FILE_HEADER_RESULT_WANTMOREDATA && got < size);
}

TModuleDecoder::TModuleDecoder(const std::string& path, TInterpolation quality) {
    std::string data;
    try {
        data = ReadWholeFile(path);
    } catch (const std::exception&) {
        throw TSoundError(SoundErrFileBad, path);
    }
    int error = 0;
    // The library's own log lines would go to stderr: the error code says enough.
    module_ =
        openmpt_module_create_from_memory2(data.data(), data.size(), openmpt_log_func_silent,
                                           nullptr, nullptr, nullptr, &error, nullptr, nullptr);
    if (!module_) throw TSoundError(SoundErrFileFormat, path);
    lengthMs_ =
        static_cast<int64_t>(std::llround(openmpt_module_get_duration_seconds(module_) * 1000));
    numOrders_ = openmpt_module_get_num_orders(module_);
    type_ = ModuleType(module_);
    openmpt_module_set_render_param(module_, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH,
                                    FilterLength(quality));
    // MOD and S3M channels are panned hard left and right.
    if (type_ == 1 || type_ == 2) SetStereoSeparation(kOldModuleSeparation);
}

TModuleDecoder::~TModuleDecoder() {
    if (module_) openmpt_module_destroy(module_);
}

size_t TModuleDecoder::Read(float* out, size_t frames) {
    return openmpt_module_read_interleaved_float_stereo(module_, kMixRate, frames, out);
}

void TModuleDecoder::SeekMs(int64_t ms) {
    openmpt_module_set_position_seconds(module_, static_cast<double>(ms) / 1000.0);
}

int TModuleDecoder::CurrentOrder() const {
    return openmpt_module_get_current_order(module_);
}

void TModuleDecoder::SeekOrder(int order) {
    openmpt_module_set_position_order_row(module_, order, 0);
}

void TModuleDecoder::SetStereoSeparation(double fraction) {
    openmpt_module_set_render_param(module_, OPENMPT_MODULE_RENDER_STEREOSEPARATION_PERCENT,
                                    static_cast<int>(std::lround(fraction * 100)));
}
