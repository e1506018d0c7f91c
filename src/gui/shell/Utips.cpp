#include "gui/shell/Utips.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormTip::TFormTip(QWidget* parent) : QDialog(parent) {
    setObjectName("FormTip");
    setWindowTitle("Mavelo Tips");
    setModal(true);

    auto* header = new QLabel("Did you know ...", this);
    header->setObjectName("LabelDidYouKnow");
    QFont bold = header->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    header->setFont(bold);

    tipText_ = new QLabel(this);
    tipText_->setObjectName("LabelTip");
    tipText_->setWordWrap(true);
    tipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipText_->setMinimumSize(360, 110);
    tipText_->setFrameShape(QFrame::StyledPanel);
    tipText_->setMargin(8);
    tipText_->setTextFormat(Qt::PlainText);

    dontShow_ = new QCheckBox("Don't show tips at startup", this);
    dontShow_->setObjectName("CheckBoxDontShow");
    next_ = new QPushButton("Next tip", this);
    next_->setObjectName("SpeedButtonNext");
    next_->setAutoDefault(false);
    close_ = new QPushButton("Close", this);
    close_->setObjectName("SpeedButtonClose");
    close_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dontShow_);
    buttons->addStretch();
    buttons->addWidget(next_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(tipText_, 1);
    layout->addLayout(buttons);

    connect(next_, &QPushButton::clicked, this, &TFormTip::NextTip);
    connect(close_, &QPushButton::clicked, this, &TFormTip::CloseClicked);
}

void TFormTip::Prepare(const std::vector<std::string>& tips, int tipNumber, bool showTips) {
    tips_ = tips;
    showTips_ = showTips;
    index_ = tipNumber >= 0 && tipNumber < static_cast<int>(tips_.size()) ? tipNumber : 0;
    dontShow_->setChecked(!showTips);
    ShowTip();
    dontShow_->setFocus();
}

QString TFormTip::ShownTip() const {
    return tipText_->text();
}

void TFormTip::ShowTip() {
    tipText_->setText(index_ < static_cast<int>(tips_.size())
                          ? QString::fromStdString(tips_[index_])
                          : QString());
}

void TFormTip::NextTip() {
    if (tips_.empty()) return;
    index_ = (index_ + 1) % static_cast<int>(tips_.size());
    ShowTip();
}

void TFormTip::CloseClicked() {
    showTips_ = !dontShow_->isChecked();
    accept();
}

void TFormTip::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CloseClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}
