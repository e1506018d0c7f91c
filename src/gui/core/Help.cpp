#include "gui/core/Help.h"

#include <QMessageBox>

#include "core/ProgramFolder.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/common/DesktopOpen.h"
#include "gui/core/Version.h"

QString ShowHelpPage(const std::string& page) {
    if (page.empty()) return {};
    const std::string path = FindResource("help/" + page);
    if (path.empty())
        return QString::fromStdString(
            LangText("HelpNotFound", "The help page could not be found:") + " help/" + page);
    const QString file = QString::fromStdString(path);
    return OpenWithDesktop(file) ? QString() : CouldNotOpenText(file);
}

QString ShowHelpTopic(int topic) {
    return ShowHelpPage(HelpTopicPage(topic));
}

void ShowHelpPageOrSay(QWidget* parent, const std::string& page) {
    const QString error = ShowHelpPage(page);
    if (!error.isEmpty()) QMessageBox::critical(parent, kProductName, error);
}
