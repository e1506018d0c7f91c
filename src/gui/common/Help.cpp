#include "gui/common/Help.h"

#include <QMessageBox>

#include "core/ProgramFolder.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DesktopOpen.h"
#include "gui/common/HelpViewer.h"
#include "gui/common/Version.h"

QString ShowHelpPage(const std::string& page) {
    if (page.empty()) return {};
    const std::string path = FindResource("help/" + page);
    if (path.empty())
        return QString::fromStdString(
            LangText("HelpNotFound", "The help page could not be found:") + " help/" + page);
    const QString file = QString::fromStdString(path);
    // Without a browser the desktop cannot open the page: show it ourselves.
    if (!DesktopCanShowHtml() || !OpenWithDesktop(file))
        ShowHelpInViewer(QUrl::fromLocalFile(file));
    return {};
}

QString ShowHelpTopic(int topic) {
    return ShowHelpPage(HelpTopicPage(topic));
}

void ShowHelpPageOrSay(QWidget* parent, const std::string& page) {
    const QString error = ShowHelpPage(page);
    if (!error.isEmpty()) QMessageBox::critical(parent, kProductName, error);
}
