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
#include "gui/app/Application.h"
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

// The program's windows as the application object builds them; `->` reaches
// the main window.
class MainUnderTest {
  public:
    MainUnderTest() : app_(std::make_unique<TApplication>()) {}
    explicit MainUnderTest(std::unique_ptr<TApplication> app) : app_(std::move(app)) {}

    explicit operator bool() const { return app_ != nullptr; }
    TFormMain* operator->() const { return &app_->Window(); }
    TFormMain* get() const { return &app_->Window(); }
    TApplication& App() const { return *app_; }
    TCatalogue& Catalogue() const { return app_->Session().Catalogue; }
    bool FirstActivationDone() const { return app_->FirstActivationDone(); }
    void reset() { app_.reset(); }

  private:
    std::unique_ptr<TApplication> app_;
};

// A main window on screen after its first activation (empty when it failed).
inline MainUnderTest StartMainWindow() {
    MainUnderTest window;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return MainUnderTest(nullptr);
    if (!QTest::qWaitFor([&] { return window.FirstActivationDone(); }, 5000))
        return MainUnderTest(nullptr);
    return window;
}
