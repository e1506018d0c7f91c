#include "gui/app/Application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <iostream>
#include <system_error>

#include "collection/Um3u_obj.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/Mounts.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/app/ListPageAlbums.h"
#include "gui/browse/BrowseController.h"
#include "gui/browse/BrowseView.h"
#include "gui/builder/BuilderController.h"
#include "gui/cddb/CddbController.h"
#include "gui/common/Prompts.h"
#include "gui/common/Version.h"
#include "gui/covers/CoverPrompts.h"
#include "gui/covers/CoversController.h"
#include "gui/export/ExportController.h"
#include "gui/list/DetailsPanel.h"
#include "gui/list/FolderWatch.h"
#include "gui/list/ListFileCommands.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/ListWindows.h"
#include "gui/list/ScanCommands.h"
#include "gui/list/ScanProgress.h"
#include "gui/options/OptionsController.h"
#include "gui/player/Mpris.h"
#include "gui/player/PlayerController.h"
#include "gui/player/PlayerPanel.h"
#include "gui/player/Uslidecover.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/MainPanels.h"
#include "gui/shell/SignalClose.h"
#include "gui/shell/Umain.h"
#include "gui/shell/Usplash.h"
#include "player/Uplaylist.h"

namespace {
std::string SettingsPath() {
    return ProgramFolder() + "mavelo.ini";
}

std::string QueuePath() {
    return ProgramFolder() + "mavelo.els";
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
}  // namespace

TApplication::TApplication(std::unique_ptr<TPrompts> prompts, const std::string& mountTable)
    : prompts_(std::move(prompts)) {
    setObjectName("Application");
    runningFromCd_ = ::RunningFromCd(ProgramFolder());
    ListLanguageFiles();
    TIniFile ini;
    ReadSettings(ini);
    window_ = std::make_unique<TFormMain>(session_);
    if (!prompts_) prompts_ = std::make_unique<TPrompts>(window_.get());
    window_->LoadLayout(ini);
    CreatePlayer();
    CreateList(mountTable);
    CreateSubsystems();
    CreateBrowse(ini);
    ConnectNews();
    window_->installEventFilter(this);
    window_->UpdateTitleAndCommands();
}

TApplication::~TApplication() {
    if (window_) window_->removeEventFilter(this);
}

void TApplication::ReadSettings(TIniFile& ini) {
    if (const std::string error = LoadSettingsFile(ini); !error.empty())
        ReportError(QString::fromStdString(error));
    TSettings& settings = session_.Settings;
    settings.Read(ini);
    if (settings.ShowSplashScreen) {
        splash_ = std::make_unique<TFormSplash>();
        splash_->show();
        QApplication::processEvents();
    }
    CurrentLanguage() = settings.CurrentLanguage;
    SetLogEnabled(settings.Log);
}

// The sound output from the "Audio" settings, the player panel and the
// remote commander, and the desktop's media controls.
void TApplication::CreatePlayer() {
    playerAlbums_ = std::make_unique<TListPageAlbums>();
    player_ = std::make_unique<TPlayerController>(*window_, *prompts_, *playerAlbums_, playback_);
    window_->Panels().SetPlayerPanel(player_->Panel());
    window_->RegisterTranslatableWindow(player_->Remote());
    const auto failures = player_->InitSound(session_.Settings);
    if (!failures.empty()) FreeSplash();
    for (const auto& failure : failures)
        prompts_->ErrorCaptioned(QString::fromStdString(failure.Text),
                                 QString::fromStdString(failure.Function));
    player_->ApplyWindowSettings(session_.Settings);
    player_->ShowProgress = [this](bool on) {
        if (!list_) return;
        if (on)
            list_->Progress().Start(TProgressDisplay::Bar);
        else
            list_->Progress().Stop();
    };
    mpris_ = std::make_unique<TMprisService>(*player_, window_.get());
}

void TApplication::CreateList(const std::string& mountTable) {
    list_ = std::make_unique<TListWindows>(session_, *window_, *prompts_, window_->ListPageHost(),
                                           mountTable);
    playerAlbums_->Attach(&list_->Views());
    window_->SetCommandStateSource(&list_->Views());
    // Changes on disk under the list's roots bring a fast scan of those folders.
    new TFolderWatchCommands(list_->Views(), list_->Scans());
}

// The windows of the covers, FreeDB, export and playlist builder commands.
void TApplication::CreateSubsystems() {
    const auto currentAlbum = [this] { return playerAlbums_->CurrentAlbum(); };
    const auto measure = [this](Tmp3& track) { MeasureTrack(playback_.sound, track); };

    coverPrompts_ = std::make_unique<TCoverPrompts>(window_.get());
    covers_ = std::make_unique<TCoversController>(session_, *window_, *prompts_, *coverPrompts_,
                                                  currentAlbum);
    list_->Files().CacheAllCovers = [this] { covers_->CacheAllCovers(); };
    // The details panel shows the cached cover when caching is on, and a
    // picture dropped on it becomes the album's picture.
    TDetailsPanel* details = list_->Views().Page().Details();
    details->PictureSource = [this](Tm3u* album) { return covers_->AlbumPicture(album); };
    details->SetEnableDrop(true);
    connect(details, &TDropPanel::OnDropped, covers_.get(),
            [this](const QStringList& files) { covers_->PanelImageDropped(files); });
    // A new picture shows at once in the details panel and the grid.
    connect(covers_.get(), &TCoversController::PictureChanged, this,
            [this] { list_->Views().RefillAlbumGrid(); });
    connect(covers_.get(), &TCoversController::PicturesChanged, this,
            [this] { list_->Views().RefillAlbumGrid(); });

    TCddbHooks cddbHooks;
    cddbHooks.currentAlbum = currentAlbum;
    cddbHooks.showAlbum = [this](Tm3u* album) {
        if (album)
            playerAlbums_->SelectAlbum(album->Artist, album->Album, album->Genre, album->Year);
    };
    cddbHooks.measure = measure;
    cddb_ = std::make_unique<TCddbController>(session_, *window_, *prompts_, std::move(cddbHooks));
    connect(cddb_.get(), &TCddbController::albumChanged, this,
            [this] { list_->Views().RefillAlbumGrid(); });
    connect(cddb_.get(), &TCddbController::albumsRetagged, this,
            [this] { list_->Views().SortOrderChanged(); });

    export_ = std::make_unique<TExportController>(session_, *window_, *prompts_);
    CreateOptions();

    TBuilderHooks builderHooks;
    builderHooks.tools.MeasureTrack = measure;
    builderHooks.fastScan = [this] { window_->Action(TCommandId::ListFastUpdate)->trigger(); };
    builderHooks.editDetails = [this](Tm3u& album, std::string& listFormat) {
        return cddb_->EditPlaylist(album, listFormat);
    };
    builderHooks.openOptions = [this] { options_->Run(); };
    builder_ = std::make_unique<TBuilderController>(session_, *window_, *prompts_,
                                                    std::move(builderHooks));
    list_->Scans().RunPlaylistBuilder = [this](const std::vector<std::string>& roots) {
        // The new list's full scan follows at once.
        builder_->Run(roots, false);
    };
}

// The wall of covers on the browse page, with its presets and options window.
void TApplication::CreateBrowse(const TIniFile& ini) {
    TListViews& views = list_->Views();
    TListPage& page = views.Page();
    TBrowseHooks hooks;
    hooks.currentAlbum = [&page] { return page.CurrentAlbum(); };
    hooks.selectAlbum = [&page](Tm3u* album) { page.SetCurrentAlbum(album); };
    hooks.currentRow = [&page] { return page.CurrentRow() + 1; };
    hooks.rowCount = [&page] { return page.AlbumRows(); };
    hooks.selectRow = [&page](int row) { page.SetCurrentRow(row - 1); };
    hooks.picture = [this](Tm3u* album) { return covers_->AlbumPicture(album); };
    hooks.pastePicture = [this](Tm3u* album) {
        covers_->ChangeAlbumPicture(album, PictureFromClipboard);
    };
    hooks.setPictureFile = [this](Tm3u* album, const QString& file) {
        covers_->ChangeAlbumPicture(album, PictureFromFile, file);
    };
    hooks.selectionChosen = [&views] { return views.ChosenSelection() != nullptr; };
    hooks.setListBackground = [&page](const QColor& colour) {
        TDetailsPanel* details = page.Details();
        QPalette palette = details->palette();
        palette.setColor(QPalette::Window, colour);
        details->setPalette(palette);
        details->setAutoFillBackground(true);
    };
    hooks.browseShown = [this] {
        return window_->Panels().CurrentPage() == TMainPanels::BrowsePage;
    };
    browse_ = std::make_unique<TBrowseController>(session_, *window_, *prompts_, std::move(hooks));
    window_->Panels().SetBrowsePage(browse_->View());
    browse_->LoadPresets(ini);
    connect(&views, &TListViews::ViewRefilled, browse_.get(), &TBrowseController::ViewRefilled);
    connect(&views, &TListViews::CurrentAlbumShown, browse_.get(),
            &TBrowseController::CurrentAlbumShown);
    connect(covers_.get(), &TCoversController::PictureChanged, browse_.get(),
            &TBrowseController::AlbumChanged);
    connect(covers_.get(), &TCoversController::PicturesChanged, browse_.get(),
            &TBrowseController::AllPicturesChanged);
}

// The Options command over the sound layer, the player panel and the list
// page.
void TApplication::CreateOptions() {
    TOptionsHooks hooks;
    hooks.outputTypes = [] { return TSoundSystem::OutputTypeNames(); };
    hooks.driverNames = [this](int outputType) { return playback_.sound.DriverNames(outputType); };
    hooks.showSpectrum = [this](bool on) { player_->Panel()->SetSpectrumVisible(on); };
    hooks.placeCover = [this] {
        list_->Views().Page().Details()->SetPicturePosition(session_.Settings.CoverPos);
    };
    hooks.reinitSound = [this](const TSoundSetup& setup) { player_->ReinitSound(setup); };
    hooks.rebuildViews = [this] { list_->Views().SortOrderChanged(); };
    options_ = std::make_unique<TOptionsController>(session_, *window_, *prompts_, std::move(hooks));
    // The details panel and the grid show covers no longer cached.
    connect(options_.get(), &TOptionsController::cachedCoversDropped, this,
            [this] { list_->Views().RefillAlbumGrid(); });
}

void TApplication::ConnectNews() {
    TFormMain& window = *window_;
    connect(&window, &TFormMain::firstShown, this, &TApplication::FirstActivation);
    connect(&window, &TFormMain::languageChanged, &list_->Views(), &TListViews::RefreshTexts);
    connect(&window, &TFormMain::sortOrderChanged, &list_->Views(), &TListViews::SortOrderChanged);
    connect(&window, &TFormMain::recentFileChosen, &list_->Files(),
            &TListFileCommands::OpenRecentFile);
    // Covers no longer cached: the wall forgets the pictures made from them.
    connect(options_.get(), &TOptionsController::cachedCoversDropped, browse_.get(),
            &TBrowseController::AllPicturesChanged);
    connect(&window, &TFormMain::errorToShow, this,
            [this](const QString& text) { prompts_->Error(text); });
    connect(&window.Busy(), &TBusyMode::Idle, this, [this] {
        if (closePending_) QTimer::singleShot(0, window_.get(), &QWidget::close);
    });
}

int TApplication::Run() {
    signalCloser_ = std::make_unique<TSignalCloser>(window_.get());
    window_->show();
    const int code = QApplication::exec();
    // The event loop can also end without the window closing (the session
    // ends): the shutdown steps still run.
    if (window_->isVisible()) window_->close();
    return code;
}

void TApplication::FirstActivation() {
    // Also nothing when the window was closed before this queued call ran.
    if (!firstActivation_ || shutDown_) return;
    firstActivation_ = false;
    const TSettings& settings = session_.Settings;
    window_->SetLanguage(CurrentLanguage(), false);
    list_->Views().PrepareWindows();
    if (startFile_.empty())
        list_->OpenCatalogue();
    else
        list_->Files().LoadFile(startFile_);
    window_->UpdateTitleAndCommands();
    player_->RefreshQueueGrid();
    window_->Panels().SetCurrentPage(settings.CurrentPage);
    window_->Action(TCommandId::ListTree)->setChecked(settings.CurrentPageList == 1);
    list_->Views().ShowListPage(settings.CurrentPageList);
    player_->Start();
    bool queueRead;
    {
        TWaitCursor wait;
        queueRead = player_->LoadQueue(QueuePath());
    }
    player_->RefreshQueueGrid();
    FreeSplash();
    // A damaged saved queue skips the update check and the tips at this start.
    if (queueRead) ShowStartupWindows();
}

void TApplication::ShowStartupWindows() {
    window_->CheckForUpdateAndTell();
    if (shutDown_) return;  // closed while the new-version window was open
    window_->ShowTipsAtStart();
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_.get() || event->type() != QEvent::Close) return false;
    if (window_->IsBusy()) {
        // A long operation is still running inside this event: close after it.
        closePending_ = true;
        event->ignore();
        return true;
    }
    if (!shutDown_ && !Shutdown()) {
        event->ignore();
        return true;
    }
    return false;
}

