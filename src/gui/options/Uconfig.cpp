#include "gui/options/Uconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DialogParts.h"
#include "player/OutputChoices.h"

namespace {
constexpr int kMaxChartLength = 500000;

const char* const kMixerNames[] = {"Auto-detect",
                                   "Non-MMX blendmode mixer",
                                   "MMX, Pentium optimized blendmode mixer",
                                   "MMX, PPro/P2/P3 optimized mixer",
                                   "Auto-detect interpolating mixer",
                                   "Interpolating FPU mixer",
                                   "Interpolating Pentium mixer",
                                   "Interpolating PPro/P2/P3 mixer"};

QString Lang(const char* key, const char* english) {
    return QString::fromStdString(LangText(key, english));
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QComboBox* MakeCombo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(24);
    return box;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(1, kMaxChartLength);
    return spin;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

// A group: its heading, then its rows, a little apart from the next group.
QVBoxLayout* Group(QWidget* page, const char* headingName, const QString& heading) {
    auto* group = new QVBoxLayout;
    group->setSpacing(4);
    group->addWidget(MakeHeading(page, headingName, heading));
    return group;
}

QHBoxLayout* LabelledRow(QLabel* label, QWidget* field, QWidget* extra = nullptr) {
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(field, 1);
    if (extra) row->addWidget(extra);
    return row;
}

// Replaces the items; `current` is chosen (-1: none).
void SetItems(QComboBox* box, const QStringList& items, int current) {
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(current);
}

QStringList QualityItems() {
    return {Lang("CacheCoversQualityNormal", "Normal quality (128x128) small size"),
            Lang("CacheCoversQualityHigh", "High quality (256x256) medium size"),
            Lang("CacheCoversQualityExtra", "Extra quality (512x512) large size")};
}

// The chosen item, or the stored value when no item is chosen.
int ItemOr(const QComboBox* box, int stored) {
    return box->currentIndex() < 0 ? stored : box->currentIndex();
}
}  // namespace

TFormConfig::TFormConfig(QWidget* parent) : QDialog(parent) {
    setObjectName("FormConfig");
    setWindowTitle("Configuration");
    setModal(true);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("Notebook");
    pages_->addWidget(BuildGeneralPage());
    pages_->addWidget(BuildAudioPage());
    pages_->addWidget(BuildInternetPage());
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabSet");
    tabs_->setShape(QTabBar::RoundedSouth);
    for (int i = 0; i < 3; ++i) tabs_->addTab(QString());
    connect(tabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);

    auto* close = MakeButton(this, "SpeedButtonOk", "Close");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &TFormConfig::SpeedButtonOkClick);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(tabs_);
    bottom->addStretch(1);
    bottom->addWidget(MakeHelpButton(this, "config.htm"));
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    ConnectMarks();
}

