#include "gui/common/DialogParts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/Help.h"

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeHelpButton(QWidget* parent, const char* page) {
    auto* button = MakeButton(parent, "SpeedButtonHelp", "Help");
    const std::string name = page;
    QObject::connect(button, &QPushButton::clicked, button,
                     [button, name] { ShowHelpPageOrSay(button->window(), name); });
    return button;
}

QLabel* MakeHeading(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QBoxLayout* ButtonRow(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : left) row->addWidget(w);
    row->addStretch(1);
    for (QWidget* w : right) row->addWidget(w);
    return row;
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

TOkCancel MakeOkCancel(QDialog* dialog, const char* okName, const QString& okCaption,
                       const char* cancelName) {
    auto* ok = MakeButton(dialog, okName, okCaption);
    ok->setDefault(true);
    auto* cancel = MakeButton(dialog, cancelName, "Cancel");
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {ok, cancel};
}

QListWidget* MakeChoiceList(QDialog* dialog, const char* listName, const char* headingName,
                            const QString& heading, const char* okName, const char* cancelName) {
    auto* list = new QListWidget(dialog);
    list->setObjectName(listName);
    QObject::connect(list, &QListWidget::itemDoubleClicked, dialog, &QDialog::accept);
    const TOkCancel buttons = MakeOkCancel(dialog, okName, "Ok", cancelName);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(MakeHeading(dialog, headingName, heading));
    layout->addWidget(list, 1);
    layout->addLayout(ButtonRow({}, {buttons.ok, buttons.cancel}));
    return list;
}
