#pragma once
// What the commands that read a list file share: the program's settings, the
// list loaded with its problems told on stderr, and the view options that
// choose and order the albums.
#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
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

// Adds the view options to a command that reads a list.
inline void AddViewOptions(CLI::App& command, TViewOptions& options) {
    auto criterion = [&options](std::string TFilter::*field) {
        return [&options, field](const std::string& value) {
            if (!options.filter) options.filter = TFilter();
            (*options.filter).*field = value;
        };
    };
    const CLI::Validator sortOrder(
        [](std::string& value) {
            return IsSortCommandString(value) ? std::string() : "unknown sort order " + value;
        },
        "AYG|AGY|YAG|YGA|GAY|GYA|MostPlayed|LastPlayed");
    command
        .add_option_function<std::string>(
            "--sort", [&options](const std::string& value) { options.sort = value; },
            "the sort order instead of the settings' one")
        ->type_name("ORDER")
        ->check(sortOrder);
    command.add_flag("--year-asc", options.yearAsc, "years in ascending order");
    command
        .add_option_function<std::string>("--artist", criterion(&TFilter::Artist),
                                          "only the albums whose artist matches")
        ->type_name("CRIT");
    command
        .add_option_function<std::string>("--genre", criterion(&TFilter::Genre),
                                          "only the albums whose genre matches")
        ->type_name("CRIT");
    command
        .add_option_function<std::string>("--year", criterion(&TFilter::Year),
                                          "only the albums whose year matches")
        ->type_name("CRIT");
    command
        .add_option_function<std::string>(
            "--selection", [&options](const std::string& value) { options.selection = value; },
            "only the albums of the named selection")
        ->type_name("NAME");
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
