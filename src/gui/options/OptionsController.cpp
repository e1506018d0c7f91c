#include "gui/options/OptionsController.h"

#include <QAction>
#include <QWidget>

#include "core/Log.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/options/Uconfig.h"
#include "gui/shell/ShellPort.h"

TOptionsController::TOptionsController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                       TOptionsHooks hooks)
    : session_(session), shell_(shell), prompts_(prompts), hooks_(std::move(hooks)) {
    form_ = std::make_unique<TFormConfig>(shell.Window());
    shell.RegisterTranslatableWindow(form_.get());
    connect(shell.Action(TCommandId::EditOptions), &QAction::triggered, this,
            &TOptionsController::Run);
}

TOptionsController::~TOptionsController() = default;

void TOptionsController::Run() {
    TAudioLists audio;
    if (hooks_.outputTypes) audio.outputTypes = hooks_.outputTypes();
    audio.driverNames = hooks_.driverNames;
    form_->Prepare(session_.Settings, std::move(audio));
    prompts_.RunModal(*form_);
    Apply(form_->Values(), form_->Marks());
}

void TOptionsController::Apply(const TSettings& values, const TOptionMarks& marks) {
    const bool listWasModified = session_.Catalogue.ListModified;
    ApplyWindow(values);
    ApplySound(values, marks);
    TSettings& s = session_.Settings;
    s.FreeDB = values.FreeDB;
    s.FreeDBLogin = values.FreeDBLogin;
    s.FreeDBHostName = values.FreeDBHostName;
    s.UseFreeDB = values.UseFreeDB;
    s.Mavelo = values.Mavelo;
    s.CheckUpdates = values.CheckUpdates;
    s.FreeDBTag = values.FreeDBTag;
    s.FreeDBTagging = values.FreeDBTagging;
    s.FreeDBRenameFile = values.FreeDBRenameFile;
    s.FreeDBRenamePlayList = values.FreeDBRenamePlayList;
    s.FreeDBRenameDir = values.FreeDBRenameDir;
    s.EnablePrescan = values.EnablePrescan;
    s.Log = values.Log;
    SetLogEnabled(s.Log);
    // The folder watch follows the setting when the session says it changed.
    s.WatchFolders = values.WatchFolders;
    ApplyCovers(values, marks);
    ApplyPlayStatistics(marks);
    if (ViewNeedsRebuild(marks, s.SortString) && hooks_.rebuildViews) hooks_.rebuildViews();
    s.CoversDBDefaultPictureQuality = values.CoversDBDefaultPictureQuality;
    if (session_.Catalogue.ListModified && !listWasModified)
        session_.MarkModified();
    else
        session_.NotifyChanged();
}

// Chart lengths, name patterns and the window: stay on top, spectrum,
// splash, picture position, folder tree option.
void TOptionsController::ApplyWindow(const TSettings& values) {
    TSettings& s = session_.Settings;
    s.MostOftenPlayedCount = values.MostOftenPlayedCount;
    s.LastPlayedCount = values.LastPlayedCount;
    s.TrackFormat = values.TrackFormat;
    s.ListFormat = values.ListFormat;
    s.CDAutoScan = values.CDAutoScan;
    s.StayOnTop = values.StayOnTop;
    SetStayOnTop(s.StayOnTop);
    s.ViewSpectrum = values.ViewSpectrum;
    if (hooks_.showSpectrum) hooks_.showSpectrum(s.ViewSpectrum);
    s.ShowSplashScreen = values.ShowSplashScreen;
    if (values.CoverPos >= 0 && values.CoverPos <= 2) {
        s.CoverPos = values.CoverPos;
        if (hooks_.placeCover) hooks_.placeCover();
    }
    s.HideOneFolder = values.HideOneFolder;
}

void TOptionsController::SetStayOnTop(bool on) {
    QWidget* window = shell_.Window();
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    // A new window flag hides a top-level window: show it again.
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) window->show();
}

void TOptionsController::ApplySound(const TSettings& values, const TOptionMarks& marks) {
    if (!marks.SoundChanged) return;
    TSettings& s = session_.Settings;
    s.OutputType = values.OutputType;
    s.OutputRate = values.OutputRate;
    s.DriverIndex = values.DriverIndex;
    s.MixerType = values.MixerType;
    if (hooks_.reinitSound)
        hooks_.reinitSound({s.OutputType, s.DriverIndex < 0 ? 0 : s.DriverIndex, s.MixerType});
}

// Covers made under the old rules go: all of them when caching is off or
// the size changes, the ones taken from audio files when that is switched
// off.  New ones are made later, on demand.
void TOptionsController::ApplyCovers(const TSettings& values, const TOptionMarks& marks) {
    TSettings& s = session_.Settings;
    Tm3uList& albums = session_.Catalogue.Albums();
    const bool embeddedOff = s.EmbeddedCovers && !values.EmbeddedCovers;
    s.EmbeddedCovers = values.EmbeddedCovers;
    size_t dropped = embeddedOff ? DropCoversOfAlbumsWithoutPicture(albums) : 0;
    s.CacheCovers = values.CacheCovers;
    if (!s.CacheCovers) dropped += DropCachedCovers(albums);
    if (marks.QualityChanged) {
        s.CacheCoversQuality = values.CacheCoversQuality;
        dropped += DropCachedCovers(albums);
        // The list file keeps its covers' quality: it changed.
        session_.Catalogue.ListModified = true;
    }
    s.SaveCachedCovers = values.SaveCachedCovers;
    if (dropped > 0) session_.Catalogue.ListModified = true;
    if (dropped > 0 || marks.QualityChanged) emit cachedCoversDropped();
}

void TOptionsController::ApplyPlayStatistics(const TOptionMarks& marks) {
    Tm3uList& albums = session_.Catalogue.Albums();
    if (marks.ClearPlayCounts) {
        session_.Catalogue.ListModified = true;
        ClearPlayCounts(albums);
    }
    if (marks.ClearLastPlayed) {
        session_.Catalogue.ListModified = true;
        ClearLastPlayed(albums);
    }
}
