#pragma once
// The template editor: edits one template file (.tpt).  Apply saves and
// closes, Discard (and Escape) closes without saving, Save as and New
// template ask for a file name first.  A changed text shows on a tinted page.
#include <QDialog>

#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TPrompts;

class TFormTemplate : public QDialog {
    Q_OBJECT
  public:
    TFormTemplate(TPrompts& prompts, QWidget* parent);

    // Loads the template (an empty path or a missing file: an empty page
    // without name, which Apply names through the save dialog).
    void Open(const std::string& path);
    const std::string& Path() const { return path_; }
    bool Modified() const { return modified_; }
    QString Text() const;

    static constexpr const char* kFilter = "Template file (*.tpt)";

  private:
    void Apply();
    void SaveAs();
    void NewTemplate();
    // Writes the page to `path`; an error box and false when it fails.
    bool SaveTo(const std::string& path);
    QString AskFileName();
    void SetPath(const std::string& path);
    void MarkModified(bool modified);

    TPrompts& prompts_;
    std::string path_;
    bool modified_ = false;
    bool loading_ = false;
    QPlainTextEdit* memo_;
    QLabel* pathLabel_;
};
