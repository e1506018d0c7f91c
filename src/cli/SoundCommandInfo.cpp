#include "cli/SoundCommands.h"

#include <stdexcept>

namespace {
struct TCommandText {
    const char* name;
    const char* usage;
    const char* summary;
};

const TCommandText kSoundCommands[] = {
    {"play", "play FILE...", "play the audio files to their end, showing the time (Ctrl+C stops)"},
    {"measure", "measure [--json] FILE...",
     "print each audio file's duration (ms) and bit rate (kbit/s) as the player measures them"},
    {"discid", "discid PLAYLIST",
     "print the album's FreeDB disc id and its CDDB query command (durations measured)"},
    {"freedb",
     "freedb PLAYLIST [--server URL] [--read CAT ID] [--apply] [--tag-type id3v2|id3v1|both] "
     "[--rename-files] [--rename-playlist] [--rename-dir]",
     "look the album up on FreeDB (matches and the first or chosen record as JSON); "
     "--apply updates it from the first complete match"},
};
}  // namespace

std::vector<std::string> SoundCommandNames() {
    std::vector<std::string> names;
    for (const auto& command : kSoundCommands) names.push_back(command.name);
    return names;
}

CliCommand SoundCommand(const std::string& name,
                        std::function<int(const std::vector<std::string>&)> run) {
    for (const auto& command : kSoundCommands)
        if (name == command.name)
            return PassThroughCommand(command.name, command.usage, command.summary, std::move(run));
    throw std::logic_error("no sound command " + name);
}

std::vector<std::string>& CliArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
