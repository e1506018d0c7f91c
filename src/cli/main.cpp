// mavelo-cli: the catalogue model without windows, for scripts and benchmarks.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/SoundCommands.h"
#include "core/ProgramFolder.h"

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

namespace {
void PrintHelp(std::ostream& out) {
    auto commands = CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    out << "Usage: mavelo-cli [--home DIR] COMMAND [ARGS...]\n"
           "       mavelo-cli --version | --help\n\n"
           "Options:\n"
           "  --home DIR   use DIR as the program folder (settings and own files)\n"
           "  --version    print the version and exit\n"
           "  --help       print this help and exit\n\n"
           "Commands:\n";
    for (const auto& c : commands) out << "  " << c.usage << "\n      " << c.summary << "\n";
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CliArguments() = args;
    std::string home;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--version") {
            std::cout << "mavelo-cli " << MAVELO_VERSION << "\n";
            return 0;
        }
        if (a == "--help" || a == "-h") {
            PrintHelp(std::cout);
            return 0;
        }
        if (a == "--home") {
            if (i + 1 >= args.size()) {
                std::cerr << "mavelo-cli: --home needs a folder\n";
                return 2;
            }
            home = args[++i];
            continue;
        }
        if (a.starts_with("-")) {
            std::cerr << "mavelo-cli: unknown option '" << a << "' (see --help)\n";
            return 2;
        }
        break;
    }
    InitProgramFolder(argc > 0 ? argv[0] : "", home);
    if (i >= args.size()) {
        std::cerr << "mavelo-cli: no command given\n";
        PrintHelp(std::cerr);
        return 2;
    }
    const std::string name = args[i];
    for (const auto& c : CliCommands()) {
        if (c.name == name) {
            try {
                return c.run(
                    std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()));
            } catch (const std::exception& e) {
                std::cerr << "mavelo-cli " << name << ": " << e.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "mavelo-cli: unknown command '" << name << "' (see --help)\n";
    return 2;
}
