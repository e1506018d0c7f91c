#include "player/SpectrumAnalyzer.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

TSpectrumAnalyzer::TSpectrumAnalyzer()
    : config_(kiss_fftr_alloc(static_cast<int>(kWindow), 0, nullptr, nullptr)) {
    for (size_t i = 0; i < kWindow; ++i)
        window_[i] =
            0.5f - 0.5f * static_cast<float>(std::cos(2 * std::numbers::pi * i / (kWindow - 1)));
}

TSpectrumAnalyzer::~TSpectrumAnalyzer() {
    kiss_fftr_free(config_);
}

TSpectrumAnalyzer::Bands TSpectrumAnalyzer::Analyze(const float* samples) {
    std::array<kiss_fft_scalar, kWindow> input;
    for (size_t i = 0; i < kWindow; ++i) input[i] = samples[i] * window_[i];
    std::vector<kiss_fft_cpx> output(kBands + 1);
    kiss_fftr(config_, input.data(), output.data());
    // One-sided amplitude: 2 |X| / N, and the Hann window halves it again.
    constexpr float scale = 4.0f / kWindow;
    Bands bands;
    for (size_t k = 0; k < kBands; ++k) {
        const float magnitude = std::hypot(output[k].r, output[k].i) * scale;
        bands[k] = std::min(magnitude, 1.0f);
    }
    return bands;
}
