#include "gui/collection/Ucmochoose.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/views/DialogParts.h"

TFormCmoChoose::TFormCmoChoose(QWidget* parent) : QDialog(parent) {
    setObjectName("FormCmoChoose");
    setWindowTitle("Autoscan file selection");
    list_ = new QListWidget(this);
    list_->setObjectName("ListBoxFiles");
    auto* ok = MakeButton(this, "ButtonOk", "Ok");
    ok->setDefault(true);
    auto* cancel = MakeButton(this, "ButtonCancel", "Cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(this, "LabelFiles", "FILE TO LOAD"));
    layout->addWidget(list_, 1);
    layout->addLayout(ButtonRow({}, {ok, cancel}));
    resize(300, 260);
}

void TFormCmoChoose::SetNames(const std::vector<std::string>& names) {
    list_->clear();
    for (const auto& name : names) list_->addItem(QString::fromStdString(name));
    list_->setFocus();
}

std::string TFormCmoChoose::TakenName() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? std::string() : selected.first()->text().toStdString();
}
