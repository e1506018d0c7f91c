#pragma once
// The subcommands of mavelo-cli.  Each subsystem adds its own in a file of
// this folder with a static CliCommandRegistration, so the tool grows without
// a central table.
#include <functional>
#include <string>
#include <vector>

struct CliCommand {
    std::string name;
    std::string usage;    // one line: "tags FILE..."
    std::string summary;  // one line of what it does
    // Arguments after the subcommand's name; returns the exit code.
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<CliCommand>& CliCommands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(CliCommand command) {
        CliCommands().push_back(std::move(command));
    }
};
