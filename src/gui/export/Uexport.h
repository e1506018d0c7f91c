#pragma once
// The export window: the template (chosen, edited), the output file whose
// extension follows the template's header, how many albums of the view list
// to export, whether to open the result, and the log and progress of the
// last export.
#include <QDialog>

#include <functional>
#include <string>

#include "export/ExportJob.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class TFormTemplate;
class TPrompts;
class TSession;
class TShellPort;

class TFormExport : public QDialog {
    Q_OBJECT
  public:
    TFormExport(TSession& session, TShellPort& shell, TPrompts& prompts, QWidget* parent);

    // Before each showing: the number of albums from the view list, the
    // template checked and loaded into the editor, the output's extension.
    void Activate();
    // Takes the "Export" settings / gives them back.
    void ReadSettings();
    void StoreSettings() const;

    // Shows a dialog modally; tests replace it to script the editor.
    std::function<int(QDialog&)> RunModal = [](QDialog& dialog) { return dialog.exec(); };
    // Opens the result with the desktop's program for it.
    std::function<void(const std::string& path)> OpenFile;

    TFormTemplate& Editor() const { return *editor_; }
    // The template file the export uses ("" when none is chosen).
    std::string TemplatePath() const;
    // The output file: a name without folder lies in the program folder.
    std::string OutputPath() const;

    void ChooseTemplate();
    void EditTemplate();
    void ChooseOutput();
    void PerformExport();

  private:
    void ApplyFileType();
    void UseTemplate(const std::string& path);
    void Progress(int stage, int64_t position, int64_t maximum);
    void AddLogLine(const std::string& line);
    void UpdateButtons();

    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TFormTemplate* editor_;
    TExportStageLog stages_;
    QLineEdit* template_;
    QLineEdit* output_;
    QSpinBox* limit_;
    QCheckBox* open_;
    QPlainTextEdit* log_;
    QProgressBar* progress_;
    QPushButton* edit_;
    QPushButton* perform_;
};
