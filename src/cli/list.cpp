// mavelo-cli list: prints the view list of a list file in its order, one
// album a line (tab-separated) or as JSON with the tracks.
#include <CLI/App.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"

namespace {

struct TListOptions {
    std::string list;
    TViewOptions view;
    bool json = false;
};

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
    json.Add("status", int64_t{static_cast<int32_t>(album.Status)});
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

int RunList(const TListOptions& options) {
    const TSettings settings = ReadProgramSettings();
    TCatalogue catalogue;
    TListLoadResult load;
    if (!LoadListToRead("list", options.list, catalogue, load)) return 1;

    if (!BuildView("list", catalogue, options.view, settings)) return 1;
    PrintView(catalogue.View, options.json);
    return load.Complete() ? 0 : 1;
}

CliRun DefineList(CLI::App& command) {
    auto options = std::make_shared<TListOptions>();
    command.add_option("LIST", options->list, "the list file (.mvo)")->required();
    AddViewOptions(command, options->view);
    command.add_flag("--json", options->json, "print JSON with the tracks");
    return [options] { return RunList(*options); };
}

CliCommandRegistration registration{
    {"list",
     "print the albums of a list file in view order (the list's own filter unless a criterion "
     "is given)",
     DefineList}};

}  // namespace
