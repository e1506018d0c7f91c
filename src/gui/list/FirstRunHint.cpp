#include "gui/list/FirstRunHint.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kWidth = 380;
}

TFirstRunHint::TFirstRunHint(QWidget* area, QAction* newList, QAction* openList) : QFrame(area) {
    setObjectName("PanelFirstRun");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    text_ = new QLabel(this);
    text_->setObjectName("LabelFirstRun");
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignCenter);
    folders_ = new QPushButton(this);
    folders_->setObjectName("ButtonFirstRunFolders");
    folders_->setDefault(true);
    open_ = new QPushButton(this);
    open_->setObjectName("ButtonFirstRunOpen");
    // The language files translate these as lines of the main window.
    text_->setText(
        QString("No list is open. Choose the folders where you keep your music: Mavelo "
                "finds their albums and makes a new list of them. Or open a list you saved "
                "before."));
    folders_->setText(QString("Choose music folders..."));
    open_->setText(QString("Open a list file..."));
    connect(folders_, &QPushButton::clicked, newList, &QAction::trigger);
    connect(open_, &QPushButton::clicked, openList, &QAction::trigger);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(folders_);
    buttons->addWidget(open_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    setFixedWidth(kWidth);
    RefreshTexts();
    area->installEventFilter(this);
}

void TFirstRunHint::RefreshTexts() {
    adjustSize();
    Centre();
}

void TFirstRunHint::ShowFor(bool listOpen) {
    setVisible(!listOpen);
    if (!listOpen) {
        raise();
        Centre();
    }
}

bool TFirstRunHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) Centre();
    return false;
}

void TFirstRunHint::Centre() {
    const QWidget* area = parentWidget();
    if (!area) return;
    const int height = heightForWidth(kWidth);  // the text wraps at the fixed width
    resize(kWidth, height > 0 ? height : sizeHint().height());
    move(std::max(0, (area->width() - width()) / 2),
         std::max(0, (area->height() - this->height()) / 3));
}
