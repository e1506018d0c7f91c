// mavelo-cli search: walks the view list of a list file as "search next"
// does and prints every hit in order: matching albums, then their matching
// tracks.
#include <CLI/App.hpp>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "views/Usearch_obj.h"

namespace {

// "artist,album,track,files" as search field bits; -1 for an unknown name.
int32_t ParseFields(const std::string& names) {
    int32_t fields = 0;
    std::istringstream list(names);
    for (std::string name; std::getline(list, name, ',');) {
        if (name == "artist")
            fields |= SearchArtist;
        else if (name == "album")
            fields |= SearchAlbum;
        else if (name == "track")
            fields |= SearchTrack;
        else if (name == "files")
            fields |= SearchFiles;
        else
            return -1;
    }
    return fields;
}

struct TSearchOptions {
    std::string list;
    TSearchSettings search{{}, 0, SearchArtist | SearchAlbum | SearchTrack | SearchFiles};
};

void PrintHit(const TSearchResult& hit, const TViewList& view) {
    const Tm3u& album = view[hit.row];
    if (hit.step == TSearchStep::AlbumHit) {
        std::cout << "album\t" << hit.row + 1 << '\t' << album.Artist << '\t' << album.Album << '\t'
                  << album.PlaylistPath << '\n';
        return;
    }
    const Tmp3& track = album.Tracks[hit.track];
    std::cout << "track\t" << hit.row + 1 << '\t' << hit.track + 1 << '\t' << track.Title << '\t'
              << track.Path << '\n';
}

int RunSearch(const TSearchOptions& options) {
    TCatalogue catalogue;
    TListLoadResult load;
    if (!LoadListToRead("search", options.list, catalogue, load)) return 1;

    catalogue.RebuildView(nullptr, false, SortSettingsOf(ReadProgramSettings()));
    TSearch search;
    search.Start(options.search);
    for (;;) {
        const TSearchResult hit = search.Next(catalogue.View.Albums());
        if (hit.step != TSearchStep::AlbumHit && hit.step != TSearchStep::TrackHit) break;
        PrintHit(hit, catalogue.View);
    }
    return load.Complete() ? 0 : 1;
}

CliRun DefineSearch(CLI::App& command) {
    auto options = std::make_shared<TSearchOptions>();
    command.add_option("LIST", options->list, "the list file (.mvo)")->required();
    command.add_option("TEXT", options->search.Text, "the text to find")->required();
    command.add_flag_callback(
        "--full", [options] { options->search.Mode = 1; }, "match the whole text, not words");
    const CLI::Validator fieldNames(
        [](std::string& names) {
            return ParseFields(names) < 0 ? "unknown field in " + names : std::string();
        },
        "artist,album,track,files");
    command
        .add_option_function<std::string>(
            "--fields",
            [options](const std::string& names) { options->search.Fields = ParseFields(names); },
            "the fields to search")
        ->type_name("LIST")
        ->check(fieldNames);
    return [options] { return RunSearch(*options); };
}

CliCommandRegistration registration{
    {"search",
     "print the albums and tracks that match the text, in search order (words only unless "
     "--full)",
     DefineSearch}};

}  // namespace
