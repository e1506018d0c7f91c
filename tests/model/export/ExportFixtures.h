#pragma once
// Albums for the export tests.
#include <memory>
#include <string>
#include <vector>

#include "collection/Um3u_obj.h"

struct ExportAlbumSpec {
    std::string playlist;
    std::string artist = {};
    std::string album = {};
    std::string genre = {};
    int year = 0;
    bool picture = false;
    std::vector<std::string> titles = {};  // tracks "<folder>/NN.mp3"
};

inline std::unique_ptr<Tm3u> MakeAlbum(const ExportAlbumSpec& spec) {
    auto album = std::make_unique<Tm3u>(spec.playlist);
    album->Artist = spec.artist;
    album->Album = spec.album;
    album->Genre = spec.genre;
    album->Year = spec.year;
    album->PictureState = spec.picture ? TPictureState::Present : TPictureState::Missing;
    const std::string folder = spec.playlist.substr(0, spec.playlist.rfind('/') + 1);
    for (size_t i = 0; i < spec.titles.size(); ++i) {
        const std::string path = folder + (i < 9 ? "0" : "") + std::to_string(i + 1) + ".mp3";
        auto track = std::make_unique<Tmp3>(path);
        track->Title = spec.titles[i];
        album->Tracks.Add(path, std::move(track));
    }
    return album;
}

// A UTF-8 album with a picture and an untitled track, and an album with only
// a title and no tracks.
inline std::vector<std::unique_ptr<Tm3u>> SampleAlbums() {
    std::vector<std::unique_ptr<Tm3u>> albums;
    albums.push_back(MakeAlbum(
        {"/music/a/Ça va.m3u", "Ünïcödé Band", "Çà va", "Chanson", 1999, true, {"Première", ""}}));
    albums.push_back(MakeAlbum({.playlist = "/music/b/list.pls", .album = "Lonely"}));
    return albums;
}

inline std::vector<Tm3u*> Pointers(const std::vector<std::unique_ptr<Tm3u>>& albums) {
    std::vector<Tm3u*> view;
    for (const auto& a : albums) view.push_back(a.get());
    return view;
}