QWidget* TFormConfig::BuildGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName("TabSheetGeneral");

    auto* window = Group(page, "LabelWindow", "WINDOW");
    stayOnTop_ = MakeCheck(page, "CheckBoxStayOnTop", "Always stay on top");
    spectrum_ = MakeCheck(page, "CheckBoxSpectrum", "View spectrum");
    showSplash_ = MakeCheck(page, "CheckBoxShowSplash", "Show loading splash screen");
    coverPos_ = MakeCombo(page, "ComboBoxCoverPos");
    coverPos_->setMinimumContentsLength(8);
    treeOne_ = MakeCheck(page, "CheckBoxTreeOne", "Hide folders with one playlist");
    for (QWidget* w : {static_cast<QWidget*>(stayOnTop_), static_cast<QWidget*>(spectrum_),
                       static_cast<QWidget*>(showSplash_)})
        window->addWidget(w);
    window->addLayout(LabelledRow(
        MakeLabel(page, "LabelCoverPos", "List mode cover art position", coverPos_), coverPos_));
    window->addWidget(treeOne_);

    auto* formats = Group(page, "LabelFileNameFormats", "FILE NAME FORMATS");
    listFileName_ = MakeEdit(page, "EditListFileName");
    trackFileName_ = MakeEdit(page, "EditTrackFileName");
    auto* formatRows = new QFormLayout;
    formatRows->addRow(MakeLabel(page, "LabelListFileName", "Playlist file name", listFileName_),
                       listFileName_);
    formatRows->addRow(MakeLabel(page, "LabelTrackFileName", "Track file name", trackFileName_),
                       trackFileName_);
    formats->addLayout(formatRows);

    auto* files = Group(page, "LabelFileSystem", "FILE SYSTEM");
    preScan_ = MakeCheck(page, "CheckBoxPreScan", "Enable directories prescan");
    logPerf_ = MakeCheck(page, "CheckBoxLogPerf", "Log performances");
    cdAutoScan_ = MakeCheck(page, "CheckBoxCdAutoScan", "mp3 cd autodetect and autoscan");
    watchFolders_ = MakeCheck(page, "CheckBoxWatchFolders",
                              "Fast scan the folders that change under the list's directories");
    for (QWidget* w : {preScan_, logPerf_, cdAutoScan_, watchFolders_}) files->addWidget(w);

    auto* caching = Group(page, "LabelCoversCaching", "COVERS CACHING");
    cacheCovers_ = MakeCheck(page, "CheckBoxCacheCovers", "Enable covers caching");
    saveCachedCovers_ =
        MakeCheck(page, "CheckBoxSaveCachedCovers", "Save cached covers in the .mvo file");
    embeddedCovers_ = MakeCheck(page, "CheckBoxEmbeddedCovers",
                                "Use the pictures inside audio files as covers");
    quality_ = MakeCombo(page, "ComboBoxQuality");
    for (QWidget* w : std::initializer_list<QWidget*>{cacheCovers_, saveCachedCovers_,
                                                      embeddedCovers_, quality_})
        caching->addWidget(w);

    auto* coversDB = Group(page, "LabelCoversDB", "CoversDB DEFAULT PICTURE QUALITY");
    cdbQuality_ = MakeCombo(page, "ComboBoxCdbQuality");
    coversDB->addWidget(cdbQuality_);

    auto* played = Group(page, "LabelPlayed", "MOST OFTEN/LAST PLAYED ALBUMS");
    mostPlayed_ = MakeSpin(page, "SpinEditMOP");
    lastPlayed_ = MakeSpin(page, "SpinEditLPA");
    clearMostPlayed_ = MakeButton(page, "SpeedButtonMOP", "Clear list");
    clearLastPlayed_ = MakeButton(page, "SpeedButtonLPA", "Clear list");
    played->addLayout(LabelledRow(
        MakeLabel(page, "LabelMOP", "Most often played display count", mostPlayed_), mostPlayed_,
        clearMostPlayed_));
    played->addLayout(LabelledRow(
        MakeLabel(page, "LabelLPA", "Last played display count", lastPlayed_), lastPlayed_,
        clearLastPlayed_));

    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QLayout* group : {window, formats, files}) left->addLayout(group);
    for (QLayout* group : {caching, coversDB, played}) right->addLayout(group);
    for (QVBoxLayout* column : {left, right}) {
        column->setSpacing(14);
        column->addStretch(1);
    }
    auto* columns = new QHBoxLayout(page);
    columns->setSpacing(24);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    return page;
}

QWidget* TFormConfig::BuildAudioPage() {
    auto* page = new QWidget(this);
    page->setObjectName("TabSheetAudio");
    outputType_ = MakeCombo(page, "cbxOutputType");
    outputDevice_ = MakeCombo(page, "cbxOutputDevice");
    mixerType_ = MakeCombo(page, "cbxMixerType");
    outputRate_ = MakeCombo(page, "cbxOutputRate");
    for (const char* mixer : kMixerNames) mixerType_->addItem(mixer);
    for (int i = 0; i < kOfferedOutputRates; ++i)
        outputRate_->addItem(QString::number(kOutputRates[std::size_t(i)]) + "Hz");
    connect(outputType_, &QComboBox::activated, this, &TFormConfig::cbxOutputTypeChange);

    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(14);
    const struct {
        const char* name;
        const char* heading;
        QComboBox* box;
    } groups[] = {{"LabelOutputType", "OUTPUT TYPE", outputType_},
                  {"LabelOutputDevice", "OUTPUT DEVICE", outputDevice_},
                  {"LabelMixerType", "MIXER TYPE", mixerType_},
                  {"LabelOutputRate", "OUTPUT RATE", outputRate_}};
    for (const auto& g : groups) {
        auto* group = Group(page, g.name, g.heading);
        group->addWidget(g.box);
        layout->addLayout(group);
    }
    layout->addStretch(1);
    return page;
}

