#pragma once
// The window that announces a newer version found by the update check.
#include <QDialog>

#include <string>

class QLabel;

class TFormVersion : public QDialog {
    Q_OBJECT
  public:
    explicit TFormVersion(QWidget* parent = nullptr);

    // The latest version text and the update site's address.
    void Prepare(const std::string& latest, const std::string& site);

  private:
    QLabel* latest_;
    QLabel* link_;
};
