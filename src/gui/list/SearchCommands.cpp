#include "gui/list/SearchCommands.h"

#include <QAction>

#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/list/Usearch.h"
#include "gui/shell/ShellPort.h"
#include "views/Catalogue.h"

TSearchCommands::TSearchCommands(TListViews& views) : QObject(&views), views_(views) {
    TShellPort& shell = views.Shell();
    form_ = new TFormSearch(shell.Window());
    shell.RegisterTranslatableWindow(form_);
    connect(shell.Action(TCommandId::EditSearch), &QAction::triggered, this,
            &TSearchCommands::ActionEditSearchExecute);
    connect(shell.Action(TCommandId::EditNext), &QAction::triggered, this,
            &TSearchCommands::ActionEditNextExecute);
}

bool TSearchCommands::AskForSearch() {
    form_->Prepare(search_.Settings);
    if (form_->exec() != QDialog::Accepted) return false;
    search_.Start(form_->Settings());
    return true;
}

void TSearchCommands::ActionEditSearchExecute() {
    if (AskForSearch()) ShowNextHit();
}

void TSearchCommands::StartSearch(const TSearchSettings& settings) {
    search_.Start(settings);
    ShowNextHit();
}

void TSearchCommands::ActionEditNextExecute() {
    ShowNextHit();
}

void TSearchCommands::ShowNextHit() {
    const auto& rows = views_.Catalogue().View.Albums();
    TSearchResult result = search_.Next(rows);
    if (result.step == TSearchStep::NeedsQuery) {
        // No search yet (right after start): ask for one first.
        if (!AskForSearch()) return;
        result = search_.Next(rows);
    }
    TListPage& page = views_.Page();
    switch (result.step) {
        case TSearchStep::AlbumHit:
            page.SetCurrentRow(int(result.row));
            break;
        case TSearchStep::TrackHit:
            page.SetCurrentRow(int(result.row));
            page.SetCurrentTrack(int(result.track));
            break;
        default:
            views_.Prompts().Inform(
                QStr(LangText("SearchNothingFound",
                              "Nothing found ! Launch another search to start from the begining")));
            break;
    }
}
