// mavelo-cli settings: the settings as the program reads them from the
// program folder's mavelo.ini, every key with its value or default.
#include <CLI/App.hpp>
#include <iostream>

#include "cli/Commands.h"
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "core/Settings.h"

namespace {
int ShowSettings() {
    TIniFile file;
    file.Load(ProgramFolder() + "mavelo.ini");
    TSettings settings;
    settings.Read(file);
    TIniFile effective;
    settings.Write(effective);
    std::cout << effective.ToText();
    return 0;
}

CliCommandRegistration registration{
    {"settings", "print every setting as read from mavelo.ini (defaults filled in)",
     [](CLI::App&) -> CliRun { return ShowSettings; }}};
}  // namespace
