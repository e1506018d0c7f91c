#include "gui/common/HelpViewer.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpViewer::THelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(640, 560);
    browser_->setOpenExternalLinks(true);  // web links go to the browser, if any

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* back = buttons->addButton(tr("Back"), QDialogButtonBox::ActionRole);
    QPushButton* forward = buttons->addButton(tr("Forward"), QDialogButtonBox::ActionRole);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(PageTitle()); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
}

void THelpViewer::ShowPage(const QUrl& page) {
    browser_->setSource(page);
    setWindowTitle(PageTitle());
}

QUrl THelpViewer::CurrentPage() const {
    return browser_->source();
}

QString THelpViewer::PageTitle() const {
    const QString title = browser_->documentTitle();
    return title.isEmpty() ? QStringLiteral("Mavelo") : title;
}

THelpViewer* ShowHelpInViewer(const QUrl& page) {
    static QPointer<THelpViewer> viewer;
    if (!viewer) viewer = new THelpViewer;
    viewer->ShowPage(page);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}
