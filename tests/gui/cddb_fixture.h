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
#include "scripted_prompts.h"
#include "views/SortKey.h"

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
