#include <QApplication>
#include <QMainWindow>

#include "core/ProgramFolder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InitProgramFolder(argc > 0 ? argv[0] : "", "");
    QMainWindow window;
    window.setWindowTitle("Mavelo");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
