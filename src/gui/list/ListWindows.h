#pragma once
// Everything the list page adds to the main window, made once: the page and
// its windows (filter, pick, search, root directories, folder picker,
// auto-launch chooser) and the command groups that work on the catalogue,
// with the list's own start-up and shutdown steps.
#include <QObject>

#include <string>

class TCdCommands;
class TListFileCommands;
class TListViews;
class TProgressDisplay;
class TPrompts;
class TScanCommands;
class TSearchCommands;
class TSelectionCommands;
class TSession;
class TShellPort;
struct TListPageHost;

class TListWindows : public QObject {
    Q_OBJECT
  public:
    // `mountTable` is where mounted discs are looked up ("" for the system's).
    TListWindows(TSession& session, TShellPort& shell, TPrompts& prompts, const TListPageHost& host,
                 const std::string& mountTable = {}, QObject* parent = nullptr);
    ~TListWindows() override;

    // First activation: the program's own disc, or the last list file.
    void OpenCatalogue();
    // Shutdown: saves a modified list and stores the list settings.  False
    // when the save failed and the user chose to keep the window open (to
    // save the list elsewhere); `mayAsk` is false when nobody can answer
    // (a signal closes the window): the list is then saved unattended.
    // `opened` is false when the window closes before the list was opened.
    bool BeforeExit(bool mayAsk, bool opened);
    // Shutdown: the views let go of the catalogue.
    void Free();

    TListViews& Views() const { return *views_; }
    TListFileCommands& Files() const { return *files_; }
    TScanCommands& Scans() const { return *scans_; }
    TSelectionCommands& Selections() const { return *selections_; }
    TSearchCommands& Search() const { return *search_; }
    TCdCommands& Cd() const { return *cd_; }
    // The progress bar of the status bar.
    TProgressDisplay& Progress() const { return *progress_; }

  private:
    TSession& session_;
    TListViews* views_;
    TProgressDisplay* progress_;
    TListFileCommands* files_;
    TScanCommands* scans_;
    TSelectionCommands* selections_;
    TSearchCommands* search_;
    TCdCommands* cd_;
};
