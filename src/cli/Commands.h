#pragma once
// The subcommands of mavelo-cli.  Each subsystem adds its own in a file of
// this folder with a static CliCommandRegistration, so the tool grows without
// a central table.  The tool's one argument parser (CLI11) gives every
// command its --help, its handling of "--" and its messages for bad options.
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// Runs the command once its options are parsed; returns the exit code.
using CliRun = std::function<int()>;

struct CliCommand {
    std::string name;
    std::string summary;  // one line of what it does
    // Adds the command's options and arguments to its subcommand and returns
    // what runs it; the values it parses land in variables the run shares.
    std::function<CliRun(CLI::App& command)> define;
};

std::vector<CliCommand>& CliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command) {
        CliCommands().push_back(std::move(command));
    }
};
