#pragma once
// The program folder: where mavelo.ini, mavelo.els, mavelo.cdb, mavelo.log and
// the language files live.  It is the executable's folder (portable mode)
// unless --home or MAVELO_HOME names another; when that folder cannot be
// written, $XDG_DATA_HOME/mavelo.  Shipped read-only files (language files,
// help pages, templates) are also looked up in the installed share folder.
#include <string>
#include <vector>

// Decides the program folder once at start.  `argv0` is the program's own
// path; `homeOption` the --home value ("" when not given).
void InitProgramFolder(const std::string& argv0, const std::string& homeOption);
// The folder used when neither --home nor MAVELO_HOME names one, for an
// executable in `executableFolder`.
std::string DefaultProgramFolder(const std::string& executableFolder);
// <prefix>/share/mavelo/ for an executable in <prefix>/bin.
std::string InstalledDataFolder(const std::string& executableFolder);
// The executable sits in <prefix>/bin and <prefix>/share/mavelo exists.
bool IsInstalledProgram(const std::string& executableFolder);
// The program folder with a trailing "/".
const std::string& ProgramFolder();
// Folders searched for shipped files, program folder first.
std::vector<std::string> ResourceFolders();
// The first existing file of that name among ResourceFolders(), "" when none.
std::string FindResource(const std::string& name);
