#include "gui/shell/Umain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "core/IniFile.h"
#include "core/Log.h"
#include "core/Mounts.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/shell/BusyMode.h"
#include "gui/common/Help.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/SignalClose.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/Uabout.h"
#include "gui/shell/UpdateCheck.h"
#include "gui/shell/Usplash.h"
#include "gui/shell/Utips.h"
#include "gui/shell/Utoolbars.h"
#include "gui/shell/Uversion.h"
#include "gui/common/Version.h"
#include "gui/app/ListPageAlbums.h"
#include "gui/player/PlayerAlbumSource.h"
#include "gui/player/PlayerController.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/Uslidecover.h"
#include "gui/list/ListWindows.h"

namespace {
std::string SettingsPath() {
    return ProgramFolder() + "mavelo.ini";
}

// Reads mavelo.ini (a missing file gives an empty one); the error text when
// the file exists but cannot be read.
std::string LoadSettingsFile(TIniFile& ini) {
    try {
        ini.Load(SettingsPath());
        return {};
    } catch (const std::system_error& error) {
        return error.what();
    }
}

// The sort string is a sort command's name without "ActionList".
constexpr int kSortPrefixLength = 10;

// The player's buttons show pictures only, whatever a language file says.
const char* const kPictureOnlyButtons[] = {
    "SpeedButtonPrev",         "SpeedButtonPlay",        "SpeedButtonNext", "SpeedButtonPause",
    "SpeedButtonStop",         "SpeedButtonDel",         "SpeedButtonUp",   "SpeedButtonDown",
    "SpeedButtonLoadPlayList", "SpeedButtonSavePlayList"};
}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("FormMain");
    runningFromCd_ = ::RunningFromCd(ProgramFolder());

    commands_ = new TCommands(this);
    commands_->BuildMenuBar(menuBar());
    toolbars_ = new TToolbarBands(this, *commands_);
    panels_ = new TMainPanels(this);
    setCentralWidget(panels_->Central());
    statusBar()->setObjectName("StatusBar");
    busy_ = new TBusyMode(menuBar(), this);
    connect(busy_, &TBusyMode::Idle, this, [this] {
        if (closePending_) QTimer::singleShot(0, this, &QWidget::close);
    });

    ListLanguageFiles();
    commands_->ShowLanguages(LangList());
    ReadSettings();
    InitSound();
    RebuildRecentMenu();
    Action("ActionToolsViewMenuBar")->setChecked(true);
    ConnectCommands();
    CreateDialogs();
    setWindowTitle(QString::fromStdString(
        MainTitleText(CurrentFile, LangText("NoFileLoaded", "No file"), ListModified)));
}

TFormMain::~TFormMain() = default;

QAction* TFormMain::Action(const QString& name) const {
    return commands_->Action(name);
}

void TFormMain::ReadSettings() {
    TIniFile ini;
    if (const std::string error = LoadSettingsFile(ini); !error.empty())
        ReportError(QString::fromStdString(error));
    settings_.Read(ini);
    if (settings_.ShowSplashScreen) {
        splash_ = std::make_unique<TFormSplash>();
        splash_->show();
        QApplication::processEvents();
    }
    CurrentLanguage() = settings_.CurrentLanguage;
    ApplyWindowSettings();
    ReadSubsystemSettings(ini);
    toolbars_->LoadLayout(ini);
    SetLogEnabled(settings_.Log);
}

void TFormMain::ApplyWindowSettings() {
    resize(settings_.Width, settings_.Height);
    panels_->SetRightWidth(settings_.RightWidth);
    setWindowFlag(Qt::WindowStaysOnTopHint, settings_.StayOnTop);
    commands_->CheckSortOrder(settings_.SortString);
    Action("ActionListYearAsc")->setChecked(settings_.YearAsc);
    Action("ActionListRightPanel")->setChecked(settings_.FullScreen);
}

void TFormMain::CreateDialogs() {
    // The dialogs of the other subsystems are created here too, in the order
    // NewList, Edit, Config, Filter, ListBuilder, Batch, About,
    // CoversManagement, PictureReplace, Version, Tip, RemoteCommander,
    // GetDirectory, RootDirs, BrowseOptions, Toolbars, Export, Template,
    // CmoChoose, FilterAdd, FreeDB, Search; each is registered for translation.
    RegisterTranslatableWindow(this);
    listWindows_ = new TListWindows(*this);
    formAbout_ = new TFormAbout(this);
    formVersion_ = new TFormVersion(this);
    formTip_ = new TFormTip(this);
    formToolbars_ = new TFormToolbars(*toolbars_, this);
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{formAbout_, formVersion_, formTip_, formToolbars_})
        RegisterTranslatableWindow(dialog);
    connect(formTip_, &QDialog::finished, this, [this] {
        settings_.TipNumber = formTip_->TipNumber();
        settings_.ShowTips = formTip_->ShowTips();
    });
}

