#pragma once
// What the commands that read a list file share: the program's settings, the
// list loaded with its problems told on stderr, and the view options that
// choose and order the albums.
#include <iostream>
#include <optional>
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

// The options that shape the view list, as the list command takes them.
struct TViewOptions {
    std::optional<std::string> sort;
    bool yearAsc = false;
    std::optional<TFilter> filter;  // replaces the list's applied filter
    std::optional<std::string> selection;
};

inline constexpr const char* kViewOptionsUsage =
    "[--sort AYG|AGY|YAG|YGA|GAY|GYA|MostPlayed|LastPlayed]\n"
    "       [--year-asc] [--artist CRIT] [--genre CRIT] [--year CRIT] [--selection NAME]";

// Reads the view option at args[i] with its value (i moves past it); false
// when args[i] is no view option.
inline bool ReadViewOption(const std::vector<std::string>& args, size_t& i, TViewOptions& options) {
    auto criterion = [&](std::string TFilter::*field, const std::string& value) {
        if (!options.filter) options.filter = TFilter();
        (*options.filter).*field = value;
    };
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--sort" && hasValue && IsSortCommandString(args[i + 1]))
        options.sort = args[++i];
    else if (a == "--year-asc")
        options.yearAsc = true;
    else if (a == "--artist" && hasValue)
        criterion(&TFilter::Artist, args[++i]);
    else if (a == "--genre" && hasValue)
        criterion(&TFilter::Genre, args[++i]);
    else if (a == "--year" && hasValue)
        criterion(&TFilter::Year, args[++i]);
    else if (a == "--selection" && hasValue)
        options.selection = args[++i];
    else
        return false;
    return true;
}

// Rebuilds the catalogue's view list with the options over the program's
// sort settings.  False (told on stderr) when the selection does not exist.
inline bool BuildView(const std::string& command, TCatalogue& catalogue,
                      const TViewOptions& options, const TSettings& settings) {
    const TSelection* selection = nullptr;
    if (options.selection) {
        selection = catalogue.Selections.Find(*options.selection);
        if (!selection) {
            std::cerr << "mavelo-cli " << command << ": no selection named " << *options.selection
                      << "\n";
            return false;
        }
    }
    if (options.filter) catalogue.Filters.Applied = *options.filter;
    TSortSettings sort = SortSettingsOf(settings);
    if (options.sort) sort.SortString = *options.sort;
    if (options.yearAsc) sort.YearAsc = true;
    catalogue.RebuildView(selection, false, sort);
    return true;
}
