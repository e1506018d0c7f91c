#pragma once
// The pick window ("FormFilterAdd"): the distinct artists, genres or years
// of the collection, several of which can be chosen and added to a filter
// field.
#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

class TFormFilterAdd : public QDialog {
    Q_OBJECT
  public:
    explicit TFormFilterAdd(QWidget* parent = nullptr);

    void SetItems(const std::vector<std::string>& items);
    // The chosen items in list order.
    std::vector<std::string> ChosenItems() const;
    QListWidget* List() const { return list_; }

  private:
    QListWidget* list_;
};
