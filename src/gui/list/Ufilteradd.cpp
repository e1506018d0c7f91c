#include "gui/list/Ufilteradd.h"

#include <QListWidget>

#include "gui/common/DialogParts.h"

TFormFilterAdd::TFormFilterAdd(QWidget* parent) : QDialog(parent) {
    setObjectName("FormFilterAdd");
    setWindowTitle("Add items to filter");
    setModal(true);
    list_ = MakeChoiceList(this, "LBElems", "LabelItems", "ITEM(S) TO ADD", "SpeedButtonOK",
                           "SpeedButtonCancel");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resize(260, 360);
}

void TFormFilterAdd::SetItems(const std::vector<std::string>& items) {
    list_->clear();
    for (const auto& item : items) list_->addItem(QString::fromStdString(item));
    if (list_->count() > 0) list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    list_->setFocus();
}

std::vector<std::string> TFormFilterAdd::ChosenItems() const {
    std::vector<std::string> chosen;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected()) chosen.push_back(list_->item(i)->text().toStdString());
    return chosen;
}
