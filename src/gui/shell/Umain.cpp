#include "gui/shell/Umain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include <algorithm>
#include <system_error>

#include "core/IniFile.h"
#include "core/Ulang.h"
#include "gui/common/Help.h"
#include "gui/common/Session.h"
#include "gui/common/Version.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/Uabout.h"
#include "gui/shell/UpdateCheck.h"
#include "gui/shell/Utips.h"
#include "gui/shell/Utoolbars.h"
#include "gui/shell/Uversion.h"

namespace {
// The sort string is a sort command's name without "ActionList".
constexpr int kSortPrefixLength = 10;

// The player's buttons show pictures only, whatever a language file says.
const char* const kPictureOnlyButtons[] = {
    "SpeedButtonPrev",         "SpeedButtonPlay",        "SpeedButtonNext", "SpeedButtonPause",
    "SpeedButtonStop",         "SpeedButtonDel",         "SpeedButtonUp",   "SpeedButtonDown",
    "SpeedButtonLoadPlayList", "SpeedButtonSavePlayList"};

QString TitleOf(const TCatalogue& catalogue) {
    return QString::fromStdString(MainTitleText(
        catalogue.CurrentFile, LangText("NoFileLoaded", "No file"), catalogue.ListModified));
}
}  // namespace

TFormMain::TFormMain(TSession& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName("FormMain");
    commands_ = new TCommands(this);
    commands_->BuildMenuBar(menuBar());
    toolbars_ = new TToolbarBands(this, *commands_);
    panels_ = new TMainPanels(this);
    setCentralWidget(panels_->Central());
    statusBar()->setObjectName("StatusBar");
    busy_ = new TBusyMode(menuBar(), this);

    commands_->ShowLanguages(MenuLanguages());
    ApplyWindowSettings();
    RebuildRecentMenu();
    Action(TCommandId::ToolsViewMenuBar)->setChecked(true);
    ConnectCommands();
    CreateDialogs();
    setWindowTitle(TitleOf(session_.Catalogue));
}

TFormMain::~TFormMain() = default;

TListPageHost TFormMain::ListPageHost() {
    return {*panels_, *toolbars_->FilterBox(), *toolbars_->SelectionBox(), *statusBar()};
}

void TFormMain::ShowStatus(const QString& text) {
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text);
}

void TFormMain::ApplyWindowSettings() {
    const TSettings& settings = session_.Settings;
    resize(settings.Width, settings.Height);
    panels_->SetRightWidth(settings.RightWidth);
    panels_->SetTracksHeight(settings.TracksHeight);
    setWindowFlag(Qt::WindowStaysOnTopHint, settings.StayOnTop);
    commands_->CheckSortOrder(settings.SortString);
    Action(TCommandId::ListYearAsc)->setChecked(settings.YearAsc);
    Action(TCommandId::ListRightPanel)->setChecked(settings.FullScreen);
}

void TFormMain::LoadLayout(const TIniFile& ini) {
    toolbars_->LoadLayout(ini);
}

void TFormMain::SaveLayout(TIniFile& ini) const {
    toolbars_->SaveLayout(ini);
}

void TFormMain::CreateDialogs() {
    RegisterTranslatableWindow(this);
    formAbout_ = new TFormAbout(this);
    formVersion_ = new TFormVersion(this);
    formTip_ = new TFormTip(this);
    formToolbars_ = new TFormToolbars(*toolbars_, this);
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{formAbout_, formVersion_, formTip_, formToolbars_})
        RegisterTranslatableWindow(dialog);
    connect(formTip_, &QDialog::finished, this, [this] {
        session_.Settings.TipNumber = formTip_->TipNumber();
        session_.Settings.ShowTips = formTip_->ShowTips();
    });
}

void TFormMain::ConnectCommands() {
    auto on = [this](TCommandId id, void (TFormMain::*handler)()) {
        connect(Action(id), &QAction::triggered, this, handler);
    };
    connect(Action(TCommandId::FileExit), &QAction::triggered, this, &QWidget::close);
    on(TCommandId::ListYearAsc, &TFormMain::ActionListYearAscExecute);
    on(TCommandId::ToolsViewMenuBar, &TFormMain::ActionToolsViewMenuBarExecute);
    on(TCommandId::ToolsToolbars, &TFormMain::ActionToolsToolbarsExecute);
    on(TCommandId::HelpTips, &TFormMain::ActionHelpTipsExecute);
    on(TCommandId::HelpHelp, &TFormMain::ActionHelpHelpExecute);
    on(TCommandId::HelpAbout, &TFormMain::ActionHelpAboutExecute);
    connect(commands_, &TCommands::LanguageChosen, this, &TFormMain::ActionEditLangExecute);
    connect(commands_, &TCommands::RecentFileChosen, this, &TFormMain::ActionFileMRUExecute);
    connect(commands_, &TCommands::SortOrderChosen, this, &TFormMain::ActionSortExecute);
    connect(toolbars_->SelectionBox(), &QComboBox::currentIndexChanged, this,
            &TFormMain::UpdateTitleAndCommands);
    // A change of the session can be a new list file, which the recent
    // files show too.
    connect(&session_, &TSession::changed, this, [this] {
        RebuildRecentMenu();
        UpdateTitleAndCommands();
    });
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    QMetaObject::invokeMethod(this, &TFormMain::firstShown, Qt::QueuedConnection);
}

