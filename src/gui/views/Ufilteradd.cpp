#include "gui/views/Ufilteradd.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/views/DialogParts.h"

TFormFilterAdd::TFormFilterAdd(QWidget* parent) : QDialog(parent) {
    setObjectName("FormFilterAdd");
    setWindowTitle("Add items to filter");
    setModal(true);
    list_ = new QListWidget(this);
    list_->setObjectName("LBElems");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* ok = MakeButton(this, "SpeedButtonOK", "Ok");
    ok->setDefault(true);
    auto* cancel = MakeButton(this, "SpeedButtonCancel", "Cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(this, "LabelItems", "ITEM(S) TO ADD"));
    layout->addWidget(list_, 1);
    layout->addLayout(ButtonRow({}, {ok, cancel}));
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
