// mavelo-cli measure FILE...: the duration (ms) and bit rate (kbit/s) of each
// audio file as the player measures it, as text or JSON.
#include <iostream>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/SoundCommands.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

namespace {

int Measure(const std::vector<std::string>& args) {
    bool json = false;
    std::vector<std::string> files;
    for (const auto& a : args) {
        if (a == "--json")
            json = true;
        else
            files.push_back(a);
    }
    if (files.empty()) {
        std::cerr << "mavelo-cli measure: needs at least one FILE\n";
        return 2;
    }
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

CliCommandRegistration registration{SoundCommand("measure", Measure)};
}  // namespace