bool TApplication::Shutdown() {
    shutDown_ = true;
    FreeSplash();
    for (QDialog* dialog : window_->findChildren<QDialog*>())
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
    player_->StopPlayback();
    list_->Free();
    return true;
}

// A modified list is saved (asking for a name when it has none); false when
// its save failed and the user keeps the window open.  A close by a signal
// cannot ask and goes on.
bool TApplication::SaveListIfModified() {
    return list_->BeforeExit(!window_->property(kClosingBySignal).toBool(), FirstActivationDone());
}

// mavelo.els: a failure is told; the old file stays whole.
void TApplication::SaveQueue() {
    try {
        player_->SaveQueue(QueuePath());
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}

void TApplication::WriteSettings() {
    // Keys and sections of other programs or versions are kept.
    TIniFile ini;
    if (const std::string error = LoadSettingsFile(ini); !error.empty()) {
        ReportError(QString::fromStdString(error));
        return;  // writing now would lose what could not be read
    }
    window_->StoreWindowSettings();
    player_->StoreSettings(session_.Settings);
    session_.Settings.Write(ini);
    browse_->SavePresets(ini);
    window_->SaveLayout(ini);
    try {
        ini.Save(SettingsPath());
    } catch (const std::system_error& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}

void TApplication::ReportError(const QString& text) {
    // Closing by a signal, nobody is there to close a message box: the
    // session's log gets the text.
    if (window_ && window_->property(kClosingBySignal).toBool()) {
        std::cerr << "mavelo: " << text.toStdString() << std::endl;
        return;
    }
    QWidget* parent = window_ && window_->isVisible() ? window_.get() : nullptr;
    QMessageBox::critical(parent, kProductName, text);
}

void TApplication::FreeSplash() {
    splash_.reset();
}
