#include "gui/list/Ucmochoose.h"

#include <QListWidget>

#include "gui/common/DialogParts.h"

TFormCmoChoose::TFormCmoChoose(QWidget* parent) : QDialog(parent) {
    setObjectName("FormCmoChoose");
    setWindowTitle("Autoscan file selection");
    list_ = MakeChoiceList(this, "ListBoxFiles", "LabelFiles", "FILE TO LOAD", "ButtonOk",
                           "ButtonCancel");
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
