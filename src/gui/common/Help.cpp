#include "gui/common/Help.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/ProgramFolder.h"
#include "core/Ucommon.h"

void ShowHelpPage(const std::string& page) {
    if (page.empty()) return;
    const std::string path = FindResource("help/" + page);
    if (path.empty()) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void ShowHelpTopic(int topic) {
    ShowHelpPage(HelpTopicPage(topic));
}
