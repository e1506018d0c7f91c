#include "gui/cddb/FormEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "freedb/Ubatch.h"
#include "gui/cddb/OffThread.h"
#include "gui/cddb/PicturePanel.h"

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
QString L(const char* key, const char* english) {
    return Q(LangText(key, english));
}

QString MinutesSeconds(int64_t seconds) {
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QCheckBox* NamedCheck(const char* name, const char* caption, QWidget* parent) {
    auto* box = Named(new QCheckBox(caption, parent), name);
    box->setChecked(true);
    return box;
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// Category and disc id: centred, in the fixed-pitch font.
QTableWidgetItem* CodeItem(const QString& text, const QColor& colour) {
    auto* item = ReadOnlyItem(text);
    item->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    item->setForeground(colour);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// The file name without its last four characters (".mp3").
QString BareFileName(const std::string& path) {
    const std::string name = ExtractFileName(path);
    return Q(name.size() > 4 ? name.substr(0, name.size() - 4) : std::string());
}
}  // namespace

TFormEdit::TFormEdit(QWidget* parent, TPrompts* prompts) : QDialog(parent) {
    setObjectName("FormEdit");
    setWindowTitle("Album details edition");
    BuildControls(prompts);
}

void TFormEdit::BuildControls(TPrompts* prompts) {
    panelImage_ = new TPicturePanel(this, prompts);
    labelFreeDB_ = Named(new QLabel(this), "LabelFreeDB");
    gridAlbums_ = Named(new QTableWidget(0, 3, this), "StringGridAlbums");
    gridAlbums_->setHorizontalHeaderLabels({"Category", "Id", "Title"});
    gridAlbums_->setColumnWidth(0, 80);
    gridAlbums_->setColumnHidden(1, true);  // kept for the read, not shown
    gridAlbums_->setColumnWidth(2, 450);
    gridAlbums_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridAlbums_->setSelectionMode(QAbstractItemView::SingleSelection);
    gridAlbums_->verticalHeader()->hide();
    gridTracks_ = Named(new QTableWidget(0, 4, this), "StringGridTracks");
    gridTracks_->setHorizontalHeaderLabels({"#", "Time", "", "Title"});
    gridTracks_->setColumnWidth(0, 30);
    gridTracks_->setColumnWidth(1, 50);
    gridTracks_->setColumnHidden(2, true);
    gridTracks_->horizontalHeader()->setStretchLastSection(true);
    gridTracks_->verticalHeader()->hide();

    editArtist_ = Named(new QLineEdit(this), "EditArtist");
    editAlbum_ = Named(new QLineEdit(this), "EditAlbum");
    editYear_ = Named(new QLineEdit(this), "EditYear");
    editGenre_ = Named(new QLineEdit(this), "EditGenre");
    labelLength_ = Named(new QLabel(this), "LabelLength");
    comboBoxFormat_ = Named(new QComboBox(this), "ComboBoxFormat");
    comboBoxFormat_->addItems({"m3u", "pls", "b4s"});
    comboBoxTag_ = Named(new QComboBox(this), "ComboBoxTag");
    comboBoxTag_->addItems({"Id3v2", "Id3v1", "Both"});
    checkBoxTag_ = NamedCheck("CheckBoxTag", "Tag track files", this);
    checkBoxNormMp3_ = NamedCheck("CheckBoxNormMp3", "Rename track files", this);
    checkBoxNormm3u_ = NamedCheck("CheckBoxNormm3u", "Rename playlist file", this);
    checkBoxNormDir_ = NamedCheck("CheckBoxNormDir", "Rename directory", this);
    checkBoxNormDir_->setChecked(false);
    progressBar_ = Named(new QProgressBar(this), "ProgressBar");
    progressBar_->setTextVisible(false);
    buttonApply_ = Named(new QPushButton("Apply", this), "SpeedButtonApply");
    auto* buttonExit = Named(new QPushButton("Cancel", this), "SpeedButtonExit");

    auto* fields = new QFormLayout;
    fields->addRow("Artist", editArtist_);
    fields->addRow("Album", editAlbum_);
    fields->addRow("Year", editYear_);
    fields->addRow("Genre", editGenre_);
    fields->addRow("Length", labelLength_);
    fields->addRow("Playlist", comboBoxFormat_);
    fields->addRow("Tag", comboBoxTag_);
    auto* options = new QVBoxLayout;
    options->addLayout(fields);
    for (auto* box : {checkBoxTag_, checkBoxNormMp3_, checkBoxNormm3u_, checkBoxNormDir_})
        options->addWidget(box);
    options->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(gridTracks_, 1);
    middle->addLayout(options);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progressBar_, 1);
    buttons->addWidget(buttonApply_);
    buttons->addWidget(buttonExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelFreeDB_);
    auto* top = new QHBoxLayout;
    top->addWidget(gridAlbums_, 1);
    top->addWidget(panelImage_);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    resize(760, 560);

    connect(gridAlbums_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) {
                if (row >= 0 && row != previous) SelectMatch(row);
            });
    connect(buttonApply_, &QPushButton::clicked, this, &TFormEdit::Apply);
    connect(buttonExit, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormEdit::Open(Tm3u& album, const TEditInputs& inputs) {
    album_ = &album;
    inputs_ = inputs;
    closed_ = false;
    report_ = {};
    SetBusy(false);
    checkBoxNormDir_->setEnabled(inputs.AllowRenameDir);
    if (!inputs.AllowRenameDir) checkBoxNormDir_->setChecked(false);
    openedFormat_ = album.PlaylistType();
    comboBoxFormat_->setCurrentIndex(static_cast<int>(openedFormat_));
    comboBoxTag_->setCurrentIndex(static_cast<int>(Id3ChoiceFromInt(inputs.TagType)));
    for (auto* edit : {editArtist_, editAlbum_, editYear_, editGenre_}) edit->clear();
    gridTracks_->setRowCount(0);

    // Row 0 is the album itself.
    QSignalBlocker block(gridAlbums_);
    gridAlbums_->setRowCount(1);
    const QString current = " [" + L("CurrentValues", "Current values") + "]";
    const QString title = album.Artist.empty() ? BareFileName(album.PlaylistPath) + current
                                               : Q(album.Artist + " / " + album.Album) + current;
    gridAlbums_->setItem(0, 0, ReadOnlyItem({}));
    gridAlbums_->setItem(0, 1, ReadOnlyItem({}));
    auto* titleItem = ReadOnlyItem(title);
    QFont bold = titleItem->font();
    bold.setBold(true);
    titleItem->setFont(bold);
    gridAlbums_->setItem(0, 2, titleItem);
    gridAlbums_->setCurrentCell(0, 2);
    ShowCurrentValues();
    panelImage_->ShowAlbum(&album);
    if (inputs.UseFreeDB) {
        labelFreeDB_->clear();
        QTimer::singleShot(0, this, &TFormEdit::Search);
    } else {
        labelFreeDB_->setText(L("DisabledFreeDB", "FreeDB search disabled"));
    }
}

TFreeDBServer TFormEdit::Server() {
    TFreeDBServer server = inputs_.Server;
    server.Get = OffThreadHttpGet([this] { return !closed_; });
    return server;
}

void TFormEdit::SetBusy(bool busy) {
    busy_ = busy;
    gridAlbums_->setEnabled(!busy);
    buttonApply_->setEnabled(!busy);
}

void TFormEdit::Search() {
    if (closed_ || !album_) return;
    SetBusy(true);
    auto table = BuildDiscTable(AlbumDurations(*album_, inputs_.Measure));
    TFreeDBQueryResult query;
    if (table) {
        query = FreeDBQueryDisc(Server(), *table);
    } else {
        query.Failure = TFreeDBFailure::NoDisc;
    }
    SetBusy(false);
    if (closed_) return;
    ShowMatches(query);
}

void TFormEdit::ShowMatches(const TFreeDBQueryResult& query) {
    labelFreeDB_->setText(Q(FreeDBQueryComment(query)));
    QSignalBlocker block(gridAlbums_);
    gridAlbums_->setRowCount(static_cast<int>(query.Matches.size()) + 1);
    for (size_t i = 0; i < query.Matches.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        gridAlbums_->setItem(row, 0, CodeItem(Q(query.Matches[i].Category), QColor(100, 100, 100)));
        gridAlbums_->setItem(row, 1, CodeItem(Q(query.Matches[i].DiscId), QColor(0, 0, 128)));
        gridAlbums_->setItem(row, 2, ReadOnlyItem(Q(query.Matches[i].Title)));
    }
}

void TFormEdit::SelectMatch(int row) {
    if (busy_ || !album_) return;
    if (row == 0) {
        ShowCurrentValues();
        return;
    }
    SetBusy(true);
    const auto read = FreeDBRead(Server(), gridAlbums_->item(row, 0)->text().toStdString(),
                                 gridAlbums_->item(row, 1)->text().toStdString());
    SetBusy(false);
    if (closed_) return;
    if (read.Result < 0) {
        // Nothing is filled from a read that failed.
        labelFreeDB_->setText(read.Failure == TFreeDBFailure::Refused
                                  ? Q(read.Reason)
                                  : L("CouldNotConnectFreeDB", "Could not connect to FreeDB"));
        return;
    }
    ShowRecord(read.Details);
}

void TFormEdit::ShowCurrentValues() {
    editArtist_->setText(Q(album_->Artist));
    editAlbum_->setText(Q(album_->Album));
    editGenre_->setText(Q(album_->Genre));
    editYear_->setText(QString::number(album_->Year));
    gridTracks_->setRowCount(0);
    int64_t seconds = 0;
    for (size_t i = 0; i < album_->Tracks.Count(); ++i) {
        const Tmp3& track = album_->Tracks[i];
        seconds += track.Duration / 1000;
        const bool titled = track.TagKind != TTagKind::None && !track.Title.empty();
        AddTrackRow(MinutesSeconds(track.Duration / 1000),
                    titled ? Q(track.Title) : BareFileName(track.Path));
        if (!titled)
            gridTracks_->item(gridTracks_->rowCount() - 1, 3)->setForeground(QColor(100, 100, 100));
    }
    if (gridTracks_->rowCount() == 0) AddTrackRow({}, {});
    labelLength_->setText(MinutesSeconds(seconds));
    gridTracks_->setCurrentCell(0, 3);
}

void TFormEdit::ShowRecord(const TDiscDetails& details) {
    editAlbum_->setText(Q(details.Album));
    editArtist_->setText(Q(details.Artist));
    editYear_->setText(Q(details.Year));
    editGenre_->setText(Q(details.Genre));
    labelLength_->setText(Q(details.Length));
    gridTracks_->setRowCount(0);
    for (const auto& track : details.Tracks) AddTrackRow(Q(track.Duration), Q(track.Title));
    gridTracks_->setCurrentCell(0, 3);
}

void TFormEdit::AddTrackRow(const QString& duration, const QString& title) {
    const int row = gridTracks_->rowCount();
    gridTracks_->insertRow(row);
    auto* number = ReadOnlyItem(QString("%1").arg(row + 1, 2, 10, QChar('0')));
    number->setForeground(QColor(128, 128, 128));
    gridTracks_->setItem(row, 0, number);
    auto* time = ReadOnlyItem(duration);
    time->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    time->setForeground(QColor(100, 100, 100));
    gridTracks_->setItem(row, 1, time);
    gridTracks_->setItem(row, 2, ReadOnlyItem({}));
    gridTracks_->setItem(row, 3, new QTableWidgetItem(title));  // the only editable column
}

TAlbumValues TFormEdit::EnteredValues() const {
    TAlbumValues values;
    values.Year = StrToIntOrZero(editYear_->text().toStdString());
    values.Genre = editGenre_->text().toStdString();
    values.Artist = editArtist_->text().toStdString();
    values.Album = editAlbum_->text().toStdString();
    for (int row = 0; row < gridTracks_->rowCount(); ++row)
        values.Titles.push_back(gridTracks_->item(row, 3)->text().toStdString());
    return values;
}

void TFormEdit::Apply() {
    if (busy_ || !album_) return;
    Tm3u& album = *album_;
    const TAlbumValues values = EnteredValues();
    report_ = {};
    StoreAlbumValues(album, values);
    if (checkBoxTag_->isChecked()) {
        SetBusy(true);
        const int tracks = static_cast<int>(album.Tracks.Count());
        progressBar_->setRange(0, std::max(1, tracks));
        WriteAlbumTags(
            album, values, Id3ChoiceFromInt(comboBoxTag_->currentIndex()),
            [&](size_t done, size_t) {
                progressBar_->setValue(static_cast<int>(done));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            report_);
        progressBar_->setValue(0);
        SetBusy(false);
    }
    TAlbumApplyOptions renames;
    renames.RenamePlaylist = checkBoxNormm3u_->isChecked();
    renames.RenameFiles = checkBoxNormMp3_->isChecked();
    renames.RenameFolder = checkBoxNormDir_->isChecked() && checkBoxNormDir_->isEnabled();
    renames.TrackFormat = inputs_.TrackFormat;
    renames.ListFormat = inputs_.ListFormat;
    const TPlaylistType format = PlaylistTypeFromInt(comboBoxFormat_->currentIndex());
    if (format != openedFormat_ || renames.RenamePlaylist || renames.RenameFiles ||
        renames.RenameFolder)
        RenameAndSaveAlbum(album, renames, format, report_);
    album.Status = TAlbumStatus::Orange;
    accept();
}

int TFormEdit::TagType() const {
    return comboBoxTag_->currentIndex();
}

void TFormEdit::done(int result) {
    closed_ = true;
    QDialog::done(result);
}
