#include "gui/builder/Unewlist.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormNewList::TFormNewList(QWidget* parent) : QDialog(parent) {
    setObjectName("FormNewList");
    setWindowTitle(tr("Create a new playlist"));
    name_ = new QLineEdit(this);
    name_->setObjectName("EditFileName");
    format_ = new QComboBox(this);
    format_->setObjectName("ComboBoxFormat");
    format_->addItems({"m3u", "pls", "b4s"});  // in the order of the playlist types
    auto* form = new QFormLayout;
    form->addRow(tr("File name"), name_);
    form->addRow(tr("Playlist file format"), format_);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ButtonOk");
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)->setObjectName("ButtonCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TFormNewList::SetProposedName(const QString& name) {
    name_->setText(name);
    format_->setCurrentIndex(0);
}

QString TFormNewList::FileName() const {
    return name_->text();
}

TPlaylistType TFormNewList::Format() const {
    return PlaylistTypeFromInt(format_->currentIndex());
}
