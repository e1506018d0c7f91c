#pragma once
// What a subsystem's windows and controller may ask of the main window.  They
// get it at construction (with the session and the prompts) and never see the
// main window itself; tests give them a small fake.
#include "gui/shell/CommandId.h"

class QAction;
class QString;
class QWidget;

class TShellPort {
  public:
    virtual ~TShellPort() = default;

    // The command with that id (never null): a controller connects its
    // handler to it and the shell enables it by the command table's rule.
    virtual QAction* Action(TCommandId id) const = 0;
    // The window that dialogs and message boxes belong to.
    virtual QWidget* Window() const = 0;
    // Busy mode for long operations (nestable; input is dropped meanwhile).
    virtual void SetBusy(bool on) = 0;
    // Whether a long operation runs now (a shell without busy mode: never).
    virtual bool IsBusy() const { return false; }
    // A line in the status bar ("" clears it).
    virtual void ShowStatus(const QString& text) = 0;
    // The title bar and every command's enabled state, after a change.
    virtual void RefreshCommands() = 0;
    // A window whose controls the language files address by objectName.
    virtual void RegisterTranslatableWindow(QWidget* window) = 0;
};

// Busy mode of the shell for the lifetime of the guard.
class TShellBusy {
  public:
    explicit TShellBusy(TShellPort& shell) : shell_(shell) { shell_.SetBusy(true); }
    ~TShellBusy() { shell_.SetBusy(false); }
    TShellBusy(const TShellBusy&) = delete;
    TShellBusy& operator=(const TShellBusy&) = delete;

  private:
    TShellPort& shell_;
};
