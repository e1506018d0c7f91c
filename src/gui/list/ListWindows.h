#pragma once
// Everything the list page adds to the main window, made once: the page and
// its windows (filter, pick, search, root directories, folder picker,
// auto-launch chooser) and the command groups that work on the catalogue.
// The main window's start-up and shutdown steps call in here.
#include <QObject>

#include <memory>
#include <string>

#include "gui/shell/Ucommands.h"

class TCdCommands;
class TFormMain;
class TListFileCommands;
class TListViews;
class TProgressDisplay;
class TPrompts;
class TScanCommands;
class TSearchCommands;
class TSelectionCommands;

class TListWindows : public QObject {
    Q_OBJECT
  public:
    // `mountTable` is where mounted discs are looked up.
    explicit TListWindows(TFormMain& main, const std::string& mountTable = {});
    ~TListWindows() override;

    // First activation: hand the program folder and the albums to the windows.
    void PrepareWindows();
    // First activation: the program's own disc, or the last list file.
    void OpenCatalogue();
    void ShowListPage(int listPage);
    void RefreshTexts();
    void OpenRecentFile(const std::string& path);
    void SortOrderChanged();
    // Shutdown: a modified list is saved; the list page's settings are noted.
    // Saves a modified list and stores the list settings.  False when the
    // save failed and the user chose to keep the window open (to save the
    // list elsewhere); `mayAsk` is false when nobody can answer.
    bool BeforeExit(bool mayAsk);
    // Shutdown: the views let go of the catalogue.
    void Free();
    TCommandState State() const;

    TListViews& Views() const { return *views_; }
    TListFileCommands& Files() const { return *files_; }
    TScanCommands& Scans() const { return *scans_; }
    TSelectionCommands& Selections() const { return *selections_; }
    TSearchCommands& Search() const { return *search_; }
    TCdCommands& Cd() const { return *cd_; }
    // Tests answer the questions themselves.
    void SetPrompts(std::unique_ptr<TPrompts> prompts);

  private:
    TFormMain& main_;
    std::unique_ptr<TPrompts> prompts_;
    TListViews* views_;
    TProgressDisplay* progress_;
    TListFileCommands* files_;
    TScanCommands* scans_;
    TSelectionCommands* selections_;
    TSearchCommands* search_;
    TCdCommands* cd_;
};
