#pragma once
// Small builders for album and scan tests: playlists with their (empty)
// audio files inside a TempDir, and a tag reader that counts file opens.
#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"

// Writes the playlist `name` (format by its extension) naming `tracks`
// (file names in the playlist's folder), creates empty audio files for them,
// and returns the playlist's full path.
inline std::string MakeAlbum(const TempDir& dir, const std::string& name,
                             const std::vector<std::string>& tracks) {
    const std::string ext = LowerAscii(ExtractFileExt(name));
    std::string text;
    if (ext == ".pls") {
        text = "[playlist]\r\n";
        for (size_t i = 0; i < tracks.size(); ++i)
            text += "File" + std::to_string(i + 1) + "=" + tracks[i] + "\r\n";
    } else if (ext == ".b4s") {
        text = "<?xml version=\"1.0\"?><WinAmpXML><playlist>";
        for (const auto& t : tracks) text += "<entry Playstring=\"file:" + t + "\"/>";
        text += "</playlist></WinAmpXML>";
    } else {
        text = "#EXTM3U\r\n";
        for (const auto& t : tracks) text += t + "\r\n";
    }
    const std::string path = dir.File(name, text);
    for (const auto& t : tracks) dir.File(ExtractFilePath(name) + t, "");
    return path;
}

// File names of an album's tracks, in order.
inline std::vector<std::string> TrackNames(const Tm3u& album) {
    std::vector<std::string> names;
    for (const auto& entry : album.Tracks) names.push_back(ExtractFileName(entry.key));
    return names;
}

// Tag values by audio file name, read through a counting reader in place of
// the real tag code.  Files without values read as untagged.
struct TFakeTags {
    struct Values {
        std::string artist, album, genre;
        int32_t year = 0;
        std::string title;
    };
    std::map<std::string, Values> byFile;
    int opens = 0;

    TTagReader Reader() {
        return [this](Tmp3& track) {
            ++opens;
            track.Artist.clear();
            track.Album.clear();
            track.Genre.clear();
            track.Year = 0;
            track.TagKind = TTagKind::None;
            auto it = byFile.find(ExtractFileName(track.Path));
            if (it == byFile.end()) return false;
            const Values& v = it->second;
            track.Artist = v.artist;
            track.Album = v.album;
            track.Genre = v.genre;
            track.Year = v.year;
            if (!v.title.empty()) track.Title = v.title;
            track.TagKind = TTagKind::ID3v2;
            return true;
        };
    }
};
