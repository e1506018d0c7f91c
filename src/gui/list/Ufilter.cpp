#include "gui/list/Ufilter.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/DialogParts.h"
#include "gui/common/Prompts.h"
#include "gui/list/Ufilteradd.h"
#include "views/Catalogue.h"

namespace {
const char* const kFilterFiles = "Mavelo filters (*.mvf)";
const char* const kHint =
    "Artist and genre can be : artist1;artist2;artist3 ... or \"arti\";\"tist;rti\". Year can "
    "be 1970;1971 or 1980-1990;1999 or 1980- or -1970";

QString Named(const std::string& name) {
    return " (" + QStr(name) + ")";
}
}  // namespace

TFormFilter::TFormFilter(TCatalogue& catalogue, TPrompts& prompts, TFormFilterAdd& pickWindow,
                         QWidget* parent)
    : QDialog(parent, Qt::Tool), catalogue_(catalogue), prompts_(prompts), pickWindow_(pickWindow) {
    setObjectName("FormFilter");
    setWindowTitle("Filters");
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeCriteria(), 3);
    layout->addWidget(MakePresetPanel(), 2);
    SetTabOrder({artist_, genre_, year_, apply_, presets_});
    resize(560, 330);
}

QPlainTextEdit* TFormFilter::MakeMemo(const char* name) {
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName(name);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setTabChangesFocus(true);
    memo->installEventFilter(this);
    return memo;
}

QWidget* TFormFilter::MakeCriteria() {
    auto* panel = new QWidget(this);
    artist_ = MakeMemo("MemoArtist");
    genre_ = MakeMemo("MemoGenre");
    year_ = MakeMemo("MemoYear");
    auto* grid = new QGridLayout;
    const struct {
        const char* label;
        const char* caption;
        const char* button;
        QPlainTextEdit* memo;
        TPickField field;
    } rows[] = {{"LabelArtist", "Artist", "SpeedButtonArtist", artist_, TPickField::Artist},
                {"LabelGenre", "Genre", "SpeedButtonGenre", genre_, TPickField::Genre},
                {"LabelYear", "Year", "SpeedButtonYear", year_, TPickField::Year}};
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(MakeHeading(this, r.label, r.caption), row, 0);
        auto* pick = MakeButton(this, r.button, "...");
        pick->setFocusPolicy(Qt::NoFocus);
        pick->setFixedWidth(pick->fontMetrics().horizontalAdvance("....") + 12);
        const TPickField field = r.field;
        connect(pick, &QPushButton::clicked, this, [this, field] { Pick(field); });
        grid->addWidget(r.memo, row, 1);
        grid->addWidget(pick, row, 2, Qt::AlignTop);
        ++row;
    }
    auto* hint = new QLabel(kHint, this);
    hint->setObjectName("LabelHint");
    hint->setWordWrap(true);

    auto* clear = MakeButton(this, "SpeedButtonClear", "Clear");
    apply_ = MakeButton(this, "SpeedButtonApply", "Apply");
    apply_->setDefault(true);
    auto* close = MakeButton(this, "SpeedButtonClose", "Close");
    connect(clear, &QPushButton::clicked, this, &TFormFilter::Clear);
    connect(apply_, &QPushButton::clicked, this, &TFormFilter::Apply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid, 1);
    layout->addWidget(hint);
    layout->addLayout(ButtonRow({MakeHelpButton(this, "filter.htm")}, {clear, apply_, close}));
    return panel;
}

QWidget* TFormFilter::MakePresetPanel() {
    auto* panel = new QWidget(this);
    presets_ = new QListWidget(panel);
    presets_->setObjectName("LBPref");
    presets_->setStyleSheet("QListWidget::item:selected { background: #D1E6EF; color: black; }");
    connect(presets_, &QListWidget::itemDoubleClicked, this, &TFormFilter::ReadPreset);
    auto* buttons = new QGridLayout;
    const struct {
        const char* name;
        const char* caption;
        void (TFormFilter::*command)();
    } commands[] = {{"SpeedButtonNew", "New", &TFormFilter::NewPreset},
                    {"SpeedButtonWrite", "Write", &TFormFilter::WritePreset},
                    {"SpeedButtonRead", "Read", &TFormFilter::ReadPreset},
                    {"SpeedButtonRename", "Rename", &TFormFilter::RenamePreset},
                    {"SpeedButtonDelete", "Delete", &TFormFilter::DeletePreset},
                    {"SpeedButtonLoad", "Load", &TFormFilter::Load},
                    {"SpeedButtonSave", "Save", &TFormFilter::Save}};
    int i = 0;
    for (const auto& c : commands) {
        auto* button = MakeButton(this, c.name, c.caption);
        connect(button, &QPushButton::clicked, this, c.command);
        buttons->addWidget(button, i / 2, i % 2);
        ++i;
    }
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeHeading(this, "LabelPresets", "PRESETS"));
    layout->addWidget(presets_, 1);
    layout->addLayout(buttons);
    return panel;
}

QPlainTextEdit* TFormFilter::Memo(TPickField field) const {
    switch (field) {
        case TPickField::Artist:
            return artist_;
        case TPickField::Genre:
            return genre_;
        default:
            return year_;
    }
}

void TFormFilter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowFields();
    ShowPresets();
    artist_->setFocus();
}