QWidget* TFormConfig::BuildInternetPage() {
    auto* page = new QWidget(this);
    page->setObjectName("TabSheetInternet");

    auto* freeDB = Group(page, "LabelFreeDB", "FreeDB");
    freeDB_ = MakeEdit(page, "EditFreeDB");
    useFreeDB_ = MakeCheck(page, "CheckBoxFreeDB", "Enable FreeDB search");
    freeDBLogin_ = MakeEdit(page, "EditFreeDBLogin");
    freeDBHostName_ = MakeEdit(page, "EditFreeDBHostName");
    auto* freeDBRows = new QFormLayout;
    freeDBRows->addRow(MakeLabel(page, "LabelFreeDBUrl", "URL", freeDB_), freeDB_);
    freeDBRows->addRow(QString(), useFreeDB_);
    freeDBRows->addRow(MakeLabel(page, "LabelFreeDBLogin", "Login", freeDBLogin_), freeDBLogin_);
    freeDBRows->addRow(MakeLabel(page, "LabelFreeDBHostName", "Host name", freeDBHostName_),
                       freeDBHostName_);
    freeDB->addLayout(freeDBRows);

    auto* updates = Group(page, "LabelUpdates", "Mavelo UPDATES");
    mavelo_ = MakeEdit(page, "EditMavelo");
    checkUpdates_ =
        MakeCheck(page, "CheckBoxCheckUpdates", "Check for updates (performed every week)");
    auto* updateRows = new QFormLayout;
    updateRows->addRow(MakeLabel(page, "LabelMaveloUrl", "URL", mavelo_), mavelo_);
    updateRows->addRow(QString(), checkUpdates_);
    updates->addLayout(updateRows);

    auto* albumUpdate = Group(page, "LabelFreeDBUpdate", "FreeDB ALBUM UPDATE");
    freeDBTag_ = MakeCheck(page, "CheckBoxFreeDBTag", "Tag track files");
    freeDBRenameFile_ = MakeCheck(page, "CheckBoxFreeDBRenameFile", "Rename track files");
    freeDBRenamePlaylist_ =
        MakeCheck(page, "CheckBoxFreeDBRenamePlaylist", "Rename playlist file");
    freeDBRenameDir_ = MakeCheck(page, "CheckBoxFreeDBRenameDir", "Rename directory");
    tagType_ = MakeCombo(page, "ComboBoxTag");
    tagType_->setMinimumContentsLength(8);
    tagType_->addItems({"Id3v2", "Id3v1", "Both"});
    for (QWidget* w : {freeDBTag_, freeDBRenameFile_, freeDBRenamePlaylist_, freeDBRenameDir_})
        albumUpdate->addWidget(w);
    albumUpdate->addLayout(
        LabelledRow(MakeLabel(page, "LabelTag", "Tag type (mp3 only)", tagType_), tagType_));

    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(14);
    for (QLayout* group : {freeDB, updates, albumUpdate}) layout->addLayout(group);
    layout->addStretch(1);
    return page;
}

void TFormConfig::ConnectMarks() {
    connect(mostPlayed_, &QSpinBox::valueChanged, this, [this] {
        if (!filling_) marks_.MostPlayedChanged = true;
    });
    connect(lastPlayed_, &QSpinBox::valueChanged, this, [this] {
        if (!filling_) marks_.LastPlayedChanged = true;
    });
    connect(clearMostPlayed_, &QPushButton::clicked, this, [this] {
        marks_.MostPlayedChanged = true;
        marks_.ClearPlayCounts = true;
    });
    connect(clearLastPlayed_, &QPushButton::clicked, this, [this] {
        marks_.LastPlayedChanged = true;
        marks_.ClearLastPlayed = true;
    });
}

