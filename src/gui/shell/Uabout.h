#pragma once
// The about window: product name, version, what the program is built with,
// and credits.
#include <QDialog>

class TFormAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TFormAbout(QWidget* parent = nullptr);
};
