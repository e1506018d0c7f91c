#include "cli/SoundCommands.h"

#include <CLI/App.hpp>
#include <memory>
#include <stdexcept>

namespace {
struct TCommandText {
    const char* name;
    const char* summary;
};

const TCommandText kSoundCommands[] = {
    {"play", "play the audio files to their end, showing the time (Ctrl+C stops)"},
    {"measure",
     "print each audio file's duration (ms) and bit rate (kbit/s) as the player measures them"},
    {"discid", "print the album's FreeDB disc id and its CDDB query command (durations measured)"},
    {"freedb",
     "look the album up on FreeDB (matches and the first or chosen record as JSON); "
     "--apply updates it from the first complete match"},
};
}  // namespace

std::vector<std::string> SoundCommandNames() {
    std::vector<std::string> names;
    for (const auto& command : kSoundCommands) names.push_back(command.name);
    return names;
}

namespace {
const TCommandText& CommandText(const std::string& name) {
    for (const auto& command : kSoundCommands)
        if (name == command.name) return command;
    throw std::logic_error("no sound command " + name);
}
}  // namespace

CliCommand SoundCommand(const std::string& name, std::function<CliRun(CLI::App&)> define) {
    return {name, CommandText(name).summary, std::move(define)};
}

CliCommand SoundHandOverCommand(const std::string& name, std::function<int()> handOver) {
    return {name, CommandText(name).summary, [handOver](CLI::App& command) -> CliRun {
                command.prefix_command();
                command.set_help_flag();
                // A positional catch-all keeps "--" and what follows with the
                // command instead of handing them back to mavelo-cli's own options.
                auto ignored = std::make_shared<std::vector<std::string>>();
                command.add_option("ARGS", *ignored);
                return [handOver, ignored] { return handOver(); };
            }};
}

std::vector<std::string>& CliArguments() {
    static std::vector<std::string> arguments;
    return arguments;
}
