#include "gui/export/Uexport.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/PumpEvents.h"
#include "export/Template.h"
#include "gui/common/DialogParts.h"
#include "gui/common/Prompts.h"
#include "gui/common/Session.h"
#include "gui/export/Utemplate.h"
#include "gui/shell/ShellPort.h"

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

// A row of an edit and the buttons beside it.
QHBoxLayout* Row(QWidget* edit, std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    for (QWidget* b : buttons) row->addWidget(b);
    return row;
}

// Busy mode for as long as the export runs, however it ends.
struct TBusy {
    TShellPort& shell;
    explicit TBusy(TShellPort& s) : shell(s) { shell.SetBusy(true); }
    ~TBusy() { shell.SetBusy(false); }
};
}  // namespace

TFormExport::TFormExport(TSession& session, TShellPort& shell, TPrompts& prompts, QWidget* parent)
    : QDialog(parent), session_(session), shell_(shell), prompts_(prompts) {
    setObjectName("FormExport");
    setWindowTitle("Export");
    setModal(true);
    resize(560, 440);
    editor_ = new TFormTemplate(prompts, this);
    OpenFile = [](const std::string& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };

    template_ = new QLineEdit(this);
    template_->setObjectName("EditTemplate");
    template_->setReadOnly(true);
    auto* load = MakeButton(this, "SpeedButtonLoad", "Choose...");
    edit_ = MakeButton(this, "SpeedButtonEdit", "Edit...");
    output_ = new QLineEdit(this);
    output_->setObjectName("EditOutput");
    auto* save = MakeButton(this, "SpeedButtonSave", "Browse...");
    limit_ = new QSpinBox(this);
    limit_->setObjectName("SpinEditLimit");
    limit_->setMinimum(1);
    open_ = new QCheckBox("Open the result file after the export", this);
    open_->setObjectName("CheckBoxOpen");
    log_ = new QPlainTextEdit(this);
    log_->setObjectName("MemoLog");
    log_->setReadOnly(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    perform_ = MakeButton(this, "SpeedButtonPerform", "Perform export");
    perform_->setDefault(true);
    auto* close = MakeButton(this, "SpeedButtonClose", "Cancel");

    connect(load, &QPushButton::clicked, this, &TFormExport::ChooseTemplate);
    connect(edit_, &QPushButton::clicked, this, &TFormExport::EditTemplate);
    connect(save, &QPushButton::clicked, this, &TFormExport::ChooseOutput);
    connect(perform_, &QPushButton::clicked, this, &TFormExport::PerformExport);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(output_, &QLineEdit::textChanged, this, &TFormExport::UpdateButtons);

    auto* fields = new QFormLayout;
    fields->addRow(MakeLabel(this, "LabelTemplate", "Template"), Row(template_, {load, edit_}));
    fields->addRow(MakeLabel(this, "LabelOutput", "Output file"), Row(output_, {save}));
    fields->addRow(MakeLabel(this, "LabelLimit", "Number of albums to export"), limit_);
    fields->addRow(open_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MakeHelpButton(this, "export.htm"));
    buttons->addStretch();
    buttons->addWidget(perform_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(log_, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    ReadSettings();
}

void TFormExport::ReadSettings() {
    template_->setText(QString::fromStdString(session_.Settings.Template));
    output_->setText(QString::fromStdString(session_.Settings.Output));
    open_->setChecked(session_.Settings.Open);
}

void TFormExport::StoreSettings() const {
    session_.Settings.Template = template_->text().toStdString();
    session_.Settings.Output = output_->text().toStdString();
    session_.Settings.Open = open_->isChecked();
}

std::string TFormExport::TemplatePath() const {
    const std::string name = template_->text().toStdString();
    return name.empty() ? name : ResolveTemplatePath(name);
}

std::string TFormExport::OutputPath() const {
    const std::string name = output_->text().toStdString();
    if (name.empty() || name.front() == '/') return name;
    return ProgramFolder() + name;
}

void TFormExport::Activate() {
    const int albums = static_cast<int>(session_.Catalogue.View.Count());
    limit_->setMaximum(std::max(albums, 1));
    limit_->setValue(albums);
    const std::string path = TemplatePath();
    if (path.empty() || !FileExists(path))
        template_->clear();
    else
        UseTemplate(path);
    UpdateButtons();
}

void TFormExport::UseTemplate(const std::string& path) {
    editor_->Open(path);
    ApplyFileType();
}

// The output's extension after the template's "@#" header.
void TFormExport::ApplyFileType() {
    std::string firstLine;
    const std::string path = TemplatePath();
    if (!path.empty() && FileExists(path)) {
        try {
            firstLine = FirstLine(ReadWholeFile(path));
        } catch (const std::exception&) {
            // An unreadable template has no header: the text file type.
        }
    }
    const std::string ext = FilterExtension(TemplateFileFilter(firstLine));
    const std::string output = output_->text().toStdString();
    if (!output.empty())
        output_->setText(QString::fromStdString(OutputNameWithExtension(output, ext)));
}

void TFormExport::ChooseTemplate() {
    const QString name =
        prompts_.OpenFileName(QString::fromStdString(ProgramFolder()), TFormTemplate::kFilter);
    if (name.isEmpty()) return;
    template_->setText(name);
    UseTemplate(name.toStdString());
    UpdateButtons();
}

void TFormExport::EditTemplate() {
    editor_->Open(TemplatePath());
    RunModal(*editor_);
    template_->setText(QString::fromStdString(editor_->Path()));
    ApplyFileType();
    UpdateButtons();
}

void TFormExport::ChooseOutput() {
    const std::string filter = TemplateFileFilter(FirstLine(editor_->Text().toStdString()));
    const size_t bar = filter.find('|');
    const QString name =
        prompts_.SaveFileName(QString::fromStdString(ExtractFilePath(OutputPath())),
                              QString::fromStdString(filter.substr(0, bar)).trimmed());
    if (!name.isEmpty()) output_->setText(name);
}

void TFormExport::PerformExport() {
    stages_.Reset();
    log_->clear();
    TTemplateExporter exporter;
    exporter.SetProgressCallback([this](int stage, int64_t position, int64_t maximum) {
        Progress(stage, position, maximum);
    });
    exporter.SetCommentCallback([this](const std::string& text) { AddLogLine(text); });
    const std::string output = OutputPath();
    bool written = false;
    {
        TBusy busy(shell_);
        written =
            ExportAlbums(session_.Catalogue.View.Albums(),
                         {TemplatePath(), output, static_cast<size_t>(limit_->value())}, exporter);
    }
    StoreSettings();
    // Only a file this export wrote is opened (never the template itself).
    if (written && FileExists(output) && open_->isChecked() && OpenFile) OpenFile(output);
}

void TFormExport::Progress(int stage, int64_t position, int64_t maximum) {
    if (auto line = stages_.LineFor(stage)) AddLogLine(*line);
    progress_->setRange(0, static_cast<int>(std::clamp<int64_t>(maximum, 0, INT32_MAX)));
    progress_->setValue(static_cast<int>(std::clamp<int64_t>(position, 0, INT32_MAX)));
    PumpEvents();
}

void TFormExport::AddLogLine(const std::string& line) {
    log_->appendPlainText(QString::fromStdString(line));
}

// Perform needs a template, an output name and albums; Edit works without a
// template too (it starts a new one).
void TFormExport::UpdateButtons() {
    perform_->setEnabled(!template_->text().isEmpty() && !output_->text().trimmed().isEmpty() &&
                         !session_.Catalogue.View.Empty());
}
