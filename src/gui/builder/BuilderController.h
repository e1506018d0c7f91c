#pragma once
// Opens the playlist builder from the Tools command and from the scan that
// found folders of audio files without playlists.
#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/BuilderCommands.h"

class TSession;
class TShellPort;
class TPrompts;
class TFormListBuilder;

struct TBuilderHooks {
    TBuilderTools tools;             // tag reading and track measuring (the player)
    std::function<void()> fastScan;  // a fast scan of the catalogue; empty: none offered
    // The album editor for "Edit details" (see TFormListBuilder::editDetails).
    std::function<std::string(Tm3u& album, std::string& listFormat)> editDetails;
    // The program's options window; empty: the builder offers none.
    std::function<void()> openOptions;
};

class TBuilderController : public QObject {
    Q_OBJECT
  public:
    TBuilderController(TSession& session, TShellPort& shell, TPrompts& prompts,
                       TBuilderHooks hooks = {});
    ~TBuilderController() override;

    TFormListBuilder* Window() const { return form_.get(); }
    // The builder over the catalogue's root folders (or the ones given);
    // afterwards a fast scan is offered, unless a scan follows anyway.
    void Run(const std::vector<std::string>& roots, bool offerFastScan = true);
    void RunOnCatalogueRoots();

  private:
    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TBuilderHooks hooks_;
    std::unique_ptr<TFormListBuilder> form_;
};
