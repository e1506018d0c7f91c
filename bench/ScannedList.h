#pragma once
// The lists `mavelo-cli scan` gives the collections of bench/make_collection.py
// (the same folders, file names, titles and album values, 8 to 14 tracks an
// album, no cached covers), built in memory and saved once into /tmp, so no
// collection of a million files is needed.  The catalogue and window
// benchmarks load the same files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace scanned_list {
const char* const kGenres[] = {"Rock",      "Jazz", "Pop",   "Blues",
                               "Classical", "Folk", "Metal", "Soul"};

// A small generator with the same result on every machine.
struct Random {
    uint64_t state;
    int Between(int low, int high) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return low + int((state >> 33) % uint64_t(high - low + 1));
    }
};

inline void AddScannedAlbum(TCatalogue& catalogue, Random& random, const std::string& folder,
                            int number, const std::string& artist) {
    char name[32];
    std::snprintf(name, sizeof name, "Album %04d", number);
    const std::string album = name;
    const int year = 1960 + number % 60;
    const std::string genre = kGenres[number % 8];
    const char* const kinds[] = {"m3u", "m3u", "m3u", "pls", "pls", "b4s"};
    const std::string playlist =
        folder + artist + " - " + album + " (" + std::to_string(year) + ")." + kinds[number % 6];
    auto made = std::make_unique<Tm3u>(playlist);
    // Every track with its own copies, as a scan of the files leaves them.
    for (int t = 1, count = random.Between(8, 14); t <= count; ++t) {
        const std::string title = "Song " + std::to_string(t) + " of " + album;
        char file[64];
        std::snprintf(file, sizeof file, "%02d - ", t);
        Tmp3& track = made->Tracks[made->AddTrack(folder + file + title + ".mp3", false)];
        track.Title = title;
        track.Artist = std::string(artist);
        track.Album = std::string(album);
        track.Genre = std::string(genre);
        track.Year = year;
        track.TagKind = TTagKind::ID3v2;
        track.Duration = random.Between(90, 400) * 1000;
    }
    made->Artist = std::string(artist);
    made->Album = std::string(album);
    made->Genre = std::string(genre);
    made->Year = year;
    made->PictureState = number % 2 == 0 ? TPictureState::Present : TPictureState::Missing;
    const TSharedText key = made->PlaylistPath;
    catalogue.Directory.List.Add(key, std::move(made));
}

// The albums and folders of make_collection.py for that many albums.
inline void FillScannedCatalogue(TCatalogue& catalogue, int albums, const std::string& root) {
    Random random{1};
    catalogue.Roots.Add(root);
    int number = 0;
    for (int artistNumber = 1; number < albums; ++artistNumber) {
        char artist[32], group[8];
        std::snprintf(artist, sizeof artist, "Artist %03d", artistNumber);
        std::snprintf(group, sizeof group, "%02d", artistNumber % 20);
        const std::string artistFolder = root + "/" + group + "/" + artist + "/";
        for (int n = random.Between(1, 6); n > 0 && number < albums; --n) {
            ++number;
            char albumFolder[32];
            std::snprintf(albumFolder, sizeof albumFolder, "Album %04d/", number);
            const std::string folder = artistFolder + albumFolder;
            if (number % 9 == 0 && number < albums) {
                AddScannedAlbum(catalogue, random, folder + "CD1/", number, artist);
                ++number;
                AddScannedAlbum(catalogue, random, folder + "CD2/", number, artist);
            } else {
                AddScannedAlbum(catalogue, random, folder, number, artist);
            }
        }
    }
}

inline std::string ListFileFor(int albums) {
    const std::string path = "/tmp/mavelo-bench-list-" + std::to_string(albums) + ".mvo";
    if (!std::filesystem::exists(path)) {
        TCatalogue catalogue;
        FillScannedCatalogue(catalogue, albums,
                             "/tmp/mavelo-bench-collection-" + std::to_string(albums));
        std::vector<std::string> recent;
        if (!SaveList(path, catalogue, 0, recent).saved) std::abort();
    }
    return path;
}
}  // namespace scanned_list

using scanned_list::ListFileFor;