void TFormConfig::Prepare(const TSettings& values, TAudioLists audio) {
    values_ = values;
    audio_ = std::move(audio);
    filling_ = true;
    FillListItems();
    ShowValues();
    filling_ = false;
    marks_ = {};
    ShowPage(GeneralPage);
}

void TFormConfig::FillListItems() {
    tabs_->setTabText(GeneralPage, Lang("ConfigGeneral", "General"));
    tabs_->setTabText(AudioPage, Lang("ConfigAudio", "Audio"));
    tabs_->setTabText(InternetPage, Lang("ConfigInternet", "Internet"));
    SetItems(coverPos_,
             {Lang("CoverPosLeft", "Left"), Lang("CoverPosCenter", "Center"),
              Lang("CoverPosRight", "Right")},
             -1);
    SetItems(quality_, QualityItems(), -1);
    SetItems(cdbQuality_, QualityItems(), -1);
}

void TFormConfig::ShowValues() {
    const TSettings& v = values_;
    stayOnTop_->setChecked(v.StayOnTop);
    spectrum_->setChecked(v.ViewSpectrum);
    showSplash_->setChecked(v.ShowSplashScreen);
    coverPos_->setCurrentIndex(ChoiceItem(v.CoverPos, coverPos_->count()));
    treeOne_->setChecked(v.HideOneFolder);
    listFileName_->setText(Q(v.ListFormat));
    trackFileName_->setText(Q(v.TrackFormat));
    preScan_->setChecked(v.EnablePrescan);
    logPerf_->setChecked(v.Log);
    cdAutoScan_->setChecked(v.CDAutoScan);
    watchFolders_->setChecked(v.WatchFolders);
    cacheCovers_->setChecked(v.CacheCovers);
    saveCachedCovers_->setChecked(v.SaveCachedCovers);
    embeddedCovers_->setChecked(v.EmbeddedCovers);
    quality_->setCurrentIndex(ChoiceItem(v.CacheCoversQuality, quality_->count()));
    cdbQuality_->setCurrentIndex(ChoiceItem(v.CoversDBDefaultPictureQuality, cdbQuality_->count()));
    mostPlayed_->setValue(v.MostOftenPlayedCount);
    lastPlayed_->setValue(v.LastPlayedCount);
    shownQuality_ = quality_->currentIndex();
    shownHideOneFolder_ = treeOne_->isChecked();

    outputType_->clear();
    for (const auto& name : audio_.outputTypes) outputType_->addItem(Q(name));
    outputType_->setCurrentIndex(OutputTypeItem(v.OutputType, outputType_->count()));
    FillDevices(v.OutputType);
    // No stored device means the sound layer's current one, its default.
    const int device = v.DriverIndex < 0 ? 0 : v.DriverIndex;
    outputDevice_->setCurrentIndex(ChoiceItem(device, outputDevice_->count()));
    mixerType_->setCurrentIndex(ChoiceItem(v.MixerType, mixerType_->count()));
    const int rate = v.OutputRate < 0 ? kOutputRates[1] : v.OutputRate;
    outputRate_->setCurrentIndex(OutputRateItem(rate));
    shownOutputType_ = outputType_->currentIndex();
    shownDevice_ = outputDevice_->currentIndex();
    shownMixer_ = mixerType_->currentIndex();
    shownRate_ = outputRate_->currentIndex();

    freeDB_->setText(Q(v.FreeDB));
    useFreeDB_->setChecked(v.UseFreeDB);
    freeDBLogin_->setText(Q(v.FreeDBLogin));
    freeDBHostName_->setText(Q(v.FreeDBHostName));
    mavelo_->setText(Q(v.Mavelo));
    checkUpdates_->setChecked(v.CheckUpdates);
    freeDBTag_->setChecked(v.FreeDBTag);
    freeDBRenameFile_->setChecked(v.FreeDBRenameFile);
    freeDBRenamePlaylist_->setChecked(v.FreeDBRenamePlayList);
    freeDBRenameDir_->setChecked(v.FreeDBRenameDir);
    tagType_->setCurrentIndex(ChoiceItem(v.FreeDBTagging, tagType_->count()));
}

void TFormConfig::FillDevices(int outputType) {
    outputDevice_->clear();
    if (!audio_.driverNames) return;
    for (const auto& name : audio_.driverNames(outputType)) outputDevice_->addItem(Q(name));
}

