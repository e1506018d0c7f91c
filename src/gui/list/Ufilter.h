#pragma once
// The filter window ("FormFilter"): the artist, genre and year criteria, the
// named presets, and filter files (".mvf").  Not modal; it stays above the
// main window.  Apply, Read, Load and Delete ask the main window to apply
// the filter change (FilterChanged); New, Write and Rename change the presets
// (PresetsChanged), Clear only the fields.
#include <QDialog>

#include <memory>

#include "views/PickList.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TCatalogue;
class TFormFilterAdd;
class TPrompts;

class TFormFilter : public QDialog {
    Q_OBJECT
  public:
    TFormFilter(TCatalogue& catalogue, TPrompts& prompts, TFormFilterAdd& pickWindow,
                QWidget* parent);

    // Shows the edited filter in the fields (each time the window opens, and
    // after a list file was loaded).
    void ShowFields();
    void ShowPresets();

    // The commands of the buttons.
    void Apply();
    void Clear();
    void Pick(TPickField field);
    void NewPreset();
    void WritePreset();
    void ReadPreset();
    void RenamePreset();
    void DeletePreset();
    void LoadFilterFile(const QString& path);
    void SaveFilterFile(const QString& path);

    QPlainTextEdit* Memo(TPickField field) const;
    QListWidget* Presets() const { return presets_; }

  signals:
    // ApplyFilterChange: the applied filter or the presets changed.
    void FilterChanged();
    // A preset was added, renamed or overwritten: the list file keeps them.
    void PresetsChanged();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* MakeMemo(const char* name);
    QWidget* MakeCriteria();
    QWidget* MakePresetPanel();
    // The fields, trimmed, become the edited filter.
    void TakeFields();
    int SelectedPreset() const;
    void Load();
    void Save();

    TCatalogue& catalogue_;
    TPrompts& prompts_;
    TFormFilterAdd& pickWindow_;
    QPlainTextEdit* artist_;
    QPlainTextEdit* genre_;
    QPlainTextEdit* year_;
    QPushButton* apply_;
    QListWidget* presets_;
};
