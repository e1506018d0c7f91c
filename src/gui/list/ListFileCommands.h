#pragma once
// The list file commands of the main window: load, save, save as, close and
// the recent files, and the rule that a modified list is saved (never asked
// about) before another replaces it, before it is closed and at exit.
// Errors of the model are shown once: a list of another version, a damaged
// list (naming how many albums were read), a list that could not be read,
// a list that could not be saved (it then stays modified).
#include <QObject>

#include <functional>
#include <string>

class TSession;
class TShellPort;
class TListViews;
class TProgressDisplay;
struct TListLoadResult;
struct TListSaveResult;

class TListFileCommands : public QObject {
    Q_OBJECT
  public:
    TListFileCommands(TListViews& views, TProgressDisplay& progress);

    // Builds the cached covers of all albums (empty until pictures are cached).
    std::function<void()> CacheAllCovers;

    void ActionFileLoadExecute();
    // Save and save as: false when nothing was written (cancelled or failed).
    bool ActionFileSaveExecute();
    bool ActionFileSaveAsExecute();
    void ActionFileCloseExecute();
    // Paths are copies: saving the open list first changes the recent files
    // and closing it empties CurrentFile.
    void OpenRecentFile(std::string path);

    // Saves when the list is modified; false when that save failed, so the
    // list must stay (cancelling the name of an unnamed list is no failure).
    bool SaveIfModified();
    // CloseList: empty catalogue and views, no file, not modified.
    void CloseList();
    // Closes the list and loads the file (a missing file leaves no list).
    void LoadFile(std::string path);
    // At the first activation: the last list file, or empty views.
    void OpenLastFile();
    // Writes CurrentFile; false when it could not be written.
    bool SaveCurrentFile();
    // At a close by a signal (the desktop session ends), when nobody can
    // answer: a modified list is saved without the cover question, a file
    // dialog or a message box.  A list without a name goes to a recovery
    // file in the program folder.  What happened is written to the log
    // (standard error, and mavelo.log when logging is on).
    void SaveUnattended();

  private:
    // The question before saving, when covers are waiting to be cached.
    void AskToCacheCovers();
    bool SaveAs(bool coversAsked);
    void LoadCurrentFile();
    void ReportLoad(const TListLoadResult& result);
    // Writes CurrentFile and shows the outcome in the title; tells nobody.
    TListSaveResult WriteCurrentFile();
    void ListReplaced();
    // Runs a list load or save in busy mode with the progress bar.
    template <typename Operation>
    auto WithProgress(Operation operation);

    TListViews& views_;
    TSession& session_;
    TShellPort& shell_;
    TProgressDisplay& progress_;
};

// File dialog name filters of list files.
extern const char* const kListOpenFilters;
extern const char* const kListSaveFilters;
