#include "gui/shell/Uabout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/common/Version.h"

namespace {
const char* kAboutText =
    "<p><b>Mavelo</b> catalogues a personal collection of music albums and plays them.</p>"
    "<p>Built with: Qt, FFmpeg, libopenmpt, SDL2, kissfft, libcurl, pugixml, ICU and "
    "libjpeg-turbo.</p>"
    "<p>Thanks to everyone who writes and shares language files.</p>";
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("FormAbout");
    setWindowTitle("About");
    setModal(true);

    auto* product = new QLabel(kProductName, this);
    product->setObjectName("LabelProduct");
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    product->setFont(big);
    auto* version = new QLabel(kVersionText, this);
    version->setObjectName("LabelVersion");

    auto* text = new QTextBrowser(this);
    text->setObjectName("RichEditAbout");
    text->setHtml(kAboutText);
    text->setOpenExternalLinks(true);
    text->setMinimumSize(340, 140);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("ButtonOk");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
}
