#include "gui/shell/Uversion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/shell/UpdateCheck.h"
#include "gui/common/Version.h"

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}
}  // namespace

TFormVersion::TFormVersion(QWidget* parent) : QDialog(parent) {
    setObjectName("FormVersion");
    setWindowTitle("A new Mavelo is available");
    setModal(true);

    auto* current = MakeLabel(this, "LabelVersionCurrent", kVersionText);
    latest_ = MakeLabel(this, "LabelVersionLatest", "");
    link_ = MakeLabel(this, "LabelSite", "");
    latest_->setTextFormat(Qt::PlainText);  // the site's answer is shown as it came
    link_->setTextFormat(Qt::RichText);
    link_->setOpenExternalLinks(true);
    QFont bold = current->font();
    bold.setBold(true);
    current->setFont(bold);
    latest_->setFont(bold);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("Ok", QDialogButtonBox::AcceptRole);
    ok->setObjectName("ButtonOk");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeLabel(this, "LabelCurrent", "You're currently using"), 0, 0);
    layout->addWidget(current, 0, 1);
    layout->addWidget(MakeLabel(this, "LabelLatest", "but the latest version is"), 1, 0);
    layout->addWidget(latest_, 1, 1);
    layout->addWidget(MakeLabel(this, "LabelVisit", "To update, please visit"), 2, 0);
    layout->addWidget(link_, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

void TFormVersion::Prepare(const std::string& latest, const std::string& site) {
    latest_->setText(QString::fromStdString(latest));
    const QString address = QString::fromStdString(site);
    link_->setText(QString("<a href=\"%1\">%2</a>")
                       .arg(address.toHtmlEscaped(),
                            QString::fromStdString(SiteWithoutScheme(site)).toHtmlEscaped()));
}
