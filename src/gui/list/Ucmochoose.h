#pragma once
// The auto-launch chooser ("FormCmoChoose"): a disc holds several ".cmo"
// lists; the user picks the one to load.
#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

class TFormCmoChoose : public QDialog {
    Q_OBJECT
  public:
    explicit TFormCmoChoose(QWidget* parent = nullptr);

    void SetNames(const std::vector<std::string>& names);
    // The selected name, "" when none is selected.
    std::string TakenName() const;
    QListWidget* List() const { return list_; }

  private:
    QListWidget* list_;
};
