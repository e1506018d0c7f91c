#include "gui/views/DialogParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/core/Help.h"

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QPushButton* MakeHelpButton(QWidget* parent, const char* page) {
    auto* button = MakeButton(parent, "SpeedButtonHelp", "Help");
    const std::string name = page;
    QObject::connect(button, &QPushButton::clicked, button, [name] { ShowHelpPage(name); });
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
