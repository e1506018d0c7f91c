// mavelo-cli play FILE...: plays the files one after the other through the
// sound layer (SDL's output; SDL_AUDIODRIVER chooses it), printing the time
// display.  Ctrl+C stops.
#include <CLI/App.hpp>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "cli/SoundCommands.h"
#include "player/SoundSystem.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

namespace {
volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

struct TPlayOptions {
    std::vector<std::string> files;
    std::optional<std::string> replayGain;  // mavelo.ini's when not given
    std::optional<int> preampDb;
};

int Play(const TPlayOptions& options) {
    const std::vector<std::string>& args = options.files;
    TSoundSystem sound;
    for (const auto& failure : sound.Init({}))
        std::cerr << "mavelo-cli play: " << failure.Function << ": " << failure.Text << "\n";
    if (!sound.Available()) return 1;

    TPlayList queue(sound);
    const TSettings settings = ReadProgramSettings();
    queue.ReplayGain = ReplayGainModeFromText(options.replayGain.value_or(settings.ReplayGain));
    queue.ReplayGainPreampDb = options.preampDb.value_or(settings.ReplayGainPreamp);
    TTransport transport(queue);
    for (size_t i = 0; i < args.size(); ++i) {
        Tmp3 track(args[i]);
        track.ReadTags();  // the album name tells whether album gain applies
        if (!queue.AddNumbered("", track, true, true, static_cast<int32_t>(i + 1))) {
            TSong song(sound, "", track, true, true, 0, 0);
            std::cerr << "mavelo-cli play: " << song.ErrorText << "\n";
        }
    }
    if (queue.Count() == 0) return 1;

    auto previous = std::signal(SIGINT, OnInterrupt);
    transport.SelectedRow = 1;
    transport.PlayCommand(false);
    std::optional<size_t> shown;
    std::string lastText;
    while (!interrupted && queue.Current) {
        if (queue.Current != shown) {
            shown = queue.Current;
            std::cout << (lastText.empty() ? "" : "\n") << "Playing "
                      << queue.Song(*shown).Track.Path << " (" << transport.Display().BitrateText
                      << ")\n";
            lastText.clear();
        }
        std::string text = transport.Display().TimeText;
        const TSong& song = queue.Song(*queue.Current);
        if (text.empty() && song.Module)  // modules count orders, not time
            text =
                "order " + std::to_string(song.Position + 1) + " / " + std::to_string(song.Length);
        if (text != lastText) {
            std::cout << "\r" << text << std::flush;
            lastText = text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        transport.Tick();
    }
    std::cout << "\n";
    transport.StopCommand();
    std::signal(SIGINT, previous);
    return interrupted ? 130 : 0;
}

CliRun DefinePlay(CLI::App& command) {
    auto options = std::make_shared<TPlayOptions>();
    command.add_option("FILE", options->files, "the audio files, played in this order, without gaps")
        ->required();
    command
        .add_option("--replaygain", options->replayGain,
                    "loudness from the files' ReplayGain tags: off, track, album, or auto (the "
                    "album's while the files are one album in order); default: mavelo.ini's")
        ->check(CLI::IsMember({"off", "track", "album", "auto"}));
    command
        .add_option("--preamp", options->preampDb,
                    "dB added to the ReplayGain (-15 to 15); default: mavelo.ini's")
        ->check(CLI::Range(-15, 15));
    return [options] { return Play(*options); };
}

CliCommandRegistration registration{SoundCommand("play", DefinePlay)};
}  // namespace
