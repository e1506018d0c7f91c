#include "gui/covers/Upicrep.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/covers/PictureConvert.h"

namespace {
constexpr int kPictureBox = 128;

QLabel* PictureBox(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(kPictureBox, kPictureBox);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    return label;
}

void ShowJpeg(QLabel* box, const std::string& jpeg) {
    box->clear();
    const QImage image = JpegToImage(jpeg);
    if (image.isNull()) return;
    box->setPixmap(QPixmap::fromImage(
        image.scaled(kPictureBox, kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
}  // namespace

TFormPictureReplace::TFormPictureReplace(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPictureReplace");
    setWindowTitle(tr("Cover picture replacement"));
    setModal(true);
    artist_ = new QLabel(this);
    artist_->setObjectName("LabelArtist");
    QFont bold = artist_->font();
    bold.setBold(true);
    artist_->setFont(bold);
    album_ = new QLabel(this);
    album_->setObjectName("LabelAlbum");
    current_ = PictureBox(this, "ImageCurrent");
    offered_ = PictureBox(this, "ImageOffered");
    auto* replaceLabel = new QLabel(tr("Replace"), this);
    replaceLabel->setObjectName("LabelReplace");
    auto* byLabel = new QLabel(tr("By"), this);
    byLabel->setObjectName("LabelBy");
    applyForAll_ = new QCheckBox(tr("Don't ask anymore, apply for all"), this);
    applyForAll_->setObjectName("CheckBoxApplyAll");

    auto* pictures = new QGridLayout;
    pictures->addWidget(replaceLabel, 0, 0);
    pictures->addWidget(byLabel, 0, 1);
    pictures->addWidget(current_, 1, 0);
    pictures->addWidget(offered_, 1, 1);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        const char* caption;
        TReplaceAnswer answer;
    } kinds[] = {{"ButtonYes", "Yes", TReplaceAnswer::Yes},
                 {"ButtonNo", "No", TReplaceAnswer::No},
                 {"ButtonStop", "Stop", TReplaceAnswer::Stop}};
    for (const auto& k : kinds) {
        auto* button = new QPushButton(tr(k.caption), this);
        button->setObjectName(k.name);
        const TReplaceAnswer answer = k.answer;
        connect(button, &QPushButton::clicked, this, [this, answer] { Finish(answer); });
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(artist_);
    layout->addWidget(album_);
    layout->addLayout(pictures);
    layout->addWidget(applyForAll_);
    layout->addLayout(buttons);
}

void TFormPictureReplace::Prepare(const TReplaceOffer& offer, bool applyForAll) {
    answer_ = TReplaceAnswer::Stop;  // closing the window any other way
    artist_->setText(QString::fromStdString(offer.Artist));
    album_->setText(QString::fromStdString(offer.Album));
    applyForAll_->setChecked(applyForAll);
    ShowJpeg(current_, offer.Current);
    ShowJpeg(offered_, offer.Offered);
    applyForAll_->setFocus();
}

bool TFormPictureReplace::ApplyForAll() const {
    return applyForAll_->isChecked();
}

void TFormPictureReplace::Finish(TReplaceAnswer answer) {
    answer_ = answer;
    accept();
}

TReplaceAnswer TFormPictureReplace::Ask(const TReplaceOffer& offer, bool& applyForAll) {
    Prepare(offer, applyForAll);
    exec();
    applyForAll = ApplyForAll();
    return answer_;
}
