// mavelo-cli list: prints the view list of a list file in its order, one
// album a line (tab-separated) or as JSON with the tracks.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"

namespace {

const std::string kUsage =
    std::string("usage: mavelo-cli list LIST.mvo ") + kViewOptionsUsage + " [--json]";

struct TListOptions {
    std::string list;
    TViewOptions view;
    bool json = false;
};

bool ParseOptions(const std::vector<std::string>& args, TListOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (ReadViewOption(args, i, options.view)) continue;
        if (a == "--json")
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

    if (!BuildView("list", catalogue, options.view, settings)) return 1;
    PrintView(catalogue.View, options.json);
    return load.Complete() ? 0 : 1;
}

CliCommandRegistration registration{PassThroughCommand(
    "list",
    "list LIST.mvo [--sort ORDER] [--year-asc] [--artist|--genre|--year CRIT] "
    "[--selection NAME] [--json]",
    "print the albums of a list file in view order (the list's own filter unless a criterion "
    "is given)",
    RunList)};

}  // namespace
