// mavelo-cli play / measure / discid / freedb: the same command line runs in mavelo-cli-sound,
// which replaces this process, so exit codes, output and signals are its own.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli/SoundCommands.h"

namespace {

std::string SoundProgramPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(kSoundProgramName) : (self.parent_path() / kSoundProgramName).string();
}

int HandOver(const std::string& name) {
    const std::string program = SoundProgramPath();
    std::vector<std::string> arguments{program};
    arguments.insert(arguments.end(), CliArguments().begin(), CliArguments().end());
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    std::cerr << "mavelo-cli " << name << ": cannot start " << program << ": "
              << std::strerror(errno) << "\n";
    return 1;
}

// Registers a hand-over for every sound command.
const bool registered = [] {
    for (const auto& name : SoundCommandNames())
        CliCommands().push_back(SoundHandOverCommand(name, [name] { return HandOver(name); }));
    return true;
}();
}  // namespace
