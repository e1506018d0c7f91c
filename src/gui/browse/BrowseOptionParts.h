#pragma once
// The small controls of the browse options window: a colour swatch and a
// font button that shows its font, colour and raised effect.
#include <QPushButton>
#include <QToolButton>

#include "browse/Ubrowse_obj.h"

class TColorSwatch : public QToolButton {
    Q_OBJECT
  public:
    TColorSwatch(const char* name, QWidget* parent);
    TBrowseColor Color() const { return color_; }
    void SetColor(TBrowseColor color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TBrowseColor color_ = 0;
};

class TFontButton : public QPushButton {
    Q_OBJECT
  public:
    TFontButton(const char* name, const QString& caption, QWidget* parent);
    const TBrowseFont& Font() const { return font_; }
    void SetFont(const TBrowseFont& font);
    // The raised look and its highlight colour.
    void SetRaised(bool raised, TBrowseColor highlight);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TBrowseFont font_;
    bool raised_ = false;
    TBrowseColor highlight_ = 0;
};
