#pragma once
// The main window: owner of the running state (settings, the open list's
// name and modified mark, later the catalogue, views and play queue), the
// start-up and shutdown sequences, the title bar and command states, and the
// language changes.  Commands, tool bars, the central panels and busy mode
// are classes of their own; subsystems plug into the private hooks at the
// end of Umain.cpp and connect their commands through Action().
#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "gui/common/Translate.h"
#include "gui/shell/Ucommands.h"
#include "views/Catalogue.h"

class QAction;
class TBusyMode;
class TFormAbout;
class TFormSplash;
class TFormTip;
class TFormToolbars;
class TFormVersion;
class TIniFile;
class TListWindows;
class TMainPanels;
class TPlayerAlbumHooks;
class TPlayerController;
class TToolbarBands;

class TFormMain : public QMainWindow {
    Q_OBJECT
  public:
    // Reads mavelo.ini from the program folder, lays out the window and
    // creates the dialogs.  The catalogue opens at the first activation.
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The open list: albums, roots, filters, selections and the view list.
    TCatalogue Catalogue;
    // Path of the open list file ("" when none) and its unsaved-changes mark.
    std::string& CurrentFile = Catalogue.CurrentFile;
    bool& ListModified = Catalogue.ListModified;

    TSettings& Settings() { return settings_; }
    const std::vector<std::string>& TipsList() const { return tips_; }
    bool RunningFromCd() const { return runningFromCd_; }
    bool FirstActivationDone() const { return !firstActivation_; }

    // The command of that name ("ActionFileNew"); nullptr when there is none.
    QAction* Action(const QString& name) const;
    TCommands& Commands() { return *commands_; }
    TToolbarBands& Toolbars() { return *toolbars_; }
    TMainPanels& Panels() { return *panels_; }
    // The player; the catalogue windows fill in PlayerAlbums() so that the
    // PlayList commands reach the current album and track.
    TPlayerController& Player() { return *player_; }
    TPlayerAlbumHooks& PlayerAlbums() { return *playerAlbums_; }
    // The list page with its windows and commands.
    TListWindows& ListWindows() { return *listWindows_; }

    // Busy mode for long operations (see TBusyMode; TBusyGuard for a scope).
    void SetBusyMode(bool on);
    TBusyMode& Busy() { return *busy_; }

    // Title bar text and the enabled state of every command.
    void UpdateTitleAndCommands();
    void RebuildRecentMenu();
    // Selects, loads and applies a language to every registered window.
    void SetLanguage(const std::string& name, bool refresh);
    // A window that language files address by its objectName; windows are
    // translated in the fixed order of TranslatedWindowNames().
    void RegisterTranslatableWindow(QWidget* window);

    TFormTip& FormTip() { return *formTip_; }
    TFormToolbars& FormToolbars() { return *formToolbars_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Main window creation.
    void ReadSettings();
    void ApplyWindowSettings();
    void CreateDialogs();
    void ConnectCommands();
    // First activation and shutdown.
    void FormActivate();
    void ShowStartupWindows();
    // false when the user keeps the window open to save the list elsewhere
    bool Shutdown();
    void WriteSettings();
    void CollectWindowSettings();
    void FreeSplash();
    TCommandState CommandState() const;
    void ClearTransportCaptions();
    void ReportError(const QString& text);

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
    void CheckForUpdateAndTell();

    // Hooks for the subsystems; each does nothing until its subsystem fills it.
    void InitSound();
    void ReadSubsystemSettings(const TIniFile& ini);
    void WriteSubsystemSettings(TIniFile& ini);
    void PrepareCatalogueWindows();
    void OpenCatalogue();
    void ShowListPage(int listPage);
    void StartPlayer();
    bool LoadQueue();
    void RefreshQueueGrid();
    void RefreshTextsAfterLanguage();
    void OpenRecentFile(const std::string& path);
    void SortOrderChanged();
    bool SaveListIfModified();
    void SaveQueue();
    void StopPlayback();
    void FreeCatalogue();
    TCommandState CatalogueState() const;

    TSettings settings_;
    std::vector<std::string> tips_;
    bool runningFromCd_ = false;
    bool firstActivation_ = true;
    bool shutDown_ = false;
    bool closePending_ = false;  // closing waits until busy mode ends

    TCommands* commands_;
    TToolbarBands* toolbars_;
    TMainPanels* panels_;
    std::unique_ptr<TPlayerAlbumHooks> playerAlbums_;
    TPlayerController* player_ = nullptr;
    TBusyMode* busy_;
    TTranslationRegistry translations_;
    std::unique_ptr<TFormSplash> splash_;
    TFormAbout* formAbout_ = nullptr;
    TFormVersion* formVersion_ = nullptr;
    TFormTip* formTip_ = nullptr;
    TFormToolbars* formToolbars_ = nullptr;
    TListWindows* listWindows_ = nullptr;
};