void TFormConfig::cbxOutputTypeChange(int item) {
    FillDevices(OutputTypeOfItem(item));
    outputDevice_->setCurrentIndex(outputDevice_->count() > 0 ? 0 : -1);
}

int TFormConfig::CurrentPage() const {
    return pages_->currentIndex();
}

void TFormConfig::ShowPage(int page) {
    tabs_->setCurrentIndex(page);
    pages_->setCurrentIndex(page);
}

void TFormConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowPage(GeneralPage);
    stayOnTop_->setFocus();
}

void TFormConfig::SpeedButtonOkClick() {
    TakeGeneralValues();
    TakeSoundValues();
    TakeInternetValues();
    accept();
}

void TFormConfig::TakeGeneralValues() {
    TSettings& v = values_;
    v.MostOftenPlayedCount = mostPlayed_->value();
    v.LastPlayedCount = lastPlayed_->value();
    v.ListFormat = listFileName_->text().toStdString();
    v.TrackFormat = trackFileName_->text().toStdString();
    v.StayOnTop = stayOnTop_->isChecked();
    v.ViewSpectrum = spectrum_->isChecked();
    v.ShowSplashScreen = showSplash_->isChecked();
    v.EnablePrescan = preScan_->isChecked();
    v.Log = logPerf_->isChecked();
    v.CDAutoScan = cdAutoScan_->isChecked();
    v.WatchFolders = watchFolders_->isChecked();
    v.CacheCovers = cacheCovers_->isChecked();
    v.SaveCachedCovers = saveCachedCovers_->isChecked();
    v.EmbeddedCovers = embeddedCovers_->isChecked();
    if (quality_->currentIndex() != shownQuality_) marks_.QualityChanged = true;
    v.CacheCoversQuality = ItemOr(quality_, v.CacheCoversQuality);
    v.CoversDBDefaultPictureQuality = ItemOr(cdbQuality_, v.CoversDBDefaultPictureQuality);
    v.CoverPos = ItemOr(coverPos_, v.CoverPos);
    if (treeOne_->isChecked() != shownHideOneFolder_) marks_.FolderOptionChanged = true;
    v.HideOneFolder = treeOne_->isChecked();
}

void TFormConfig::TakeSoundValues() {
    const bool changed = outputType_->currentIndex() != shownOutputType_ ||
                         outputDevice_->currentIndex() != shownDevice_ ||
                         mixerType_->currentIndex() != shownMixer_ ||
                         outputRate_->currentIndex() != shownRate_;
    if (!changed) return;
    marks_.SoundChanged = true;
    TSettings& v = values_;
    if (outputType_->currentIndex() >= 0) v.OutputType = OutputTypeOfItem(outputType_->currentIndex());
    v.DriverIndex = ItemOr(outputDevice_, v.DriverIndex);
    v.MixerType = ItemOr(mixerType_, v.MixerType);
    if (outputRate_->currentIndex() >= 0) v.OutputRate = OutputRateOfItem(outputRate_->currentIndex());
}

void TFormConfig::TakeInternetValues() {
    TSettings& v = values_;
    v.FreeDB = freeDB_->text().toStdString();
    v.UseFreeDB = useFreeDB_->isChecked();
    v.FreeDBLogin = freeDBLogin_->text().toStdString();
    if (v.FreeDBLogin.empty()) v.FreeDBLogin = GetLoginName();
    v.FreeDBHostName = freeDBHostName_->text().toStdString();
    if (v.FreeDBHostName.empty()) v.FreeDBHostName = GetHostNameOrDefault();
    v.Mavelo = mavelo_->text().toStdString();
    v.CheckUpdates = checkUpdates_->isChecked();
    v.FreeDBTag = freeDBTag_->isChecked();
    v.FreeDBRenameFile = freeDBRenameFile_->isChecked();
    v.FreeDBRenamePlayList = freeDBRenamePlaylist_->isChecked();
    v.FreeDBRenameDir = freeDBRenameDir_->isChecked();
    v.FreeDBTagging = ItemOr(tagType_, v.FreeDBTagging);
}
