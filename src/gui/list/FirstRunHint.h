#pragma once
// What to do next, over the empty album grid while no list is open: a short
// text with a button that chooses music folders for a new list and one that
// opens a list file.  It sits in the middle of the grid (on its viewport)
// and follows its size.
#include <QFrame>

class QAction;
class QLabel;
class QPushButton;

class TFirstRunHint : public QFrame {
    Q_OBJECT
  public:
    // `newList` and `openList` are the commands the buttons run.
    TFirstRunHint(QWidget* area, QAction* newList, QAction* openList);

    // Fits the texts of another language.
    void RefreshTexts();
    // Shown only when no list is open.
    void ShowFor(bool listOpen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Centre();

    QLabel* text_;
    QPushButton* folders_;
    QPushButton* open_;
};
