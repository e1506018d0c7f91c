// Cost of the language lookup (every call scans the loaded file) and of
// reading and writing the settings file.
#include <benchmark/benchmark.h>

#include "core/IniFile.h"
#include "core/Settings.h"
#include "core/Ulang.h"

namespace {
// A file the size of a full translation: window lines first, then the
// Global messages, then the tips.
void FillLanguage(int windowLines, int globalLines) {
    auto& lines = LangLines();
    lines.clear();
    for (int i = 0; i < windowLines; ++i)
        lines.push_back("FormMain.Control" + std::to_string(i) + ".Caption=Caption text " +
                        std::to_string(i));
    for (int i = 0; i < globalLines; ++i)
        lines.push_back("Global.Key" + std::to_string(i) + "=Message text number " +
                        std::to_string(i) + " with some words in it");
    for (int i = 0; i < 40; ++i) lines.push_back("tips.Tip" + std::to_string(i) + "=A tip");
}

void BM_LangTextLastKey(benchmark::State& state) {
    FillLanguage(static_cast<int>(state.range(0)), 107);
    for (auto _ : state) benchmark::DoNotOptimize(LangText("Key106", "default"));
}
BENCHMARK(BM_LangTextLastKey)->Arg(500)->Arg(2000);

void BM_LangTextMissingKey(benchmark::State& state) {
    FillLanguage(static_cast<int>(state.range(0)), 107);
    for (auto _ : state) benchmark::DoNotOptimize(LangText("NoSuchKey", "default"));
}
BENCHMARK(BM_LangTextMissingKey)->Arg(500)->Arg(2000);

void BM_SettingsReadWrite(benchmark::State& state) {
    TIniFile file;
    TSettings().Write(file);
    const std::string text = file.ToText();
    for (auto _ : state) {
        TIniFile ini;
        ini.LoadFromText(text);
        TSettings settings;
        settings.Read(ini);
        settings.Write(ini);
        benchmark::DoNotOptimize(ini.ToText());
    }
}
BENCHMARK(BM_SettingsReadWrite);
}  // namespace

BENCHMARK_MAIN();
