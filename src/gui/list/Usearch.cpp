#include "gui/list/Usearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "collection/Ump3_obj.h"
#include "gui/common/DialogParts.h"

TFormSearch::TFormSearch(QWidget* parent) : QDialog(parent) {
    setObjectName("FormSearch");
    setWindowTitle("Search");
    setModal(true);

    edit_ = new QLineEdit(this);
    edit_->setObjectName("EditString");
    words_ = AddCheckBox("CheckBoxWords", "Words only");
    string_ = AddCheckBox("CheckBoxString", "Full string");
    artist_ = AddCheckBox("CheckBoxArtist", "Artist name");
    album_ = AddCheckBox("CheckBoxAlbum", "Album title");
    song_ = AddCheckBox("CheckBoxSong", "Track name");
    files_ = AddCheckBox("CheckBoxFiles", "Search also in filenames");
    connect(words_, &QCheckBox::toggled, this, [this](bool on) { ModeBoxToggled(words_, on); });
    connect(string_, &QCheckBox::toggled, this, [this](bool on) { ModeBoxToggled(string_, on); });

    const auto [ok, cancel] = MakeOkCancel(this, "ButtonOk", "Search", "ButtonCancel");
    auto* help = MakeHelpButton(this, "search.htm");
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(this, "LabelSearchString", "SEARCH STRING"));
    layout->addWidget(edit_);
    auto* modes = new QHBoxLayout;
    modes->addWidget(words_);
    modes->addWidget(string_);
    layout->addLayout(modes);
    layout->addWidget(MakeHeading(this, "LabelSearchIn", "SEARCH IN ..."));
    auto* fields = new QGridLayout;
    fields->addWidget(artist_, 0, 0);
    fields->addWidget(album_, 0, 1);
    fields->addWidget(song_, 1, 0);
    fields->addWidget(files_, 1, 1);
    layout->addLayout(fields);
    layout->addLayout(ButtonRow({help}, {ok, cancel}));
    SetTabOrder({edit_, words_, string_, artist_, album_, song_, files_, ok, cancel});
}

QCheckBox* TFormSearch::AddCheckBox(const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    return box;
}

void TFormSearch::ModeBoxToggled(QCheckBox* box, bool checked) {
    if (preparing_ || !checked) return;
    preparing_ = true;  // the program's own change does not count as a click
    (box == words_ ? string_ : words_)->setChecked(false);
    preparing_ = false;
}

void TFormSearch::Prepare(const TSearchSettings& settings) {
    preparing_ = true;
    edit_->setText(QString::fromStdString(settings.Text));
    words_->setChecked(settings.Mode == 0);
    string_->setChecked(settings.Mode == 1);
    const int fields = settings.Fields == 0 ? 15 : settings.Fields;
    artist_->setChecked(fields & SearchArtist);
    album_->setChecked(fields & SearchAlbum);
    song_->setChecked(fields & SearchTrack);
    files_->setChecked(fields & SearchFiles);
    preparing_ = false;
    edit_->selectAll();
    edit_->setFocus();
}

TSearchSettings TFormSearch::Settings() const {
    TSearchSettings settings;
    settings.Text = edit_->text().toStdString();
    settings.Mode = string_->isChecked() ? 1 : 0;
    settings.Fields =
        (artist_->isChecked() ? SearchArtist : 0) | (album_->isChecked() ? SearchAlbum : 0) |
        (song_->isChecked() ? SearchTrack : 0) | (files_->isChecked() ? SearchFiles : 0);
    return settings;
}
