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

class TFakeShell : public TShellPort {
  public:
    QAction* Action(TCommandId id) const override {
        auto& action = actions_[id];
        if (!action) action = std::make_unique<QAction>();
        return action.get();
    }
    QWidget* Window() const override { return window_.get(); }
    void SetBusy(bool on) override { busy += on ? 1 : -1, ++busyCalls; }
    void ShowStatus(const QString&) override {}
    void RefreshCommands() override {}
    void RegisterTranslatableWindow(QWidget* window) override { translatable.push_back(window); }

    int busy = 0;
    int busyCalls = 0;
    std::vector<QWidget*> translatable;

  private:
    mutable std::map<TCommandId, std::unique_ptr<QAction>> actions_;
    std::unique_ptr<QWidget> window_ = std::make_unique<QWidget>();
};

class TScriptedPrompts : public TPrompts {
  public:
    TScriptedPrompts() : TPrompts(nullptr) {}
    void Error(const QString& text) override { errors << text; }
    void Inform(const QString& text) override { informed << text; }
    bool Confirm(const QString&) override { return true; }
    QString OpenFileName(const QString&, const QString& filters) override {
        asked << filters;
        return Next();
    }
    QString SaveFileName(const QString&, const QString& filters) override {
        asked << filters;
        return Next();
    }

    std::deque<QString> fileNames;  // the answers of the file dialogs, in turn
    QStringList asked, errors, informed;

  private:
    QString Next() {
        if (fileNames.empty()) return {};
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

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
