#include "gui/common/HelpViewer.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
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

bool DesktopCanShowHtml() {
    if (!qEnvironmentVariableIsEmpty("BROWSER")) return true;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
    for (const char* browser : {"x-www-browser", "sensible-browser"})
        if (!QStandardPaths::findExecutable(QString::fromLatin1(browser)).isEmpty()) return true;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {"query", "default", "text/html"});
    // A query that cannot run or answer in time decides nothing: let the desktop try.
    if (!query.waitForFinished(3000)) return query.error() != QProcess::FailedToStart;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}
