#include "gui/browse/Ubrowseoptions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/Ulang.h"
#include "gui/browse/BrowseOptionParts.h"
#include "gui/browse/BrowsePanelPainter.h"
#include "gui/common/DialogParts.h"
#include "gui/common/Prompts.h"

namespace {
QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}

std::optional<QColor> AskColor(QWidget* parent, const QColor& start, const QString& title) {
    const QColor color = QColorDialog::getColor(start, parent, title);
    if (!color.isValid()) return std::nullopt;
    return color;
}

// The font dialog, then the colour of the text.
std::optional<TBrowseFont> AskFont(QWidget* parent, const TBrowseFont& start,
                                   const QString& title) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, ToQFont(start), parent, title);
    if (!ok) return std::nullopt;
    const QColor color = QColorDialog::getColor(ToQColor(start.Color), parent, title);
    return FromQFont(font, color.isValid() ? FromQColor(color) : start.Color);
}
}  // namespace

TFormBrowseOptions::TFormBrowseOptions(TBrowseDetailsList& presets, TPrompts& prompts,
                                       QWidget* parent)
    : QDialog(parent, Qt::Tool), presets_(presets), prompts_(prompts) {
    setObjectName("FormBrowseOptions");
    setWindowTitle("Browse options");
    setModal(false);
    ChooseColor = [this](const QColor& start, const QString& title) {
        return AskColor(this, start, title);
    };
    ChooseFont = [this](const TBrowseFont& start, const QString& title) {
        return AskFont(this, start, title);
    };
    auto* left = new QVBoxLayout;
    left->addWidget(MakeSizes());
    left->addWidget(MakeColours());
    left->addWidget(MakeTexts());
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addWidget(MakePresets(), 2);
    ShowDetails();
}

QSpinBox* TFormBrowseOptions::MakeSpin(const char* name, int minimum, int maximum) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    connect(spin, &QSpinBox::valueChanged, this, &TFormBrowseOptions::SizeChanged);
    return spin;
}

TColorSwatch* TFormBrowseOptions::MakeSwatch(const char* name) {
    auto* swatch = new TColorSwatch(name, this);
    connect(swatch, &QToolButton::clicked, this, [this, swatch] { SwatchClicked(swatch); });
    return swatch;
}

QCheckBox* TFormBrowseOptions::MakeCheck(const char* name, const QString& caption) {
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(name);
    connect(check, &QCheckBox::clicked, this, &TFormBrowseOptions::FlagClicked);
    return check;
}

QWidget* TFormBrowseOptions::MakeSizes() {
    auto* box = new QGroupBox("Cover panels", this);
    box->setObjectName("GroupBoxSizes");
    width_ = MakeSpin("SEPanelWidth", TBrowseDetails::kMinimumSide, 400);
    height_ = MakeSpin("SEPanelHeight", TBrowseDetails::kMinimumSide, 400);
    space_ = MakeSpin("SEPanelSpace", 0, 50);
    auto* grid = new QGridLayout(box);
    const struct {
        const char* name;
        const char* caption;
        QSpinBox* spin;
    } rows[] = {{"LabelPanelWidth", "Cover panel width", width_},
                {"LabelPanelHeight", "Cover panel height", height_},
                {"LabelPanelSpace", "Space between panels", space_}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(r.caption, box);
        label->setObjectName(r.name);
        label->setBuddy(r.spin);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.spin, row++, 1);
    }
    return box;
}