bool TFormFilter::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a field presses the default button instead of adding a line.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            apply_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormFilter::ShowFields() {
    const TFilter& edited = catalogue_.Filters.Edited;
    artist_->setPlainText(QStr(edited.Artist));
    genre_->setPlainText(QStr(edited.Genre));
    year_->setPlainText(QStr(edited.Year));
}

void TFormFilter::ShowPresets() {
    const TFilterList& list = catalogue_.Filters.Presets;
    presets_->clear();
    for (const auto& preset : list.Presets) presets_->addItem(QStr(preset.Name));
    if (list.ValidIndex(list.ChosenIndex)) presets_->setCurrentRow(list.ChosenIndex);
}

void TFormFilter::TakeFields() {
    TFilter& edited = catalogue_.Filters.Edited;
    edited.Artist = TakeCriterion(artist_->toPlainText().toStdString());
    edited.Genre = TakeCriterion(genre_->toPlainText().toStdString());
    edited.Year = TakeCriterion(year_->toPlainText().toStdString());
}

int TFormFilter::SelectedPreset() const {
    const int row = presets_->currentRow();
    const bool selected = row >= 0 && presets_->item(row)->isSelected();
    return selected && catalogue_.Filters.Presets.ValidIndex(row) ? row : -1;
}

void TFormFilter::Apply() {
    TakeFields();
    catalogue_.Filters.Applied = catalogue_.Filters.Edited;
    emit FilterChanged();
}

void TFormFilter::Clear() {
    catalogue_.Filters.Edited.Clear();
    ShowFields();
}

void TFormFilter::Pick(TPickField field) {
    pickWindow_.SetItems(CollectPickList(catalogue_.Albums(), field));
    if (pickWindow_.exec() != QDialog::Accepted) return;
    QPlainTextEdit* memo = Memo(field);
    memo->setPlainText(
        QStr(AppendPickedItems(memo->toPlainText().toStdString(), pickWindow_.ChosenItems())));
}

void TFormFilter::NewPreset() {
    TakeFields();
    const auto name =
        prompts_.AskText(QStr(LangText("NewPreset1", "New preset")),
                         QStr(LangText("NewPreset2", "Name of the new preset :")), QString());
    if (!name) return;
    catalogue_.Filters.Presets.AddAndChoose(name->toStdString(), catalogue_.Filters.Edited);
    ShowPresets();
    emit PresetsChanged();
}

void TFormFilter::WritePreset() {
    const int index = SelectedPreset();
    if (index < 0) return;
    TFilterList& list = catalogue_.Filters.Presets;
    if (!prompts_.Confirm(QStr(LangText("OverwritePreset", "Overwrite preset ?")) +
                          Named(list.Presets[size_t(index)].Name)))
        return;
    list.ChosenIndex = index;
    TakeFields();
    list.Presets[size_t(index)].Filter = catalogue_.Filters.Edited;
    emit PresetsChanged();
}

void TFormFilter::ReadPreset() {
    const int index = SelectedPreset();
    if (index < 0) return;
    TFilterList& list = catalogue_.Filters.Presets;
    catalogue_.Filters.Edited = list.Presets[size_t(index)].Filter;
    list.ChosenIndex = index;
    ShowFields();
    Apply();
}

void TFormFilter::RenamePreset() {
    const int index = SelectedPreset();
    if (index < 0) return;
    TFilterList& list = catalogue_.Filters.Presets;
    list.ChosenIndex = index;
    const auto name = prompts_.AskText(QStr(LangText("RenamePreset1", "Preset rename")),
                                       QStr(LangText("RenamePreset2", "New name :")),
                                       QStr(list.Presets[size_t(index)].Name));
    if (!name || name->isEmpty()) return;
    list.Presets[size_t(index)].Name = name->toStdString();
    ShowPresets();
    emit PresetsChanged();
}

void TFormFilter::DeletePreset() {
    const int index = SelectedPreset();
    if (index < 0) return;
    TFilterList& list = catalogue_.Filters.Presets;
    list.ChosenIndex = index;
    if (!prompts_.Confirm(
            QStr(LangText("DeletePreset", "Do you really want to delete this preset ?")) +
            Named(list.Presets[size_t(index)].Name)))
        return;
    list.Delete(index);
    ShowPresets();
    emit FilterChanged();
}

void TFormFilter::Load() {
    const QString path = prompts_.OpenFileName(QStr(ProgramFolder()), kFilterFiles);
    if (!path.isEmpty()) LoadFilterFile(path);
}

void TFormFilter::LoadFilterFile(const QString& path) {
    // A damaged file changes nothing: it is read into a copy first.
    TFilterState loaded = catalogue_.Filters;
    try {
        loaded.LoadFile(path.toStdString());
    } catch (const std::exception& error) {
        prompts_.Error(QStr(LangText("CouldNotReadFile", "Could not read file")) + ' ' + path +
                       '\n' + QStr(error.what()));
        return;
    }
    catalogue_.Filters = std::move(loaded);
    ShowFields();
    ShowPresets();
    artist_->setFocus();
    Apply();
}

void TFormFilter::Save() {
    const QString path = prompts_.SaveFileName(QStr(ProgramFolder()), kFilterFiles);
    if (!path.isEmpty()) SaveFilterFile(path);
}

void TFormFilter::SaveFilterFile(const QString& path) {
    try {
        catalogue_.Filters.SaveFile(path.toStdString());
    } catch (const std::exception& error) {
        prompts_.Error(QStr(error.what()));
    }
}
