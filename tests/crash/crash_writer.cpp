// The writers of the settings file and of playlists, for the crash-safety
// test: "write" replaces the file with version TAG, "check" prints the tag of
// the version the file holds, or "torn" when it is not one whole version.
//   crash_writer settings|playlist write FILE TAG
//   crash_writer settings|playlist check FILE
#include <iostream>
#include <string>

#include "collection/Playlist.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/IniFile.h"

namespace {
constexpr int kEntries = 400;  // enough for the file to take several writes

std::string Numbered(const std::string& tag, int i) {
    return tag + "-" + std::to_string(i);
}

void WriteSettings(const std::string& path, const std::string& tag) {
    std::string text = "[Check]\nEntries=" + std::to_string(kEntries) + "\n";
    for (int i = 0; i < kEntries; ++i)
        text += "Key" + std::to_string(i) + "=" + Numbered(tag, i) + "\n";
    TIniFile file;
    file.LoadFromText(text);
    file.Save(path);
}

std::string CheckSettings(const std::string& path) {
    TIniFile file;
    if (!file.Load(path) || file.ReadInteger("Check", "Entries", -1) != kEntries) return "torn";
    const std::string first = file.ReadString("Check", "Key0", "");
    const std::string tag = first.substr(0, first.rfind('-'));
    for (int i = 0; i < kEntries; ++i)
        if (file.ReadString("Check", "Key" + std::to_string(i), "") != Numbered(tag, i))
            return "torn";
    return tag;
}

void WritePlaylist(const std::string& path, const std::string& tag) {
    Tm3u album(path);
    for (int i = 0; i < kEntries; ++i)
        album.AddTrack(JoinPath(ExtractFilePath(path), Numbered(tag, i) + ".mp3"), false);
    if (!album.WritePlaylist(TPlaylistType::M3U)) throw std::runtime_error("playlist not written");
}

std::string CheckPlaylist(const std::string& path) {
    const TPlaylistContents contents = TM3uPlaylist::Read(ReadWholeFile(path));
    if (contents.entries.size() != kEntries) return "torn";
    const std::string& first = contents.entries[0].path;
    const std::string tag = first.substr(0, first.rfind('-'));
    for (int i = 0; i < kEntries; ++i)
        if (contents.entries[i].path != Numbered(tag, i) + ".mp3") return "torn";
    return tag;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: crash_writer settings|playlist write FILE TAG | check FILE\n";
        return 2;
    }
    const std::string kind = argv[1], action = argv[2], path = argv[3];
    try {
        if (action == "write" && argc == 5) {
            kind == "settings" ? WriteSettings(path, argv[4]) : WritePlaylist(path, argv[4]);
            return 0;
        }
        if (action == "check") {
            std::cout << (kind == "settings" ? CheckSettings(path) : CheckPlaylist(path)) << "\n";
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "crash_writer: " << e.what() << "\n";
        return 1;
    }
    return 2;
}
