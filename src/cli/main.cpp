// mavelo-cli: the catalogue model without windows, for scripts and benchmarks.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/SoundCommands.h"
#include "collection/AlbumRenames.h"
#include "core/ProgramFolder.h"

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

namespace {

// The phrase for an option's missing value, from the name its help shows.
std::string ValueWord(const std::string& typeName) {
    if (typeName == "DIR") return "a folder";
    if (typeName == "FILE") return "a file";
    return "a value";
}

// The innermost command the parser got to: null when none was named.
const CLI::App* ParsedCommand(const CLI::App& app) {
    const CLI::App* command = nullptr;
    for (auto commands = app.get_subcommands(); !commands.empty();
         commands = command->get_subcommands())
        command = commands.front();
    return command;
}

// A parse error as one line that names the bad option or value.
std::string ErrorText(const CLI::App& app, const CLI::ParseError& error) {
    const CLI::App* command = ParsedCommand(app);
    std::string path;
    for (const CLI::App* c = command; c && c != &app; c = c->get_parent())
        path = " " + c->get_name() + path;
    const std::string who = "mavelo-cli" + path;
    const std::string help = command ? who + " --help" : "--help";
    const auto extras = app.remaining(true);
    if (dynamic_cast<const CLI::ExtrasError*>(&error) && !extras.empty()) {
        const std::string& first = extras.front();
        if (!first.empty() && first.front() == '-')
            return who + ": unknown option '" + first + "' (see " + help + ")";
        if (!command) return who + ": unknown command '" + first + "' (see --help)";
        const bool takesArguments =
            !command
                 ->get_options([](const CLI::Option* option) { return option->get_positional(); })
                 .empty();
        if (!takesArguments && command->get_subcommands({}).empty())
            return who + ": takes no arguments (got '" + first + "')";
        return who + ": unexpected argument '" + first + "' (see " + help + ")";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) && command && !extras.empty() &&
        !command->get_subcommands({}).empty())
        return who + ": unknown command '" + extras.front() + "' (see " + help + ")";
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        // "NAME: 1 required TYPE missing" for an option given without its value
        const std::string text = error.what();
        const auto colon = text.find(": ");
        const auto required = text.find(" required ");
        const auto missing = text.rfind(" missing");
        if (colon != std::string::npos && required != std::string::npos &&
            missing != std::string::npos && required < missing)
            return who + ": " + text.substr(0, colon) + " needs " +
                   ValueWord(text.substr(required + 10, missing - required - 10));
    }
    return who + ": " + error.what() + " (see " + help + ")";
}

struct TDefinedCommand {
    CLI::App* app;
    CliRun run;
};

constexpr const char* kVersionText = "mavelo-cli " MAVELO_VERSION;

}  // namespace

int main(int argc, char** argv) {
    // The version alone needs none of the commands defined first, nor the
    // exception the parser answers it with: scripts ask for it often.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts(kVersionText);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    CliArguments() = std::vector<std::string>(argv + 1, argv + argc);
    CLI::App app("The catalogue model without windows, for scripts and benchmarks.", "mavelo-cli");
    app.set_version_flag("--version", kVersionText,
                         "print the version and exit");
    app.set_help_flag("-h,--help", "print this help and exit");
    std::string home;
    app.add_option("--home", home, "use DIR as the program folder (settings and own files)")
        ->type_name("DIR");
    app.require_subcommand(0, 1);

    auto commands = CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    std::vector<TDefinedCommand> defined;
    for (const auto& command : commands) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        sub->set_help_flag("-h,--help", "print this command's help and exit");
        defined.push_back({sub, command.define(*sub)});
    }
    app.footer("Each command's options: mavelo-cli COMMAND --help");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << ErrorText(app, e) << "\n";
        return 2;
    }

    InitProgramFolder(argc > 0 ? argv[0] : "", home);
    // Album renames that a kill stopped partway are finished or undone first.
    for (const auto& failure : CompleteAlbumRenames(ProgramFolder()))
        std::cerr << "mavelo-cli: " << failure.Text() << "\n";
    for (const auto& command : defined) {
        if (!command.app->parsed()) continue;
        try {
            return command.run();
        } catch (const std::exception& e) {
            std::cerr << "mavelo-cli " << command.app->get_name() << ": " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "mavelo-cli: no command given\n" << app.help();
    return 2;
}
