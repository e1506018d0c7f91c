#pragma once
// The search window ("FormSearch"): the text, words only or full string,
// and the fields to search in.  Shown modally by the search command.
#include <QDialog>

#include "views/Usearch_obj.h"

class QCheckBox;
class QLineEdit;

class TFormSearch : public QDialog {
    Q_OBJECT
  public:
    explicit TFormSearch(QWidget* parent = nullptr);

    // Fills the controls: fields 0 shows all four boxes checked.
    void Prepare(const TSearchSettings& settings);
    // What the controls say: full string when checked, else words only; the
    // fields are the sum of the checked boxes.
    TSearchSettings Settings() const;

    QLineEdit* EditString() const { return edit_; }

  private:
    QCheckBox* AddCheckBox(const char* name, const QString& caption);
    void ModeBoxToggled(QCheckBox* box, bool checked);

    QLineEdit* edit_;
    QCheckBox* words_;
    QCheckBox* string_;
    QCheckBox* artist_;
    QCheckBox* album_;
    QCheckBox* song_;
    QCheckBox* files_;
    bool preparing_ = false;
};
