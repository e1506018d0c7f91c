// mavelo-cli measure FILE...: the duration (ms) and bit rate (kbit/s) of each
// audio file as the player measures it, as text or JSON.
#include <CLI/App.hpp>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/SoundCommands.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

namespace {

struct TMeasureOptions {
    bool json = false;
    std::vector<std::string> files;
};

int Measure(const TMeasureOptions& options) {
    const bool json = options.json;
    const auto& files = options.files;
    // Measuring plays nothing, so SDL's silent output is enough: it works on
    // machines without a sound card.
    TSoundSystem sound;
    sound.Init({TSoundSystem::OutputTypeOf("dummy"), 0, 4});
    int exitCode = 0;
    if (json) std::cout << "[";
    for (size_t i = 0; i < files.size(); ++i) {
        Tmp3 track(files[i]);
        TSong song(sound, "", track, true, true, 0, 0);
        if (!song.ErrorText.empty()) {
            std::cerr << "mavelo-cli measure: " << song.ErrorText << "\n";
            exitCode = 1;
        }
        if (json) {
            std::cout << (i ? ",\n " : "\n ") << "{\"file\": " << JsonString(files[i])
                      << ", \"duration_ms\": " << track.Duration
                      << ", \"bitrate_kbps\": " << track.Bitrate;
            if (!song.ErrorText.empty()) std::cout << ", \"error\": " << JsonString(song.ErrorText);
            std::cout << "}";
        } else if (song.ErrorText.empty()) {
            std::cout << files[i] << "\t" << track.Duration << "\t" << track.Bitrate << "\n";
        }
    }
    if (json) std::cout << "\n]\n";
    return exitCode;
}

CliRun DefineMeasure(CLI::App& command) {
    auto options = std::make_shared<TMeasureOptions>();
    command.add_flag("--json", options->json, "print a JSON array instead of lines");
    command.add_option("FILE", options->files, "the audio files")->required();
    return [options] { return Measure(*options); };
}

CliCommandRegistration registration{SoundCommand("measure", DefineMeasure)};
}  // namespace
