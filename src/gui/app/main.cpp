// Mavelo: start-up of the desktop program.
//   mavelo [--home DIR] [LIST]
// The program folder (settings, play queue, covers database, language files)
// is DIR, else $MAVELO_HOME, else the executable's folder.  LIST is a list
// file (.mvo, .cmo) to open instead of the last one, as the desktop passes
// it when a list file is opened with Mavelo.
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>

#include "collection/AlbumRenames.h"
#include "core/ProgramFolder.h"
#include "gui/app/Application.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/Icons.h"
#include "player/SoundSystem.h"

namespace {
// The value of "--home DIR" or "--home=DIR"; "" when not given.
std::string HomeOption(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--home" && i + 1 < arguments.size()) return arguments[i + 1].toStdString();
        if (argument.startsWith("--home=")) return argument.mid(7).toStdString();
    }
    return {};
}

// The list file named on the command line (made absolute); "" when none is.
std::string ListFileArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--home") {
            ++i;
            continue;
        }
        if (argument.startsWith("--")) continue;
        return QFileInfo(argument).absoluteFilePath().toStdString();
    }
    return {};
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("mavelo");
    // The desktop matches the windows with the installed launcher and icon.
    QGuiApplication::setDesktopFileName("org.mavelo.Mavelo");
    InitProgramFolder(argc > 0 ? argv[0] : "", HomeOption(QApplication::arguments()));
    // Album renames that a kill stopped partway are finished or undone first.
    for (const auto& failure : CompleteAlbumRenames(ProgramFolder()))
        std::fprintf(stderr, "mavelo: %s\n", failure.Text().c_str());
    QApplication::setWindowIcon(ApplicationIcon());
    InstallPumpEventsHook();

    // The player cannot work with sound libraries other than those it was
    // built for: nothing starts then.
    const std::string mismatch = TSoundSystem::VersionMismatchText();
    if (!mismatch.empty()) {
        QMessageBox::critical(nullptr, TSoundSystem::kVersionMismatchCaption,
                              QString::fromStdString(mismatch));
        return 1;
    }
    TApplication application;
    application.OpenAtStart(ListFileArgument(QApplication::arguments()));
    return application.Run();
}
