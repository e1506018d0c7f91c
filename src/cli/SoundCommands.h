#pragma once
// The commands that play or measure sound live in a second program,
// mavelo-cli-sound, next to mavelo-cli: only it links the sound libraries
// (FFmpeg, SDL, libopenmpt), so the catalogue commands and --version start
// without loading them.  mavelo-cli hands these commands over to it.
#include <string>

#include "cli/Commands.h"

// The program beside mavelo-cli that runs the sound commands.
constexpr const char* kSoundProgramName = "mavelo-cli-sound";

// The command's name, usage and summary, the same in both programs; `run`
// is the real command in mavelo-cli-sound and the hand-over in mavelo-cli.
CliCommand SoundCommand(const std::string& name,
                        std::function<int(const std::vector<std::string>&)> run);

// The arguments mavelo-cli was started with (after the program's name).
std::vector<std::string>& CliArguments();
