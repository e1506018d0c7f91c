#pragma once
// A temporary program folder for the main window's tests, so that they never
// touch the build's own mavelo.ini, with helpers for its settings file and
// language files.
#include <QApplication>
#include <QTest>

#include <memory>
#include <string>

#include "TempDir.h"
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"
#include "gui/shell/Umain.h"

class ShellHome {
  public:
    ShellHome() {
        InitProgramFolder("", dir_.Path());
        LangLines().clear();
        CurrentLanguage() = "English";
    }

    const TempDir& Dir() const { return dir_; }
    std::string IniPath() const { return dir_ / "mavelo.ini"; }
    // mavelo.ini with the splash and tips off, more keys of [Window] and
    // more lines after [Tips].
    void WriteIni(const std::string& more = "", const std::string& windowKeys = "") const {
        dir_.File("mavelo.ini",
                  "[Window]\nShowSplashScreen=0\n" + windowKeys + "[Tips]\nShowTips=0\n" + more);
    }
    void WriteLanguage(const std::string& name, const std::string& lines) const {
        dir_.File(name + ".lng", lines);
    }
    TIniFile Ini() const {
        TIniFile ini;
        ini.Load(IniPath());
        return ini;
    }

  private:
    TempDir dir_;
};

// A main window on screen after its first activation.
inline std::unique_ptr<TFormMain> StartMainWindow() {
    auto window = std::make_unique<TFormMain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    if (!QTest::qWaitFor([&] { return window->FirstActivationDone(); }, 5000)) return nullptr;
    return window;
}
