#pragma once
// Shared set-up of the covers window tests: a fake shell with every
// command, scripted prompts and replacement answers, a temporary program
// folder and a catalogue of albums with picture files.
#include <QAction>
#include <QImage>
#include <QWidget>

#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "JpegTables.h"
#include "TempDir.h"
#include "collection/Udir_obj.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/covers/CoverPrompts.h"
#include "gui/shell/ShellPort.h"
#include "scripted_prompts.h"

inline std::string CoverFixture(const std::string& name) {
    return std::string(MAVELO_TEST_DATA) + "/covers/" + name;
}

class TScriptedCoverPrompts : public TCoverPrompts {
  public:
    TScriptedCoverPrompts() : TCoverPrompts(nullptr) {}
    std::deque<std::pair<TReplaceAnswer, bool>> replaceAnswers;  // answer, tick "apply for all"
    std::deque<TChoice> choices;                                 // empty: Yes
    std::deque<bool> okAnswers;                                  // empty: OK
    std::vector<TReplaceOffer> offers;
    QStringList questions;

    TReplaceAnswer AskReplace(const TReplaceOffer& offer, bool& applyForAll) override {
        offers.push_back(offer);
        const auto [answer, tick] = replaceAnswers.at(0);
        replaceAnswers.pop_front();
        applyForAll = applyForAll || tick;
        return answer;
    }
    TChoice AskYesNoCancel(const QString& text) override {
        questions << text;
        if (choices.empty()) return TChoice::Yes;
        const TChoice c = choices.front();
        choices.pop_front();
        return c;
    }
    bool ConfirmOk(const QString& text) override {
        questions << text;
        if (okAnswers.empty()) return true;
        const bool ok = okAnswers.front();
        okAnswers.pop_front();
        return ok;
    }
};

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Adds an album "<dir>/<name>/list.m3u"; with a picture fixture it is copied
// next to the playlist as "list.jpg".
inline Tm3u& AddAlbum(TDirectory& directory, const TempDir& dir, const std::string& name,
                      const std::string& artist, const std::string& title,
                      const std::string& pictureFixture = {}) {
    const std::string playlist = dir.File(name + "/list.m3u", "1.mp3\n");
    auto album = std::make_unique<Tm3u>(playlist);
    album->Artist = artist;
    album->Album = title;
    if (!pictureFixture.empty()) {
        dir.File(name + "/list.jpg", FileBytes(CoverFixture(pictureFixture)));
        album->PictureState = TPictureState::Present;
    }
    return directory.List[directory.List.Add(playlist, std::move(album))];
}
