#pragma once
// The tips window: one start-up tip at a time, "Next tip", and the choice
// whether tips show at start.  Prepare it, show it (modal), then read back
// the tip shown last and the start-up choice.
#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

class TFormTip : public QDialog {
    Q_OBJECT
  public:
    explicit TFormTip(QWidget* parent = nullptr);

    // Starts at tip `tipNumber` (the first one when it is beyond the last).
    void Prepare(const std::vector<std::string>& tips, int tipNumber, bool showTips);
    int TipNumber() const { return index_; }
    // "Close" takes the check box; the window's close box keeps the old choice.
    bool ShowTips() const { return showTips_; }
    QString ShownTip() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;  // Esc is "Close"

  private:
    void NextTip();
    void CloseClicked();
    void ShowTip();

    std::vector<std::string> tips_;
    int index_ = 0;
    bool showTips_ = true;
    QLabel* tipText_;
    QCheckBox* dontShow_;
    QPushButton* next_;
    QPushButton* close_;
};
