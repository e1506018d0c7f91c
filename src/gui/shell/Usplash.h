#pragma once
// The splash window shown while the program starts: product name, a picture
// and the version on a 300 x 113 area.  It belongs to the desktop, not to
// the main window, and is never translated.
#include <QWidget>

class TFormSplash : public QWidget {
    Q_OBJECT
  public:
    TFormSplash();

  protected:
    void paintEvent(QPaintEvent* event) override;
};
