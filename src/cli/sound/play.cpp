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
#include "cli/SoundCommands.h"
#include "player/SoundSystem.h"
#include "player/Transport.h"
#include "player/Uplaylist.h"

namespace {
volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

int Play(const std::vector<std::string>& args) {
    TSoundSystem sound;
    for (const auto& failure : sound.Init({}))
        std::cerr << "mavelo-cli play: " << failure.Function << ": " << failure.Text << "\n";
    if (!sound.Available()) return 1;

    TPlayList queue(sound);
    TTransport transport(queue);
    for (const auto& file : args) {
        Tmp3 track(file);
        if (!queue.Add("", track, true, true)) {
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
    auto files = std::make_shared<std::vector<std::string>>();
    command.add_option("FILE", *files, "the audio files, played in this order")->required();
    return [files] { return Play(*files); };
}

CliCommandRegistration registration{SoundCommand("play", DefinePlay)};
}  // namespace
