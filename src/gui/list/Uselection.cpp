#include "gui/list/Uselection.h"

#include <QAction>
#include <QComboBox>

#include "collection/Um3u_obj.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/list/ListPage.h"
#include "gui/list/ListViews.h"
#include "gui/shell/ShellPort.h"
#include "views/Catalogue.h"

TSelectionCommands::TSelectionCommands(TListViews& views) : QObject(&views), views_(views) {
    TShellPort& shell = views.Shell();
    auto on = [this, &shell](TCommandId id, void (TSelectionCommands::*handler)()) {
        connect(shell.Action(id), &QAction::triggered, this, handler);
    };
    on(TCommandId::SelectionNew, &TSelectionCommands::ActionSelectionNewExecute);
    on(TCommandId::SelectionEdit, &TSelectionCommands::ActionSelectionEditExecute);
    on(TCommandId::SelectionRename, &TSelectionCommands::ActionSelectionRenameExecute);
    on(TCommandId::SelectionRemove, &TSelectionCommands::ActionSelectionRemoveExecute);
    on(TCommandId::SelectionSelectAlbum, &TSelectionCommands::ActionSelectionSelectAlbumExecute);
    on(TCommandId::SelectionAddAll, &TSelectionCommands::ActionSelectionAddAllExecute);
    connect(&views.SelectionBox(), &QComboBox::activated, this, &TSelectionCommands::CBSelClick);
    connect(&views.Page(), &TListPage::SelectionMarkClicked, this,
            &TSelectionCommands::ToggleAlbum);
}

QAction* TSelectionCommands::EditAction() const {
    return views_.Shell().Action(TCommandId::SelectionEdit);
}

TSelection* TSelectionCommands::EditedSelection() const {
    return EditAction()->isChecked() ? views_.ChosenSelection() : nullptr;
}

void TSelectionCommands::RebuildAndRefill() {
    views_.RebuildViewList();
    views_.RefillAlbumGrid();
}

void TSelectionCommands::CBSelClick(int) {
    views_.SetModified();
    views_.FilterBox().setCurrentIndex(0);
    // Leaving the edit mode needs no view of its own: choosing the filter
    // box's first entry rebuilds and refills once for both.
    if (views_.ChosenSelection()) EditAction()->setChecked(false);
    views_.ChooseFilterBoxEntry(0);
    views_.Page().SetCurrentRow(0);
}

void TSelectionCommands::SetEditMode(bool on) {
    EditAction()->setChecked(on);
    ActionSelectionEditExecute();
}

void TSelectionCommands::ActionSelectionEditExecute() {
    if (!views_.ChosenSelection()) {
        EditAction()->setChecked(false);
        return;
    }
    views_.UpdateTitle();
    RebuildAndRefill();
}

void TSelectionCommands::ActionSelectionNewExecute() {
    TSelections& selections = views_.Catalogue().Selections;
    views_.SetModified();
    const std::string name = selections.Create(LangText("NewSelection", "New selection"));
    views_.RebuildSelectionBox(selections.Find(name));
    views_.UpdateTitle();
    // The new, empty selection opens in the edit mode, over all filtered
    // albums; the marks of a selection edited before are gone.
    SetEditMode(true);
}

void TSelectionCommands::ActionSelectionRenameExecute() {
    views_.SetModified();
    TSelection* selection = views_.ChosenSelection();
    if (!selection) return;
    const auto name =
        views_.Prompts().AskText(QStr(LangText("RenameSelection", "Rename selection")),
                                 QStr(LangText("NewName", "New name :")), QStr(selection->Name));
    if (!name || name->toStdString() == selection->Name) return;
    if (!views_.Catalogue().Selections.Rename(selection->Name, name->toStdString())) return;
    views_.RebuildSelectionBox(selection);
    views_.UpdateTitle();
    RebuildAndRefill();
}

void TSelectionCommands::ActionSelectionRemoveExecute() {
    views_.SetModified();
    const TSelection* selection = views_.ChosenSelection();
    if (!selection) return;
    if (!views_.Prompts().Confirm(QStr(LangText("AreYouSure", "Are you sure ?")))) return;
    if (!views_.Catalogue().Selections.Remove(selection->Name)) return;
    views_.RebuildSelectionBox();
    RebuildAndRefill();
    views_.UpdateTitle();
}

void TSelectionCommands::ToggleAlbum(Tm3u* album) {
    TSelection* selection = EditedSelection();
    if (!album || !selection) return;
    ToggleMembership(*selection, *album);
    views_.SetModified();  // the list file keeps the members
    views_.Page().RefreshMarks();
}

void TSelectionCommands::ActionSelectionSelectAlbumExecute() {
    ToggleAlbum(views_.Page().CurrentAlbum());
    emit views_.ViewRefilled();
}

void TSelectionCommands::ActionSelectionAddAllExecute() {
    TSelection* selection = EditedSelection();
    const Tm3u* current = views_.Page().CurrentAlbum();
    if (!selection || !current) return;
    AddOrRemoveAll(*selection, views_.Catalogue().View.Albums(), *current);
    views_.SetModified();
    views_.Page().RefreshMarks();
    emit views_.ViewRefilled();
}
