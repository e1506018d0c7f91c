#pragma once
// The tool bars window: which bands and which of their buttons are shown.
// Changes apply at once and are stored at exit with the tool bar layout.
#include <QDialog>

class QListWidget;
class QListWidgetItem;
class TToolbarBands;

class TFormToolbars : public QDialog {
    Q_OBJECT
  public:
    TFormToolbars(TToolbarBands& bands, QWidget* parent);

    // Band id of each row of the tool bar list.
    static const std::vector<int>& RowBands();
    QListWidget* ToolbarList() const { return toolbars_; }
    QListWidget* ButtonList() const { return buttons_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FillToolbars();
    void FillButtons();
    void ToolbarChanged(QListWidgetItem* item);
    void ButtonChanged(QListWidgetItem* item);
    int ChosenBand() const;

    TToolbarBands& bands_;
    QListWidget* toolbars_;
    QListWidget* buttons_;
    bool filling_ = false;  // ignore the lists' own change signals while filling them
};
