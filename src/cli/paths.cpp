// mavelo-cli paths: where the program keeps its files and where it finds the
// shipped ones (language files, help pages, export templates, pictures), as
// "key: value" lines, so that an installation can be checked from a shell.
#include <CLI/App.hpp>
#include <iostream>

#include "cli/Commands.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"

namespace {
int ShowPaths() {
    std::cout << "program folder: " << ProgramFolder() << "\n";
    for (const auto& folder : ResourceFolders()) std::cout << "resource folder: " << folder << "\n";
    ListLanguageFiles();
    for (const auto& language : LangList()) std::cout << "language: " << language << "\n";
    for (const char* shipped : {"help/list.htm", "templates/export_html.tpt", "icons/mavelo.svg"})
        std::cout << "shipped " << shipped << ": " << FindResource(shipped) << "\n";
    return 0;
}

CliCommandRegistration registration{
    {"paths", "print the program folder and where the shipped files are found",
     [](CLI::App&) -> CliRun { return ShowPaths; }}};
}  // namespace
