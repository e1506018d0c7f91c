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

TFirstRunHint::TFirstRunHint(QWidget* grid, QAction* newList, QAction* openList)
    : QFrame(grid) {
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
    text_->setText(QString("No list is open. Choose the folders where you keep your music: Mavelo "
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
    grid->installEventFilter(this);
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
    const QWidget* grid = parentWidget();
    if (!grid) return;
    const QSize size(kWidth, heightForWidth(kWidth) > 0 ? heightForWidth(kWidth) : sizeHint().height());
    resize(size);
    move(std::max(0, (grid->width() - size.width()) / 2),
         std::max(0, (grid->height() - size.height()) / 3));
}
