#include "gui/common/Help.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/ProgramFolder.h"
#include "core/Ucommon.h"
#include "gui/common/HelpViewer.h"

void ShowHelpPage(const std::string& page) {
    if (page.empty()) return;
    const std::string path = FindResource("help/" + page);
    if (path.empty()) return;
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    // Without a browser the desktop cannot open the page: show it ourselves.
    if (!QDesktopServices::openUrl(url)) ShowHelpInViewer(url);
}

void ShowHelpTopic(int topic) {
    ShowHelpPage(HelpTopicPage(topic));
}
