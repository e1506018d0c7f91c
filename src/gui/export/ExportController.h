#pragma once
// The Export command: shows the export window over the view list, and keeps
// the window's choices in the session's "Export" settings.
#include <QObject>

class TFormExport;
class TPrompts;
class TSession;
class TShellPort;

class TExportController : public QObject {
    Q_OBJECT
  public:
    TExportController(TSession& session, TShellPort& shell, TPrompts& prompts,
                      QObject* parent = nullptr);
    ~TExportController() override;

    TFormExport& Form() const { return *form_; }
    // The Export command: activate the window and show it modally.
    void ShowExport();

  private:
    TSession& session_;
    TShellPort& shell_;
    TFormExport* form_;  // owned through the shell's window
};