void TFormMain::ConnectCommands() {
    auto on = [this](const char* name, void (TFormMain::*handler)()) {
        connect(Action(name), &QAction::triggered, this, handler);
    };
    connect(Action("ActionFileExit"), &QAction::triggered, this, &QWidget::close);
    on("ActionListYearAsc", &TFormMain::ActionListYearAscExecute);
    on("ActionToolsViewMenuBar", &TFormMain::ActionToolsViewMenuBarExecute);
    on("ActionToolsToolbars", &TFormMain::ActionToolsToolbarsExecute);
    on("ActionHelpTips", &TFormMain::ActionHelpTipsExecute);
    on("ActionHelpHelp", &TFormMain::ActionHelpHelpExecute);
    on("ActionHelpAbout", &TFormMain::ActionHelpAboutExecute);
    connect(commands_, &TCommands::LanguageChosen, this, &TFormMain::ActionEditLangExecute);
    connect(commands_, &TCommands::RecentFileChosen, this, &TFormMain::ActionFileMRUExecute);
    connect(commands_, &TCommands::SortOrderChosen, this, &TFormMain::ActionSortExecute);
    connect(toolbars_->SelectionBox(), &QComboBox::currentIndexChanged, this,
            &TFormMain::UpdateTitleAndCommands);
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstActivation_)
        QMetaObject::invokeMethod(this, &TFormMain::FormActivate, Qt::QueuedConnection);
}

void TFormMain::FormActivate() {
    // Also nothing when the window was closed before this queued call ran.
    if (!firstActivation_ || shutDown_) return;
    firstActivation_ = false;
    SetLanguage(CurrentLanguage(), false);
    PrepareCatalogueWindows();
    OpenCatalogue();
    UpdateTitleAndCommands();
    RefreshQueueGrid();
    panels_->SetCurrentPage(settings_.CurrentPage);
    Action("ActionListTree")->setChecked(settings_.CurrentPageList == 1);
    ShowListPage(settings_.CurrentPageList);
    StartPlayer();
    bool queueRead;
    {
        TWaitCursor wait;
        queueRead = LoadQueue();
    }
    RefreshQueueGrid();
    FreeSplash();
    // A damaged saved queue skips the update check and the tips at this start.
    if (queueRead) ShowStartupWindows();
}

void TFormMain::ShowStartupWindows() {
    CheckForUpdateAndTell();
    if (shutDown_) return;  // closed while the new-version window was open
    // An empty tips window is not worth showing at every start (English has no tips).
    if (settings_.ShowTips && !tips_.empty()) ActionHelpTipsExecute();
}

