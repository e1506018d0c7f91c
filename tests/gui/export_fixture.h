#pragma once
// The export windows' surroundings for their tests: a fake shell with the
// commands as plain actions, prompts answered from a script, and a session
// with a small view list in a temporary program folder.
#include <QAction>
#include <QWidget>

#include <deque>
#include <map>
#include <memory>

#include "TempDir.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/shell/ShellPort.h"
#include "scripted_prompts.h"

// Three albums in the view list (AYG order: ABBA, Queen, The Beatles).
inline void FillSession(TSession& session, int albums = 3) {
    const char* artists[] = {"Queen", "ABBA", "The Beatles"};
    for (int i = 0; i < albums; ++i) {
        const std::string folder = "/music/" + std::to_string(i) + "/";
        auto album = std::make_unique<Tm3u>(folder + "list.m3u");
        album->Artist = artists[i % 3];
        album->Album = "Album " + std::to_string(i);
        album->Year = 1970 + i;
        const std::string path = folder + "01.mp3";
        auto track = std::make_unique<Tmp3>(path);
        track->Title = "Track of " + album->Album;
        album->Tracks.Add(path, std::move(track));
        const std::string key = album->PlaylistPath;
        session.Catalogue.Directory.List.Add(key, std::move(album));
    }
    session.Catalogue.RebuildView(nullptr, false, TSortSettings{});
}

// A program folder of its own for each test, so nothing of the build's is touched.
class ExportHome {
  public:
    ExportHome() {
        InitProgramFolder("", dir_.Path());
        LangLines().clear();
        CurrentLanguage() = "English";
    }
    const TempDir& Dir() const { return dir_; }

  private:
    TempDir dir_;
};
