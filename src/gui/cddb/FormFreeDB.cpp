#include "gui/cddb/FormFreeDB.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Ulang.h"

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QProgressBar* NamedBar(const char* name, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setTextVisible(false);
    bar->setRange(0, 1);
    bar->setValue(0);
    return bar;
}
}  // namespace

TFormFreeDB::TFormFreeDB(QWidget* parent) : QDialog(parent) {
    setObjectName("FormFreeDB");
    setWindowTitle("Update with FreeDB");
    // The main window stays untouchable while albums change under it.
    setWindowModality(Qt::ApplicationModal);
    labelArtist_ = NamedLabel("LabelArtist", this);
    labelAlbum_ = NamedLabel("LabelAlbum", this);
    labelProgress_ = NamedLabel("LabelProgress", this);
    labelComment_ = NamedLabel("LabelComment", this);
    progressBar_ = NamedBar("ProgressBar", this);
    allProgressBar_ = NamedBar("AllProgressBar", this);
    cancelButton_ = new QPushButton("Stop", this);
    cancelButton_->setObjectName("SpeedButtonCancel");

    auto* form = new QFormLayout;
    form->addRow(labelArtist_);
    form->addRow(labelAlbum_);
    form->addRow(labelProgress_);
    form->addRow(labelComment_);
    auto* current = NamedLabel("LabelCurrent", this);
    current->setText("Current album progress");
    form->addRow(current, progressBar_);
    auto* overall = NamedLabel("LabelOverall", this);
    overall->setText("Overall progress");
    form->addRow(overall, allProgressBar_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cancelButton_, 0, Qt::AlignRight);
    setMinimumWidth(420);

    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        if (progress_) progress_->Cancel();
        hide();
    });
}

template <typename Change>
void TFormFreeDB::OnWindowThread(Change change) {
    if (QThread::currentThread() == thread())
        change();
    else
        QMetaObject::invokeMethod(this, change, Qt::QueuedConnection);
}

void TFormFreeDB::ShowAlbum(const std::string& artist, const std::string& album, bool last) {
    OnWindowThread([this, artist, album, last] {
        cancelButton_->setText(last ? Q(LangText("FreeDBClose", "Close"))
                                    : Q(LangText("FreeDBStop", "Stop")));
        labelArtist_->setText(Q(artist));
        labelAlbum_->setText(Q(album));
        labelComment_->clear();
    });
}

void TFormFreeDB::ShowStep(const std::string& text) {
    OnWindowThread([this, text] { labelProgress_->setText(Q(text)); });
}

void TFormFreeDB::ShowComment(const std::string& text) {
    OnWindowThread([this, text] { labelComment_->setText(Q(text)); });
}

void TFormFreeDB::SetAlbumBar(int position, int maximum) {
    OnWindowThread([this, position, maximum] {
        progressBar_->setRange(0, std::max(1, maximum));
        progressBar_->setValue(position);
    });
}

void TFormFreeDB::SetOverallBar(int position, int maximum) {
    OnWindowThread([this, position, maximum] {
        allProgressBar_->setRange(0, std::max(1, maximum));
        allProgressBar_->setValue(position);
    });
}

QString TFormFreeDB::Comment() const {
    return labelComment_->text();
}
QString TFormFreeDB::CancelCaption() const {
    return cancelButton_->text();
}
int TFormFreeDB::OverallPosition() const {
    return allProgressBar_->value();
}
