#pragma once
// The main window: menus and commands, tool bars, the central panels, the
// status bar, the title, busy mode and the language of every registered
// window, with its own dialogs (about, new version, tips, tool bars).  It
// shows the session it is given and never reaches into the subsystems: they
// plug in through TShellPort, and the application object answers the news
// this window sends (first activation, language, sort order, recent file).
#include <QMainWindow>

#include <string>
#include <vector>

#include "gui/common/Translate.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/ShellPort.h"
#include "gui/shell/Ucommands.h"

class TBusyMode;
class TFormAbout;
class TFormTip;
class TFormToolbars;
class TFormVersion;
class TIniFile;
class TSession;
class TToolbarBands;

class TFormMain : public QMainWindow, public TShellPort {
    Q_OBJECT
  public:
    // Lays out the window from the session's settings (already read) and
    // creates its dialogs.
    explicit TFormMain(TSession& session, QWidget* parent = nullptr);
    ~TFormMain() override;

    // TShellPort
    QAction* Action(TCommandId id) const override { return commands_->Action(id); }
    QWidget* Window() const override { return const_cast<TFormMain*>(this); }
    void SetBusy(bool on) override { SetBusyMode(on); }
    bool IsBusy() const override;
    void ShowStatus(const QString& text) override;
    void RefreshCommands() override { UpdateTitleAndCommands(); }
    void RegisterTranslatableWindow(QWidget* window) override;

    TCommands& Commands() { return *commands_; }
    TToolbarBands& Toolbars() { return *toolbars_; }
    TMainPanels& Panels() { return *panels_; }
    TListPageHost ListPageHost();
    void SetCommandStateSource(const TCommandStateSource* source) { stateSource_ = source; }
    const std::vector<std::string>& TipsList() const { return tips_; }

    // Busy mode for long operations (see TBusyMode; TBusyGuard for a scope).
    void SetBusyMode(bool on);
    TBusyMode& Busy() { return *busy_; }

    // Title bar text and the enabled state of every command.
    void UpdateTitleAndCommands();
    void RebuildRecentMenu();
    // Selects, loads and applies a language to every registered window.
    void SetLanguage(const std::string& name, bool refresh);
    // The tool bar layout of the settings file.
    void LoadLayout(const TIniFile& ini);
    void SaveLayout(TIniFile& ini) const;
    // Size, panes, page, language and check marks into the settings.
    void StoreWindowSettings();

    // Start-up windows: the new-version window when the check finds one,
    // the tips when the settings ask for them.
    void CheckForUpdateAndTell();
    void ShowTipsAtStart();

    TFormTip& FormTip() { return *formTip_; }
    TFormToolbars& FormToolbars() { return *formToolbars_; }

  signals:
    // Once, after the window was first shown and the event loop runs.
    void firstShown();
    // The language changed; messages built from it must be made again.
    void languageChanged();
    void sortOrderChanged();
    void recentFileChosen(const std::string& path);
    // A failure the user is told of (the application's prompts say it).
    void errorToShow(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ApplyWindowSettings();
    void CreateDialogs();
    void ConnectCommands();
    TCommandState CommandState() const;
    void ClearTransportCaptions();

    // Command handlers.
    void ActionEditLangExecute(int position);
    void ActionFileMRUExecute(int index);
    void ActionSortExecute(QAction* action);
    void ActionListYearAscExecute();
    void ActionToolsViewMenuBarExecute();
    void ActionToolsToolbarsExecute();
    void ActionHelpTipsExecute();
    void ActionHelpHelpExecute();
    void ActionHelpAboutExecute();

    TSession& session_;
    std::vector<std::string> tips_;
    bool shownOnce_ = false;
    const TCommandStateSource* stateSource_ = nullptr;

    TCommands* commands_;
    TToolbarBands* toolbars_;
    TMainPanels* panels_;
    TBusyMode* busy_;
    TTranslationRegistry translations_;
    TFormAbout* formAbout_ = nullptr;
    TFormVersion* formVersion_ = nullptr;
    TFormTip* formTip_ = nullptr;
    TFormToolbars* formToolbars_ = nullptr;
};
