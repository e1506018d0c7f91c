#include "cli/SoundCommands.h"

CliCommand SoundCommand(const std::string& name,
                        std::function<int(const std::vector<std::string>&)> run) {
    if (name == "play")
        return {"play", "play FILE...",
                "play the audio files to their end, showing the time (Ctrl+C stops)",
                std::move(run)};
    return {"measure", "measure [--json] FILE...",
            "print each audio file's duration (ms) and bit rate (kbit/s) as the player measures "
            "them",
            std::move(run)};
}

std::vector<std::string>& CliArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
