#pragma once
// The desktop program put together: the application object owns the session
// (catalogue and settings), the prompts, the main window, the player with
// its sound system and play queue, the list page's windows and commands and
// the desktop media controls.  It builds them in a fixed order, wires the
// news each one sends to the others, and runs the start-up steps at the
// window's first activation and the shutdown steps when it closes.
#include <QObject>

#include <memory>
#include <string>

#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/player/PlayerController.h"

class TBrowseController;
class TBuilderController;
class TCddbController;
class TCoverPrompts;
class TCoversController;
class TExportController;
class TFormMain;
class TFormSplash;
class TIniFile;
class TListPageAlbums;
class TListWindows;
class TMprisService;
class TOptionsController;
class TSignalCloser;

class TApplication : public QObject {
    Q_OBJECT
  public:
    // Reads mavelo.ini from the program folder and builds the windows; the
    // catalogue opens at the first activation.  Without `prompts` questions
    // and messages are message boxes of the main window; `mountTable` is
    // where mounted discs are looked up ("" for the system's).
    explicit TApplication(std::unique_ptr<TPrompts> prompts = nullptr,
                          const std::string& mountTable = {});
    ~TApplication() override;

    // Shows the window and runs until it closes or the event loop ends.
    int Run();
    // The list file opened at the first activation instead of the last one
    // ("" keeps the last one).
    void OpenAtStart(const std::string& listFile) { startFile_ = listFile; }

    TSession& Session() { return session_; }
    TFormMain& Window() const { return *window_; }
    TPrompts& Prompts() const { return *prompts_; }
    TListWindows& List() const { return *list_; }
    TPlayerController& Player() const { return *player_; }
    TBrowseController& Browse() const { return *browse_; }
    TOptionsController& Options() const { return *options_; }
    bool RunningFromCd() const { return runningFromCd_; }
    bool FirstActivationDone() const { return !firstActivation_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Creation, in this order.
    void ReadSettings(TIniFile& ini);
    void CreatePlayer();
    void CreateList(const std::string& mountTable);
    void CreateSubsystems();
    void CreateBrowse(const TIniFile& ini);
    void CreateOptions();
    void ConnectNews();
    // First activation and shutdown.
    void FirstActivation();
    void ShowStartupWindows();
    // false when the user keeps the window open to save the list elsewhere
    bool Shutdown();
    bool SaveListIfModified();
    void SaveQueue();
    void WriteSettings();
    void FreeSplash();
    void ReportError(const QString& text);

    TSession session_;
    // Outlives every window: the player panel shows the queue to the end.
    TPlayback playback_;
    std::unique_ptr<TPrompts> prompts_;
    std::unique_ptr<TFormSplash> splash_;
    bool runningFromCd_ = false;
    bool firstActivation_ = true;
    bool shutDown_ = false;
    bool closePending_ = false;  // closing waits until busy mode ends
    std::string startFile_;      // a list file named on the command line

    // Declared in the order they are built: each one goes before the ones
    // it was built on.
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<TListPageAlbums> playerAlbums_;
    std::unique_ptr<TPlayerController> player_;
    std::unique_ptr<TMprisService> mpris_;
    std::unique_ptr<TListWindows> list_;
    std::unique_ptr<TCoverPrompts> coverPrompts_;
    std::unique_ptr<TCoversController> covers_;
    std::unique_ptr<TCddbController> cddb_;
    std::unique_ptr<TExportController> export_;
    std::unique_ptr<TOptionsController> options_;
    std::unique_ptr<TBuilderController> builder_;
    std::unique_ptr<TBrowseController> browse_;
    std::unique_ptr<TSignalCloser> signalCloser_;
};