QWidget* TFormBrowseOptions::MakeColours() {
    auto* box = new QGroupBox("Colours", this);
    box->setObjectName("GroupBoxColours");
    background_ = MakeSwatch("ShapeBackground");
    panel_ = MakeSwatch("ShapePanel");
    selected_ = MakeSwatch("ShapeSelectedPanel");
    inSelection_ = MakeSwatch("ShapeInSelectionPanel");
    auto* grid = new QGridLayout(box);
    const struct {
        const char* name;
        const char* caption;
        TColorSwatch* swatch;
    } rows[] = {{"LabelBackground", "Background", background_},
                {"LabelPanel", "Panel", panel_},
                {"LabelSelectedPanel", "Selected", selected_},
                {"LabelInSelectionPanel", "In current selection", inSelection_}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(r.caption, box);
        label->setObjectName(r.name);
        grid->addWidget(r.swatch, row / 2, (row % 2) * 2);
        grid->addWidget(label, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    border_ = MakeCheck("CheckPanelBorder", "View panel border");
    listColor_ = MakeCheck("CheckBoxListViewColor", "Same background in list view");
    grid->addWidget(border_, 2, 0, 1, 4);
    grid->addWidget(listColor_, 3, 0, 1, 4);
    return box;
}

QWidget* TFormBrowseOptions::MakeTexts() {
    auto* box = new QGroupBox("Texts", this);
    box->setObjectName("GroupBoxTexts");
    artistFont_ = new TFontButton("ButtonArtist", "Artist font", box);
    albumFont_ = new TFontButton("ButtonAlbum", "Album font", box);
    yearFont_ = new TFontButton("ButtonYear", "Year font", box);
    artist3D_ = MakeCheck("CheckArtist", "3D");
    album3D_ = MakeCheck("CheckAlbum", "3D");
    year3D_ = MakeCheck("CheckYear", "3D");
    artistHighlight_ = MakeSwatch("ShapeArtist");
    albumHighlight_ = MakeSwatch("ShapeAlbum");
    yearHighlight_ = MakeSwatch("ShapeYear");
    auto* grid = new QGridLayout(box);
    const struct {
        TFontButton* font;
        QCheckBox* raised;
        TColorSwatch* highlight;
    } rows[] = {{artistFont_, artist3D_, artistHighlight_},
                {albumFont_, album3D_, albumHighlight_},
                {yearFont_, year3D_, yearHighlight_}};
    int row = 0;
    for (const auto& r : rows) {
        connect(r.font, &QPushButton::clicked, this, [this, b = r.font] { FontClicked(b); });
        grid->addWidget(r.font, row, 0);
        grid->addWidget(r.raised, row, 1);
        grid->addWidget(r.highlight, row++, 2);
    }
    grid->setColumnStretch(0, 1);
    return box;
}

QWidget* TFormBrowseOptions::MakePresets() {
    auto* panel = new QWidget(this);
    list_ = new QListWidget(panel);
    list_->setObjectName("ListBoxPresets");
    auto* buttons = new QGridLayout;
    const struct {
        const char* name;
        const char* caption;
        void (TFormBrowseOptions::*handler)();
    } commands[] = {{"SpeedButtonNew", "New preset", &TFormBrowseOptions::SpeedButtonNewClick},
                    {"SpeedButtonOverwrite", "Overwrite",
                     &TFormBrowseOptions::SpeedButtonOverwriteClick},
                    {"SpeedButtonLoad", "Load", &TFormBrowseOptions::SpeedButtonLoadClick},
                    {"SpeedButtonDelete", "Delete", &TFormBrowseOptions::SpeedButtonDeleteClick}};
    int i = 0;
    for (const auto& c : commands) {
        auto* button = MakeButton(panel, c.name, c.caption);
        connect(button, &QPushButton::clicked, this, c.handler);
        buttons->addWidget(button, i / 2, i % 2);
        ++i;
    }
    auto* close = MakeButton(panel, "SpeedButtonClose", "Close");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* help = MakeHelpButton(panel, "browseopt.htm");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeHeading(panel, "LabelPresets", "PRESETS"));
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    layout->addLayout(ButtonRow({help}, {close}));
    return panel;
}

void TFormBrowseOptions::showEvent(QShowEvent* event) {
    ShowDetails();
    QDialog::showEvent(event);
}

void TFormBrowseOptions::ShowDetails() {
    updating_ = true;
    const TBrowseDetails& d = presets_.Current();
    width_->setValue(d.Width);
    height_->setValue(d.Height);
    space_->setValue(d.Space);
    background_->SetColor(d.BackgroundColor);
    panel_->SetColor(d.PanelColor);
    selected_->SetColor(d.SelectedPanelColor);
    inSelection_->SetColor(d.InSelectionPanelColor);
    artistHighlight_->SetColor(d.Artist3DColor);
    albumHighlight_->SetColor(d.Album3DColor);
    yearHighlight_->SetColor(d.Year3DColor);
    border_->setChecked(d.PanelBorder);
    listColor_->setChecked(d.SetListBackColor);
    artist3D_->setChecked(d.Artist3D);
    album3D_->setChecked(d.Album3D);
    year3D_->setChecked(d.Year3D);
    artistFont_->SetFont(d.ArtistFont);
    albumFont_->SetFont(d.AlbumFont);
    yearFont_->SetFont(d.YearFont);
    ShowRaisedLook();
    ShowPresetNames();
    updating_ = false;
}

void TFormBrowseOptions::ShowRaisedLook() {
    artistFont_->SetRaised(artist3D_->isChecked(), artistHighlight_->Color());
    albumFont_->SetRaised(album3D_->isChecked(), albumHighlight_->Color());
    yearFont_->SetRaised(year3D_->isChecked(), yearHighlight_->Color());
}

void TFormBrowseOptions::ShowPresetNames() {
    const int row = list_->currentRow();
    list_->clear();
    for (const auto& name : presets_.PresetNames()) list_->addItem(QString::fromStdString(name));
    if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
}

std::optional<size_t> TFormBrowseOptions::SelectedPreset() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return std::nullopt;
    return static_cast<size_t>(list_->row(item)) + 1;
}

