#include "gui/builder/BuilderController.h"

#include <QAction>

#include "core/Ulang.h"
#include "gui/builder/Ulistbuilder.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/shell/ShellPort.h"

TBuilderController::TBuilderController(TSession& session, TShellPort& shell, TPrompts& prompts,
                                       TBuilderHooks hooks)
    : session_(session), shell_(shell), prompts_(prompts), hooks_(std::move(hooks)) {
    form_ = std::make_unique<TFormListBuilder>(shell.Window(), prompts, hooks_.tools);
    form_->editDetails = hooks_.editDetails;
    if (hooks_.openOptions)
        form_->openOptions = [this](std::string& listFormat) {
            // The options show the builder's format and may give a new one.
            session_.Settings.ListFormat = listFormat;
            hooks_.openOptions();
            listFormat = session_.Settings.ListFormat;
        };
    shell.RegisterTranslatableWindow(form_.get());
    connect(shell.Action(TCommandId::ToolsPlaylistBuilder), &QAction::triggered, this,
            &TBuilderController::RunOnCatalogueRoots);
}

TBuilderController::~TBuilderController() = default;

void TBuilderController::RunOnCatalogueRoots() {
    Run(session_.Catalogue.Roots.Folders());
}

void TBuilderController::Run(const std::vector<std::string>& roots, bool offerFastScan) {
    form_->SetRoots(roots);
    form_->SetListFormat(session_.Settings.ListFormat);
    form_->Open();
    prompts_.RunModal(*form_);
    // The album name format chosen in the builder is kept.
    session_.Settings.ListFormat = form_->ListFormat();
    if (offerFastScan && hooks_.fastScan &&
        prompts_.Confirm(QString::fromStdString(
            LangText("FastUpdateList", "Do you want to fast scan your current list ?"))))
        hooks_.fastScan();
}
