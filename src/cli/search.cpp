// mavelo-cli search: walks the view list of a list file as "search next"
// does and prints every hit in order: matching albums, then their matching
// tracks.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "views/Usearch_obj.h"

namespace {

constexpr const char* kUsage =
    "usage: mavelo-cli search LIST.mvo TEXT [--full] [--fields artist,album,track,files]";

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
    bool textGiven = false;
};

bool ParseOptions(const std::vector<std::string>& args, TSearchOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--full") {
            options.search.Mode = 1;
        } else if (a == "--fields" && i + 1 < args.size()) {
            options.search.Fields = ParseFields(args[++i]);
            if (options.search.Fields < 0) return false;
        } else if (options.list.empty() && !a.empty() && a.front() != '-') {
            options.list = a;
        } else if (!options.textGiven && !options.list.empty()) {
            options.search.Text = a;
            options.textGiven = true;
        } else {
            return false;
        }
    }
    return options.textGiven;
}

void PrintHit(const TSearchResult& hit, const TViewList& view) {
    const Tm3u& album = view[size_t(hit.row)];
    if (hit.step == TSearchStep::AlbumHit) {
        std::cout << "album\t" << hit.row + 1 << '\t' << album.Artist << '\t' << album.Album << '\t'
                  << album.PlaylistPath << '\n';
        return;
    }
    const Tmp3& track = album.Tracks[size_t(hit.track)];
    std::cout << "track\t" << hit.row + 1 << '\t' << hit.track + 1 << '\t' << track.Title << '\t'
              << track.Path << '\n';
}

int RunSearch(const std::vector<std::string>& args) {
    TSearchOptions options;
    if (!ParseOptions(args, options)) {
        std::cerr << kUsage << "\n";
        return 2;
    }
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

CliCommandRegistration registration{PassThroughCommand(
    "search", "search LIST.mvo TEXT [--full] [--fields artist,album,track,files]",
    "print the albums and tracks that match the text, in search order (words only unless "
    "--full)",
    RunSearch)};

}  // namespace
