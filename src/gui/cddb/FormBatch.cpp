#include "gui/cddb/FormBatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QCheckBox* NamedCheck(const char* name, const char* caption, bool ticked, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    return box;
}
}  // namespace

TFormBatch::TFormBatch(QWidget* parent, int tagType) : QDialog(parent) {
    setObjectName("FormBatch");
    setWindowTitle("Update batch process");
    comboBoxTag_ = new QComboBox(this);
    comboBoxTag_->setObjectName("ComboBoxTag");
    comboBoxTag_->addItems({"Id3v2", "Id3v1", "Both"});
    comboBoxTag_->setCurrentIndex(tagType >= 0 && tagType <= 2 ? tagType : 0);
    checkBoxTag_ = NamedCheck("CheckBoxTag", "Search on FreeDB and tag files", true, this);
    checkBoxNormMp3_ = NamedCheck("CheckBoxNormMp3", "Rename track files", true, this);
    checkBoxNormm3u_ = NamedCheck("CheckBoxNormm3u", "Rename playlist file", true, this);
    checkBoxNormDir_ = NamedCheck("CheckBoxNormDir", "Rename directory", false, this);
    auto* hint =
        new QLabel("The batch process will be performed on all albums having a red status.", this);
    hint->setObjectName("LabelHint");
    hint->setWordWrap(true);
    auto* ok = new QPushButton("Run batch", this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("ButtonCancel");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(comboBoxTag_);
    for (auto* box : {checkBoxTag_, checkBoxNormMp3_, checkBoxNormm3u_, checkBoxNormDir_})
        layout->addWidget(box);
    layout->addWidget(hint);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormBatch::TagType() const {
    return comboBoxTag_->currentIndex();
}
bool TFormBatch::SearchAndTag() const {
    return checkBoxTag_->isChecked();
}
bool TFormBatch::RenameFiles() const {
    return checkBoxNormMp3_->isChecked();
}
bool TFormBatch::RenamePlaylist() const {
    return checkBoxNormm3u_->isChecked();
}
bool TFormBatch::RenameFolder() const {
    return checkBoxNormDir_->isChecked();
}
