#pragma once
// Small builders for album lists in the views tests.
#include <memory>
#include <string>
#include <vector>

#include "collection/Udir_obj.h"

struct AlbumSpec {
    std::string artist = {};
    std::string album = {};
    std::string genre = {};
    int year = 0;
    std::vector<std::string> tracks = {};  // titles; paths are made up
    int playCount = 0;
    std::string lastPlayed = {};
};

// Appends an album with playlist "/music/<n>/list.m3u" and returns it.
inline Tm3u& AddAlbum(Tm3uList& list, const AlbumSpec& spec) {
    const std::string folder = "/music/" + std::to_string(list.Count()) + "/";
    auto album = std::make_unique<Tm3u>(folder + "list.m3u");
    album->Artist = spec.artist;
    album->Album = spec.album;
    album->Genre = spec.genre;
    album->Year = spec.year;
    album->PlayCount = spec.playCount;
    album->LastPlayed = spec.lastPlayed;
    for (size_t i = 0; i < spec.tracks.size(); ++i) {
        const std::string path = folder + std::to_string(i + 1) + ".mp3";
        auto track = std::make_unique<Tmp3>(path);
        track->Title = spec.tracks[i];
        album->Tracks.Add(path, std::move(track));
    }
    const std::string key = album->PlaylistPath;
    return list[list.Add(key, std::move(album))];
}

inline void AddAlbums(Tm3uList& list, const std::vector<AlbumSpec>& specs) {
    for (const auto& spec : specs) AddAlbum(list, spec);
}
