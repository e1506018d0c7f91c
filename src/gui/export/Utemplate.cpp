#include "gui/export/Utemplate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "export/Template.h"
#include "gui/common/DialogParts.h"
#include "gui/common/Prompts.h"

namespace {
const QColor kModifiedPage(255, 255, 248);

}  // namespace

TFormTemplate::TFormTemplate(TPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName("FormTemplate");
    setWindowTitle("Template editor");
    setModal(true);
    resize(720, 520);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("MemoTemplate");
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setTabChangesFocus(false);
    memo_->setFont(QFont("monospace"));
    pathLabel_ = new QLabel(this);
    pathLabel_->setObjectName("LabelPath");
    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(memo_, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_) MarkModified(true);
    });

    auto* apply = MakeButton(this, "SpeedButtonApply", "Apply");
    auto* discard = MakeButton(this, "SpeedButtonDiscard", "Discard changes");
    auto* saveAs = MakeButton(this, "SpeedButtonSaveAs", "Save template as");
    auto* newTemplate = MakeButton(this, "SpeedButtonNew", "New template");
    connect(apply, &QPushButton::clicked, this, &TFormTemplate::Apply);
    connect(discard, &QPushButton::clicked, this, &QDialog::reject);
    connect(saveAs, &QPushButton::clicked, this, &TFormTemplate::SaveAs);
    connect(newTemplate, &QPushButton::clicked, this, &TFormTemplate::NewTemplate);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newTemplate);
    buttons->addWidget(saveAs);
    buttons->addWidget(MakeHelpButton(this, "template.htm"));
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(discard);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel_);
    layout->addWidget(memo_, 1);
    layout->addLayout(buttons);
    MarkModified(false);
}

void TFormTemplate::Open(const std::string& path) {
    QString text;
    if (!path.empty() && FileExists(path)) {
        try {
            text = QString::fromStdString(ReadWholeFile(path));
        } catch (const std::exception& e) {
            prompts_.Error(QString::fromStdString(e.what()));
        }
    }
    loading_ = true;
    memo_->setPlainText(text);
    loading_ = false;
    SetPath(path);
    MarkModified(false);
}

QString TFormTemplate::Text() const {
    return memo_->toPlainText();
}

void TFormTemplate::Apply() {
    if (path_.empty()) {
        // A page without a file gets its name first.
        const QString name = AskFileName();
        if (name.isEmpty()) return;
        SetPath(name.toStdString());
    }
    if (SaveTo(path_)) accept();
}

void TFormTemplate::SaveAs() {
    const QString name = AskFileName();
    if (name.isEmpty()) return;
    SetPath(name.toStdString());
    SaveTo(path_);
}

void TFormTemplate::NewTemplate() {
    const QString name = AskFileName();
    if (name.isEmpty()) return;
    SetPath(name.toStdString());
    loading_ = true;
    memo_->setPlainText(QString::fromUtf8(kDefaultTemplate));
    loading_ = false;
    SaveTo(path_);
}

bool TFormTemplate::SaveTo(const std::string& path) {
    try {
        ReplaceFileContents(path, memo_->toPlainText().toStdString());
    } catch (const std::exception& e) {
        prompts_.Error(QString::fromStdString(
            LangText("CouldNotSaveTemplate", "Could not save the template") + ": " + e.what()));
        MarkModified(true);
        return false;
    }
    MarkModified(false);
    return true;
}

QString TFormTemplate::AskFileName() {
    const std::string folder = path_.empty() ? ProgramFolder() : ExtractFilePath(path_);
    return prompts_.SaveFileName(QString::fromStdString(folder), kFilter);
}

void TFormTemplate::SetPath(const std::string& path) {
    path_ = path;
    pathLabel_->setText(QString::fromStdString(path));
}

void TFormTemplate::MarkModified(bool modified) {
    modified_ = modified;
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Base, modified ? kModifiedPage : QColor(Qt::white));
    memo_->setPalette(palette);
}
