// mavelo-cli list: prints the view list of a list file in its order, one
// album a line (tab-separated) or as JSON with the tracks.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"

namespace {

constexpr const char* kUsage =
    "usage: mavelo-cli list LIST.mvo [--sort AYG|AGY|YAG|YGA|GAY|GYA|MostPlayed|LastPlayed]\n"
    "       [--year-asc] [--artist CRIT] [--genre CRIT] [--year CRIT] [--selection NAME] [--json]";

struct TListOptions {
    std::string list;
    std::optional<std::string> sort;
    bool yearAsc = false;
    std::optional<TFilter> filter;  // replaces the list's applied filter
    std::optional<std::string> selection;
    bool json = false;
};

bool ParseOptions(const std::vector<std::string>& args, TListOptions& options) {
    auto criterion = [&](std::string TFilter::*field, const std::string& value) {
        if (!options.filter) options.filter = TFilter();
        (*options.filter).*field = value;
    };
    for (size_t i = 0; i < args.size(); ++i) {
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
        else if (a == "--json")
            options.json = true;
        else if (options.list.empty() && !a.empty() && a.front() != '-')
            options.list = a;
        else
            return false;
    }
    return !options.list.empty();
}

std::string TrackJson(const Tmp3& track) {
    TJsonObject json;
    AddTagValues(json, track);
    json.Add("durationMs", int64_t{track.Duration});
    json.Add("bitrate", int64_t{track.Bitrate});
    json.Add("path", track.Path);
    return json.Text();
}

std::string AlbumJson(const Tm3u& album) {
    TJsonObject json;
    json.Add("artist", album.Artist);
    json.Add("album", album.Album);
    json.Add("year", int64_t{album.Year});
    json.Add("genre", album.Genre);
    json.Add("playlist", album.PlaylistPath);
    json.Add("status", int64_t{album.Status});
    json.Add("playCount", int64_t{album.PlayCount});
    json.Add("lastPlayed", album.LastPlayed);
    std::string tracks = "[";
    for (size_t i = 0; i < album.Tracks.Count(); ++i) {
        if (i > 0) tracks += ',';
        tracks += TrackJson(album.Tracks[i]);
    }
    json.Raw("tracks", tracks + "]");
    return json.Text();
}

void PrintView(const TViewList& view, bool asJson) {
    if (!asJson) {
        for (const Tm3u* album : view.Albums())
            std::cout << album->Artist << '\t' << album->Album << '\t' << album->Year << '\t'
                      << album->Genre << '\t' << album->PlaylistPath << '\n';
        return;
    }
    std::cout << '[';
    for (size_t row = 0; row < view.Count(); ++row) {
        std::cout << (row > 0 ? ",\n" : "\n");
        std::cout << AlbumJson(view[row]);
    }
    std::cout << "\n]\n";
}

int RunList(const std::vector<std::string>& args) {
    TListOptions options;
    if (!ParseOptions(args, options)) {
        std::cerr << kUsage << "\n";
        return 2;
    }
    const TSettings settings = ReadProgramSettings();
    TCatalogue catalogue;
    TListLoadResult load;
    if (!LoadListToRead("list", options.list, catalogue, load)) return 1;

    const TSelection* selection = nullptr;
    if (options.selection) {
        selection = catalogue.Selections.Find(*options.selection);
        if (!selection) {
            std::cerr << "mavelo-cli list: no selection named " << *options.selection << "\n";
            return 1;
        }
    }
    if (options.filter) catalogue.Filters.Applied = *options.filter;
    TSortSettings sort = SortSettingsOf(settings);
    if (options.sort) sort.SortString = *options.sort;
    if (options.yearAsc) sort.YearAsc = true;
    catalogue.RebuildView(selection, false, sort);
    PrintView(catalogue.View, options.json);
    return load.Complete() ? 0 : 1;
}

CliCommandRegistration registration{
    {"list",
     "list LIST.mvo [--sort ORDER] [--year-asc] [--artist|--genre|--year CRIT] "
     "[--selection NAME] [--json]",
     "print the albums of a list file in view order (the list's own filter unless a criterion "
     "is given)",
     RunList}};

}  // namespace