void TFormMain::CheckForUpdateAndTell() {
    TUpdateCheckResult result;
    {
        TWaitCursor wait;
        result = CheckForUpdate(session_.Settings, TodayDayNumber(), HttpGetText);
    }
    if (!result.newerVersion) return;
    formVersion_->Prepare(result.latest, session_.Settings.Mavelo);
    formVersion_->exec();
}

void TFormMain::ShowTipsAtStart() {
    // An empty tips window is not worth showing at every start (English has no tips).
    if (session_.Settings.ShowTips && !tips_.empty()) ActionHelpTipsExecute();
}

void TFormMain::StoreWindowSettings() {
    TSettings& settings = session_.Settings;
    const QRect geometry = isMaximized() || isFullScreen() ? normalGeometry() : this->geometry();
    settings.Width = geometry.width();
    settings.Height = geometry.height();
    settings.RightWidth = panels_->RightWidth();
    settings.TracksHeight = panels_->TracksHeight();
    settings.CurrentPage = panels_->CurrentPage();
    settings.CurrentLanguage = CurrentLanguage();
    settings.YearAsc = Action(TCommandId::ListYearAsc)->isChecked();
    settings.FullScreen = Action(TCommandId::ListRightPanel)->isChecked();
}

bool TFormMain::IsBusy() const {
    return busy_->IsBusy();
}

void TFormMain::SetBusyMode(bool on) {
    busy_->Set(on);
}

TCommandState TFormMain::CommandState() const {
    TCommandState state = stateSource_ ? stateSource_->CatalogueState() : TCommandState{};
    state.hasFileName = !session_.Catalogue.CurrentFile.empty();
    state.modified = session_.Catalogue.ListModified;
    state.selectionChosen = toolbars_->SelectionBox()->currentIndex() > 0;
    state.selectionEditMode = Action(TCommandId::SelectionEdit)->isChecked();
    return state;
}

void TFormMain::UpdateTitleAndCommands() {
    const QString title = TitleOf(session_.Catalogue);
    if (windowTitle() != title) setWindowTitle(title);
    commands_->ApplyStates(CommandState());
}

void TFormMain::RebuildRecentMenu() {
    commands_->ShowRecentFiles(session_.Settings.RecentFiles);
}

void TFormMain::RegisterTranslatableWindow(QWidget* window) {
    translations_.Register(window);
}

void TFormMain::SetLanguage(const std::string& name, bool refresh) {
    const auto languages = MenuLanguages();
    const auto found = std::find(languages.begin(), languages.end(), name);
    const int position = found == languages.end() ? 0 : int(found - languages.begin()) + 1;
    commands_->CheckLanguage(position, static_cast<int>(languages.size()));
    try {
        // A missing file leaves the previous language, except English, which
        // needs no file: its texts are the program's own.
        if (!LoadLanguageFile(name) && name == "English") {
            LangLines().clear();
            CurrentLanguage() = name;
            translations_.RestoreEnglish();
        }
    } catch (const std::system_error& error) {
        QMessageBox::critical(isVisible() ? this : nullptr, kProductName,
                              QString::fromStdString(error.what()));
    }
    LoadTips(tips_);
    commands_->TranslateMenus();
    translations_.TranslateAll();
    if (refresh) {
        UpdateTitleAndCommands();
        emit languageChanged();
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
    const auto languages = MenuLanguages();
    if (position >= 1 && position <= static_cast<int>(languages.size()))
        SetLanguage(languages[size_t(position) - 1], true);
}

void TFormMain::ActionFileMRUExecute(int index) {
    // A copy: saving the open list first puts its name at the top of the
    // recent files, which moves (or frees) the entries.
    const auto& recent = session_.Settings.RecentFiles;
    if (index >= 0 && index < static_cast<int>(recent.size()))
        emit recentFileChosen(std::string(recent[static_cast<size_t>(index)]));
}

void TFormMain::ActionSortExecute(QAction* action) {
    session_.Settings.SortString = action->objectName().mid(kSortPrefixLength).toStdString();
    commands_->CheckSortOrder(session_.Settings.SortString);
    emit sortOrderChanged();
    UpdateTitleAndCommands();
}

void TFormMain::ActionListYearAscExecute() {
    session_.Settings.YearAsc = Action(TCommandId::ListYearAsc)->isChecked();
    emit sortOrderChanged();
    UpdateTitleAndCommands();
}

void TFormMain::ActionToolsViewMenuBarExecute() {
    menuBar()->setVisible(Action(TCommandId::ToolsViewMenuBar)->isChecked());
}

void TFormMain::ActionToolsToolbarsExecute() {
    formToolbars_->show();
    formToolbars_->raise();
}

void TFormMain::ActionHelpTipsExecute() {
    formTip_->Prepare(tips_, session_.Settings.TipNumber, session_.Settings.ShowTips);
    formTip_->open();
}

void TFormMain::ActionHelpHelpExecute() {
    const QString error = ShowHelpTopic(panels_->CurrentPage() == TMainPanels::BrowsePage ? 2 : 1);
    if (!error.isEmpty()) emit errorToShow(error);
}

void TFormMain::ActionHelpAboutExecute() {
    formAbout_->open();
}
