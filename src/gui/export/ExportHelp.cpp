#include "gui/export/ExportHelp.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

#include <string>

#include "core/ProgramFolder.h"

QPushButton* MakeExportHelpButton(QWidget* parent, const char* page) {
    const std::string path = FindResource(std::string("help/") + page);
    if (path.empty()) return nullptr;
    auto* button = new QPushButton("Help", parent);
    button->setObjectName("SpeedButtonHelp");
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [path] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    });
    return button;
}
