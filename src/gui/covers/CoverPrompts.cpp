#include "gui/covers/CoverPrompts.h"

#include <QMessageBox>
#include <QPushButton>

#include "gui/covers/Upicrep.h"

TCoverPrompts::~TCoverPrompts() = default;

TReplaceAnswer TCoverPrompts::AskReplace(const TReplaceOffer& offer, bool& applyForAll) {
    // One window for the whole run, made the first time it is needed; the
    // parent window owns and frees it.
    if (!window_) window_ = new TFormPictureReplace(parent_);
    return window_->Ask(offer, applyForAll);
}

TCoverPrompts::TChoice TCoverPrompts::AskYesNoCancel(const QString& text) {
    const auto answer = QMessageBox::question(
        parent_, QString(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return TChoice::Yes;
    if (answer == QMessageBox::No) return TChoice::No;
    return TChoice::Cancel;
}

bool TCoverPrompts::ConfirmOk(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::NoButton, parent_);
    QAbstractButton* ok = box.addButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == ok;
}
