#pragma once
// Band levels of the last sound played: a Hann-windowed FFT of 1024 mono
// samples gives 512 bands of 44100 / 1024 Hz each, scaled so that a
// full-scale sine reads 1.0 in its band.
#include <array>
#include <cstddef>

struct kiss_fftr_state;

class TSpectrumAnalyzer {
  public:
    static constexpr size_t kWindow = 1024;
    static constexpr size_t kBands = kWindow / 2;
    using Bands = std::array<float, kBands>;

    TSpectrumAnalyzer();
    ~TSpectrumAnalyzer();
    TSpectrumAnalyzer(const TSpectrumAnalyzer&) = delete;
    TSpectrumAnalyzer& operator=(const TSpectrumAnalyzer&) = delete;

    // `samples` holds kWindow mono samples, oldest first.  Levels are 0..1.
    Bands Analyze(const float* samples);

  private:
    kiss_fftr_state* config_;
    std::array<float, kWindow> window_;
};
