#pragma once
// What the commands that read a list file share: the program's settings and
// the list loaded with its problems told on stderr.
#include <iostream>
#include <string>
#include <vector>

#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "core/Settings.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

// The settings of the program folder's mavelo.ini (defaults where missing).
inline TSettings ReadProgramSettings() {
    TIniFile file;
    file.Load(ProgramFolder() + "mavelo.ini");
    TSettings settings;
    settings.Read(file);
    return settings;
}

// Loads the list for reading only; a damaged list is read as far as it
// goes.  False when nothing could be read at all.
inline bool LoadListToRead(const std::string& command, const std::string& path,
                           TCatalogue& catalogue, TListLoadResult& result) {
    int32_t coverQuality = 0;
    std::vector<std::string> recent;
    result = LoadList(path, catalogue, coverQuality, recent);
    if (!result.Complete())
        std::cerr << "mavelo-cli " << command << ": " << path << ": " << DescribeLoadResult(result)
                  << "\n";
    return result.status == TListLoadStatus::Loaded || result.status == TListLoadStatus::Damaged;
}
