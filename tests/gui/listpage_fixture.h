#pragma once
// Shared set-up of the list page tests: a temporary program folder, a small
// collection of tagged albums on disk, scripted answers to the list
// commands' questions, and the main window after its first activation.
#include <QApplication>
#include <QTest>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/app/Application.h"
#include "gui/list/ListWindows.h"
#include "gui/list/ScanCommands.h"
#include "gui/shell/Umain.h"
#include "scripted_prompts.h"
#include "tags/ID3v1.h"

struct TrackSpec {
    std::string file;
    std::string title;
};

struct AlbumOnDisk {
    std::string folder;  // below the root
    std::string playlist;
    std::string artist, album, genre;
    int year = 0;
    std::vector<TrackSpec> tracks;
};

// An MP3 file that holds nothing but an ID3v1 tag (an empty artist: no tag).
inline void WriteTaggedTrack(const TempDir& dir, const std::string& path, const AlbumOnDisk& album,
                             const std::string& title) {
    if (album.artist.empty()) {
        dir.File(path, std::string(256, '\0'));
        return;
    }
    TID3v1 tag;
    tag.SetTitle(title);
    tag.SetArtist(album.artist);
    tag.SetAlbum(album.album);
    tag.SetYear(std::to_string(album.year));
    tag.SetGenreIndex(GenreIndexOf(album.genre).value_or(255));
    dir.File(path, std::string(256, '\0') + tag.BuildBlock());
}

// Writes the albums' playlists and tracks under `root` (a folder of `dir`).
inline void WriteCollection(const TempDir& dir, const std::string& root,
                            const std::vector<AlbumOnDisk>& albums) {
    for (const auto& album : albums) {
        std::string playlist = "#EXTM3U\n";
        for (const auto& track : album.tracks) {
            playlist += track.file + "\n";
            WriteTaggedTrack(dir, root + "/" + album.folder + "/" + track.file, album, track.title);
        }
        dir.File(root + "/" + album.folder + "/" + album.playlist, playlist);
    }
}

// Six albums under one root.  In "Artist - Year - Genre" order (newest
// first): loose (no artist), ABBA Gold, Queen Live, Queen Studio, Abbey Road,
// Help!.  Queen's folder holds an album and a subfolder with another.
inline std::vector<AlbumOnDisk> SmallCollection() {
    return {
        {"Beatles/Abbey Road",
         "abbey.m3u",
         "The Beatles",
         "Abbey Road",
         "Rock",
         1969,
         {{"01.mp3", "Come Together"}, {"02.mp3", "Golden Slumbers"}}},
        {"Beatles/Help",
         "help.m3u",
         "The Beatles",
         "Help!",
         "Rock",
         1965,
         {{"01.mp3", "Help!"}, {"02.mp3", "Yesterday"}}},
        {"Abba/Gold",
         "gold.m3u",
         "ABBA",
         "Gold",
         "Pop",
         1992,
         {{"01.mp3", "Dancing Queen"}, {"02.mp3", "Gold Rush"}}},
        {"Misc", "loose.m3u", "", "", "", 0, {{"a.mp3", ""}}},
        {"Queen", "live.m3u", "Queen", "Live", "Rock", 1986, {{"01.mp3", "One Vision"}}},
        {"Queen/Studio", "studio.m3u", "Queen", "Studio", "Rock", 1980, {{"01.mp3", "Play"}}},
    };
}

// The program folder of one test, with the splash and tips off.
class ListHome {
  public:
    explicit ListHome(const std::string& moreSettings = "") {
        InitProgramFolder("", dir_.Path());
        LangLines().clear();
        CurrentLanguage() = "English";
        dir_.File("mavelo.ini",
                  "[Window]\nShowSplashScreen=0\n[Tips]\nShowTips=0\n"
                  "[Internet]\nCheckUpdates=0\n" +
                      moreSettings);
    }
    const TempDir& Dir() const { return dir_; }

  private:
    TempDir dir_;
};

// The program's windows on screen after the first activation, built by the
// application object with scripted prompts.
struct ListWindowUnderTest {
    std::unique_ptr<TApplication> app;
    TScriptedPrompts* prompts = nullptr;

    // `listFile`: the list file named on the command line.
    bool Start(const std::string& listFile = {}) {
        auto scripted = std::make_unique<TScriptedPrompts>();
        prompts = scripted.get();
        app = std::make_unique<TApplication>(std::move(scripted));
        app->OpenAtStart(listFile);
        Window().show();
        if (!QTest::qWaitForWindowExposed(&Window())) return false;
        return QTest::qWaitFor([this] { return app->FirstActivationDone(); }, 5000);
    }
    TFormMain& Window() const { return app->Window(); }
    TListWindows& List() const { return app->List(); }
    TCatalogue& Catalogue() const { return app->Session().Catalogue; }
};

// Base of the list page test cases: a fresh program folder and the small
// collection under "music" for each test, the window started on it.
class ListPageTestCase : public QObject {
  protected:
    std::unique_ptr<ListHome> home_;
    ListWindowUnderTest ui_;
    std::string root_;

    // Starts the window; with `scanned` the collection is already a new list.
    bool StartOnCollection(bool scanned) {
        home_ = std::make_unique<ListHome>();
        root_ = home_->Dir() / "music";
        WriteCollection(home_->Dir(), "music", SmallCollection());
        if (!ui_.Start()) return false;
        if (scanned) ui_.List().Scans().NewList({root_});
        return true;
    }
    // A new list of the small collection, named `name` in the home folder
    // when its scan asks for a name; its path, "" when it was not saved.
    std::string SavedList(const std::string& name) {
        const std::string path = home_->Dir() / name;
        ui_.prompts->saveFile = QString::fromStdString(path);
        ui_.List().Scans().NewList({root_});
        ui_.prompts->saveFile.clear();
        return ui_.Catalogue().CurrentFile == path && !ui_.Catalogue().ListModified ? path
                                                                                    : std::string();
    }
    void Finish() {
        ui_.app.reset();
        home_.reset();
    }
};
