#pragma once
// Shared set-up of the FreeDB window tests: a fake shell with one action per
// command, scripted prompts, albums on disk in the session's catalogue, and
// a way to act inside modal windows once they are ready.
#include <QAction>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "CddbServer.h"
#include "TempDir.h"
#include "collection/Um3u_obj.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/shell/ShellPort.h"
#include "views/SortKey.h"

class TFakeShell : public TShellPort {
  public:
    TFakeShell() {
        for (size_t i = 0; i < kCommandCount; ++i)
            actions_[static_cast<TCommandId>(i)] = std::make_unique<QAction>();
    }
    QAction* Action(TCommandId id) const override { return actions_.at(id).get(); }
    QWidget* Window() const override { return window_.get(); }
    void SetBusy(bool on) override { busy += on ? 1 : -1; }
    void ShowStatus(const QString& text) override { status = text; }
    void RefreshCommands() override { ++refreshes; }
    void RegisterTranslatableWindow(QWidget*) override {}

    int busy = 0;
    int refreshes = 0;
    QString status;

  private:
    std::unique_ptr<QWidget> window_ = std::make_unique<QWidget>();
    std::map<TCommandId, std::unique_ptr<QAction>> actions_;
};

class TCddbPrompts : public TPrompts {
  public:
    TCddbPrompts() : TPrompts(nullptr) {}
    QStringList errors, informed, questions;
    QString openFile;  // the file the open dialog answers
    bool Confirm(const QString& text) override {
        questions << text;
        return true;
    }
    QString OpenFileName(const QString&, const QString&) override { return openFile; }
    void Inform(const QString& text) override { informed << text; }
    void Error(const QString& text) override { errors << text; }
};

// Runs `action` once `ready` holds, checking every 10 ms: how a test acts in
// a modal window that the code under test opens.
inline void WhenReady(std::function<bool()> ready, std::function<void()> action) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start(10);
}

// An album of two small MP3 files (3:00.000 and 3:20.500) in the catalogue,
// with the view list holding every album.
inline Tm3u& AddDiscAlbum(TSession& session, const TempDir& dir, const std::string& folder) {
    const std::string playlist = dir.File(folder + "/list.m3u", "a.mp3\r\nb.mp3\r\n");
    for (auto name : {"a.mp3", "b.mp3"})
        std::filesystem::copy_file(std::string(MAVELO_TEST_DATA) + "/tags/id3v1_v10.mp3",
                                   dir / (folder + "/" + name));
    auto& directory = session.Catalogue.Directory;
    Tm3u& album = directory.List[directory.FindOrAddAlbum(playlist)];
    album.Refresh(true);
    album.Tracks[0].Duration = 180000;
    album.Tracks[1].Duration = 200500;
    session.Catalogue.RebuildView(nullptr, false, TSortSettings{});
    return album;
}