void TFormBrowseOptions::SizeChanged() {
    if (updating_) return;
    TBrowseDetails& d = presets_.Current();
    d.Width = width_->value();
    d.Height = height_->value();
    d.Space = space_->value();
    emit LayoutChanged();
}

void TFormBrowseOptions::StoreStyle() {
    TBrowseDetails& d = presets_.Current();
    d.BackgroundColor = background_->Color();
    d.PanelColor = panel_->Color();
    d.SelectedPanelColor = selected_->Color();
    d.InSelectionPanelColor = inSelection_->Color();
    d.PanelBorder = border_->isChecked();
    d.Artist3DColor = artistHighlight_->Color();
    d.Album3DColor = albumHighlight_->Color();
    d.Year3DColor = yearHighlight_->Color();
    d.ArtistFont = artistFont_->Font();
    d.AlbumFont = albumFont_->Font();
    d.YearFont = yearFont_->Font();
}

void TFormBrowseOptions::SwatchClicked(TColorSwatch* swatch) {
    const auto color = ChooseColor(ToQColor(swatch->Color()), windowTitle());
    if (!color) return;
    swatch->SetColor(FromQColor(*color));
    ShowRaisedLook();
    StoreStyle();
    emit StyleChanged();
}

void TFormBrowseOptions::FlagClicked() {
    if (updating_) return;
    TBrowseDetails& d = presets_.Current();
    d.PanelBorder = border_->isChecked();
    d.SetListBackColor = listColor_->isChecked();
    d.Artist3D = artist3D_->isChecked();
    d.Album3D = album3D_->isChecked();
    d.Year3D = year3D_->isChecked();
    ShowRaisedLook();
    emit StyleChanged();
}

void TFormBrowseOptions::FontClicked(TFontButton* button) {
    QString caption = button->text();
    const auto font = ChooseFont(button->Font(), caption.remove('&'));
    if (!font) return;
    button->SetFont(*font);
    TBrowseDetails& d = presets_.Current();
    d.ArtistFont = artistFont_->Font();
    d.AlbumFont = albumFont_->Font();
    d.YearFont = yearFont_->Font();
    emit StyleChanged();
}

void TFormBrowseOptions::SpeedButtonNewClick() {
    const auto name = prompts_.AskText(Lang("NewBrowsePreset1", "New browse mode preset"),
                                       Lang("NewBrowsePreset2", "Preset name :"), QString());
    if (!name || name->trimmed().isEmpty()) return;
    if (presets_.AddFromCurrent(name->toStdString()) == TBrowsePresetResult::NameExists) {
        prompts_.Error(
            Lang("BrowsePresetExists", "This browse mode preset name already exists"));
        return;
    }
    ShowPresetNames();
    list_->setCurrentRow(list_->count() - 1);
}

void TFormBrowseOptions::SpeedButtonOverwriteClick() {
    const auto selected = SelectedPreset();
    if (!selected) {
        prompts_.Error(Lang("NoSelectedBrowsePreset", "No selected browse mode preset !"));
        return;
    }
    if (prompts_.Confirm(Lang("AreYouSure", "Are you sure ?")))
        presets_.OverwriteWithCurrent(selected);
}

void TFormBrowseOptions::SpeedButtonLoadClick() {
    const auto selected = SelectedPreset();
    if (!selected) {
        prompts_.Error(Lang("NoSelectedBrowsePreset", "No browse mode preset is selected !"));
        return;
    }
    presets_.LoadIntoCurrent(selected);
    ShowDetails();
    emit PresetLoaded();
}

void TFormBrowseOptions::SpeedButtonDeleteClick() {
    const auto selected = SelectedPreset();
    if (!selected) {
        prompts_.Error(Lang("NoSelectedBrowsePreset", "No browse mode preset is selected !"));
        return;
    }
    if (!prompts_.Confirm(Lang("AreYouSure", "Are you sure ?"))) return;
    presets_.Delete(selected);
    list_->setCurrentRow(-1);
    ShowPresetNames();
}
