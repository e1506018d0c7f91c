// Sound layer benchmarks: decoding speed in multiples of real time for each
// fixture format, and the CPU time the user-interface thread spends while an
// MP3 plays (it only polls every 100 ms; the decoding runs elsewhere).
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "player/FfmpegDecoder.h"
#include "player/ModuleDecoder.h"
#include "player/SoundSystem.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

namespace {
std::string Fixture(const char* name) {
    return std::string(MAVELO_TEST_DATA) + "/player/" + name;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void DecodeWhole(benchmark::State& state, const char* file) {
    const bool module = std::string(file).ends_with(".mod");
    std::vector<float> block(4096 * kMixChannels);
    double audioSeconds = 0;
    for (auto _ : state) {
        std::unique_ptr<TDecoder> decoder;
        if (module)
            decoder = std::make_unique<TModuleDecoder>(Fixture(file), TInterpolation::Cubic);
        else
            decoder = std::make_unique<TFfmpegDecoder>(Fixture(file), false, TInterpolation::Cubic);
        size_t frames = 0;
        while (size_t got = decoder->Read(block.data(), 4096)) frames += got;
        audioSeconds += static_cast<double>(frames) / kMixRate;
        benchmark::DoNotOptimize(block.data());
    }
    // Seconds of sound per second of work: "times real time".
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(DecodeWhole, mp3, "tone.mp3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeWhole, ogg, "tone.ogg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeWhole, wma, "tone.wma")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeWhole, wav, "tone.wav")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeWhole, mod, "tone.mod")->Unit(benchmark::kMillisecond);

// Plays the MP3 to its end on SDL's silent output with the player's 100 ms
// tick, and reports the user-interface thread's CPU use in percent.
void UiThreadWhilePlaying(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TSoundSystem sound;
    sound.Init({TSoundSystem::OutputTypeOf("dummy"), 0, 4});
    TPlayList queue(sound);
    TTransport transport(queue);
    Tmp3 track(Fixture("tone.mp3"));
    queue.Add("", track, true, true);
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        transport.SelectedRow = 1;
        transport.PlayCommand(false);
        while (transport.Tick()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cpu += ThreadCpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["ui_cpu_percent"] = 100.0 * cpu / wall;
}
BENCHMARK(UiThreadWhilePlaying)->Iterations(2)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
