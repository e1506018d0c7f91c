#include "gui/export/ExportController.h"

#include <QAction>

#include "gui/common/Session.h"
#include "gui/export/Uexport.h"
#include "gui/export/Utemplate.h"
#include "gui/shell/ShellPort.h"

TExportController::TExportController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                     QObject* parent)
    : QObject(parent),
      session_(session),
      shell_(shell),
      form_(new TFormExport(session, shell, prompts, shell.Window())) {
    shell.RegisterTranslatableWindow(form_);
    shell.RegisterTranslatableWindow(&form_->Editor());
    connect(shell.Action(TCommandId::FileExport), &QAction::triggered, this,
            &TExportController::ShowExport);
}

TExportController::~TExportController() = default;

void TExportController::ShowExport() {
    form_->ReadSettings();  // the session's settings may have changed meanwhile
    form_->Activate();
    form_->RunModal(*form_);
    form_->StoreSettings();
}
