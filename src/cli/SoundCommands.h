#pragma once
// The commands that play or measure sound live in a second program,
// mavelo-cli-sound, next to mavelo-cli: only it links the sound libraries
// (FFmpeg, SDL, libopenmpt), so the catalogue commands and --version start
// without loading them.  mavelo-cli hands these commands over to it.
#include <string>

#include "cli/Commands.h"

// The program beside mavelo-cli that runs the commands that measure or play
// sound: play, measure, and the FreeDB commands (they measure the tracks).
constexpr const char* kSoundProgramName = "mavelo-cli-sound";

// The commands mavelo-cli-sound runs.
std::vector<std::string> SoundCommandNames();

// The command's name and summary, the same in both programs, with `define`:
// the real command in mavelo-cli-sound.
CliCommand SoundCommand(const std::string& name, std::function<CliRun(CLI::App&)> define);

// The command in mavelo-cli: every argument, --help among them, goes to
// mavelo-cli-sound, which parses them and writes the command's help.
CliCommand SoundHandOverCommand(const std::string& name, std::function<int()> handOver);

// The arguments mavelo-cli was started with (after the program's name).
std::vector<std::string>& CliArguments();
