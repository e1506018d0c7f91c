#pragma once
// The program's own help window, used when the desktop cannot open a help
// page in a browser: a plain HTML view that follows the links between the
// pages, with back and forward.
#include <QDialog>
#include <QUrl>

class QTextBrowser;

class THelpViewer : public QDialog {
    Q_OBJECT
  public:
    explicit THelpViewer(QWidget* parent = nullptr);
    void ShowPage(const QUrl& page);
    QUrl CurrentPage() const;
    QString PageTitle() const;
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

// Whether the desktop has a program that shows HTML pages: a $BROWSER, or
// xdg-open with a browser behind it.  (xdg-open is started without waiting,
// so a failure behind it would go unnoticed.)
bool DesktopCanShowHtml();

// Shows the page in the one help window of the program, creating it at the
// first use.
THelpViewer* ShowHelpInViewer(const QUrl& page);