void TFormMain::CheckForUpdateAndTell() {
    TUpdateCheckResult result;
    {
        TWaitCursor wait;
        result = CheckForUpdate(settings_, TodayDayNumber(), HttpGetText);
    }
    if (!result.newerVersion) return;
    formVersion_->Prepare(result.latest, settings_.Mavelo);
    formVersion_->exec();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (busy_->IsBusy()) {
        // A long operation is still running inside this event: close after it.
        closePending_ = true;
        event->ignore();
        return;
    }
    if (!shutDown_ && !Shutdown()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TFormMain::Shutdown() {
    shutDown_ = true;
    FreeSplash();
    for (QDialog* dialog : findChildren<QDialog*>())
        if (dialog->isVisible()) dialog->reject();
    if (!SaveListIfModified()) {
        shutDown_ = false;
        return false;
    }
    if (!runningFromCd_) {
        {
            TWaitCursor wait;
            SaveQueue();
        }
        WriteSettings();
    }
    StopPlayback();
    FreeCatalogue();
    return true;
}

void TFormMain::CollectWindowSettings() {
    const QRect geometry = isMaximized() || isFullScreen() ? normalGeometry() : this->geometry();
    settings_.Width = geometry.width();
    settings_.Height = geometry.height();
    settings_.RightWidth = panels_->RightWidth();
    settings_.CurrentPage = panels_->CurrentPage();
    settings_.CurrentLanguage = CurrentLanguage();
    settings_.YearAsc = Action("ActionListYearAsc")->isChecked();
    settings_.FullScreen = Action("ActionListRightPanel")->isChecked();
    player_->StoreSettings(settings_);
}

void TFormMain::WriteSettings() {
    // Keys and sections of other programs or versions are kept.
    TIniFile ini;
    if (const std::string error = LoadSettingsFile(ini); !error.empty()) {
        ReportError(QString::fromStdString(error));
        return;  // writing now would lose what could not be read
    }
    CollectWindowSettings();
    settings_.Write(ini);
    WriteSubsystemSettings(ini);
    toolbars_->SaveLayout(ini);
    try {
        ini.Save(SettingsPath());
    } catch (const std::system_error& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}

void TFormMain::ReportError(const QString& text) {
    QMessageBox::critical(isVisible() ? this : nullptr, kProductName, text);
}

void TFormMain::FreeSplash() {
    splash_.reset();
}

void TFormMain::SetBusyMode(bool on) {
    busy_->Set(on);
}

TCommandState TFormMain::CommandState() const {
    TCommandState state = CatalogueState();
    state.hasFileName = !CurrentFile.empty();
    state.modified = ListModified;
    state.selectionChosen = toolbars_->SelectionBox()->currentIndex() > 0;
    state.selectionEditMode = Action("ActionSelectionEdit")->isChecked();
    return state;
}

void TFormMain::UpdateTitleAndCommands() {
    const QString title = QString::fromStdString(
        MainTitleText(CurrentFile, LangText("NoFileLoaded", "No file"), ListModified));
    if (windowTitle() != title) setWindowTitle(title);
    commands_->ApplyStates(CommandState());
}

void TFormMain::RebuildRecentMenu() {
    commands_->ShowRecentFiles(settings_.RecentFiles);
}

void TFormMain::RegisterTranslatableWindow(QWidget* window) {
    translations_.Register(window);
}

void TFormMain::SetLanguage(const std::string& name, bool refresh) {
    const auto& languages = LangList();
    const auto found = std::find(languages.begin(), languages.end(), name);
    const int position = found == languages.end() ? 0 : int(found - languages.begin()) + 1;
    commands_->CheckLanguage(position, static_cast<int>(languages.size()));
    try {
        LoadLanguageFile(name);  // a missing file leaves the previous language
    } catch (const std::system_error& error) {
        ReportError(QString::fromStdString(error.what()));
    }
    LoadTips(tips_);
    commands_->TranslateMenus();
    translations_.TranslateAll();
    if (refresh) {
        UpdateTitleAndCommands();
        RefreshTextsAfterLanguage();
    }
    ClearTransportCaptions();
}

void TFormMain::ClearTransportCaptions() {
    for (QWidget* window :
         {static_cast<QWidget*>(this), translations_.Find("FormRemoteCommander")}) {
        if (!window) continue;
        for (const char* name : kPictureOnlyButtons)
            if (QObject* button = FindComponent(window, name))
                SetTextProperty(button, "Caption", QString());
        if (QObject* shuffle = FindComponent(window, "SpeedButtonShuffle"))
            SetTextProperty(shuffle, "Caption", "S");
    }
}

void TFormMain::ActionEditLangExecute(int position) {
    if (position >= 1 && position <= static_cast<int>(LangList().size()))
        SetLanguage(LangList()[position - 1], true);
}

void TFormMain::ActionFileMRUExecute(int index) {
    if (index >= 0 && index < static_cast<int>(settings_.RecentFiles.size()))
        OpenRecentFile(settings_.RecentFiles[index]);
}

void TFormMain::ActionSortExecute(QAction* action) {
    settings_.SortString = action->objectName().mid(kSortPrefixLength).toStdString();
    commands_->CheckSortOrder(settings_.SortString);
    SortOrderChanged();
    UpdateTitleAndCommands();
}

void TFormMain::ActionListYearAscExecute() {
    settings_.YearAsc = Action("ActionListYearAsc")->isChecked();
    SortOrderChanged();
    UpdateTitleAndCommands();
}

void TFormMain::ActionToolsViewMenuBarExecute() {
    menuBar()->setVisible(Action("ActionToolsViewMenuBar")->isChecked());
}

void TFormMain::ActionToolsToolbarsExecute() {
    formToolbars_->show();
    formToolbars_->raise();
}

void TFormMain::ActionHelpTipsExecute() {
    formTip_->Prepare(tips_, settings_.TipNumber, settings_.ShowTips);
    formTip_->open();
}

void TFormMain::ActionHelpHelpExecute() {
    ShowHelpTopic(panels_->CurrentPage() == TMainPanels::BrowsePage ? 2 : 1);
}

void TFormMain::ActionHelpAboutExecute() {
    formAbout_->open();
}

// ---------------------------------------------------------------------------
// Hooks for the subsystems.  Each is one step of start-up or shutdown (or a
// refresh) that belongs to a subsystem not wired in yet.

// Creation: check the sound libraries, create the player and start the sound
// output from the "Audio" settings.
void TFormMain::InitSound() {
    const std::string mismatch = TSoundSystem::VersionMismatchText();
    if (!mismatch.empty()) {
        FreeSplash();
        QMessageBox::critical(nullptr, TSoundSystem::kVersionMismatchCaption,
                              QString::fromStdString(mismatch));
        std::exit(1);
    }
    playerAlbums_ = std::make_unique<TPlayerAlbumHooks>();
    playerAlbums_->markListModified = [this] {
        ListModified = true;
        UpdateTitleAndCommands();
    };
    player_ = new TPlayerController(
        *playerAlbums_, [this](const QString& name) { return Action(name); }, this);
    player_->ShowError = [this](const QString& text, const QString& caption) {
        FreeSplash();
        QMessageBox::critical(isVisible() ? this : nullptr, caption, text);
    };
    player_->SetBusy = [this](bool on) { SetBusyMode(on); };
    panels_->SetPlayerPanel(player_->Panel());
    RegisterTranslatableWindow(player_->Remote());
    player_->InitSound(settings_);
    player_->ApplyWindowSettings(settings_);
    player_->RegisterDesktopControls();
}
// Creation / exit: settings kept by subsystems in their own sections (the
// browse presets).
void TFormMain::ReadSubsystemSettings(const TIniFile&) {}
void TFormMain::WriteSubsystemSettings(TIniFile&) {}
// First activation: hand the program folder and the catalogue to the filter,
// covers and export windows; prepare the browse view.
void TFormMain::PrepareCatalogueWindows() {
    listWindows_->PrepareWindows();
    ConnectPlayerToListPage(*playerAlbums_, listWindows_->Views());
}
// First activation: CD/DVD auto-launch list or the last list file.
void TFormMain::OpenCatalogue() {
    listWindows_->OpenCatalogue();
}
// First activation: album grid (0) or folder tree (1) on the list page.
void TFormMain::ShowListPage(int listPage) {
    listWindows_->ShowListPage(listPage);
}
// First activation: spectrum view and player timer.
void TFormMain::StartPlayer() {
    player_->Start();
}
// First activation: read mavelo.els; false when it is damaged.
bool TFormMain::LoadQueue() {
    return player_->LoadQueue(ProgramFolder() + "mavelo.els");
}
void TFormMain::RefreshQueueGrid() {
    player_->RefreshQueueGrid();
}
// Language change: album list, filter and selection boxes, queue grid and
// album details are rebuilt from the new messages.
void TFormMain::RefreshTextsAfterLanguage() {
    listWindows_->RefreshTexts();
}
void TFormMain::OpenRecentFile(const std::string& path) {
    listWindows_->OpenRecentFile(path);
}
// Sort order or year order changed: rebuild the view list and the views.
void TFormMain::SortOrderChanged() {
    listWindows_->SortOrderChanged();
}
// Shutdown: save a modified list (asking for a name when it has none); false
// when its save failed and the user keeps the window open.  A close by a
// signal cannot ask and goes on.
bool TFormMain::SaveListIfModified() {
    return listWindows_->BeforeExit(!property(kClosingBySignal).toBool());
}
// Shutdown: write mavelo.els (a failure is told; the old file stays whole).
void TFormMain::SaveQueue() {
    try {
        player_->SaveQueue(ProgramFolder() + "mavelo.els");
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}
void TFormMain::StopPlayback() {
    player_->StopPlayback();
}
void TFormMain::FreeCatalogue() {
    listWindows_->Free();
}
// Command states: list open, album rows, current album and track.
TCommandState TFormMain::CatalogueState() const {
    return listWindows_ ? listWindows_->State() : TCommandState{};
}
