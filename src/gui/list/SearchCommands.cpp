#include "gui/list/SearchCommands.h"

#include <QAction>

#include "core/Ulang.h"
#include "gui/shell/Umain.h"
#include "gui/common/AlbumMarks.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/common/Prompts.h"
#include "gui/list/Usearch.h"
#include "views/Catalogue.h"

TSearchCommands::TSearchCommands(TListViews& views) : QObject(&views), views_(views) {
    TFormMain& main = views.Main();
    form_ = new TFormSearch(&main);
    main.RegisterTranslatableWindow(form_);
    connect(main.Action("ActionEditSearch"), &QAction::triggered, this,
            &TSearchCommands::ActionEditSearchExecute);
    connect(main.Action("ActionEditNext"), &QAction::triggered, this,
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
