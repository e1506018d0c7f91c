// Mavelo: start-up of the desktop program.
//   mavelo [--home DIR]
// The program folder (settings, play queue, covers database, language files)
// is DIR, else $MAVELO_HOME, else the executable's folder.
#include <QApplication>
#include <QStringList>

#include "core/ProgramFolder.h"
#include "gui/shell/BusyMode.h"
#include "gui/shell/SignalClose.h"
#include "gui/shell/Umain.h"

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
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("mavelo");
    InitProgramFolder(argc > 0 ? argv[0] : "", HomeOption(QApplication::arguments()));
    InstallPumpEventsHook();

    TFormMain window;
    TSignalCloser closeOnSignal(&window);
    window.show();
    const int code = app.exec();
    // The event loop can also end without the window closing (the session
    // ends): the shutdown steps still run.
    if (window.isVisible()) window.close();
    return code;
}
