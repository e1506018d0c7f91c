#pragma once
// The browse options window ("Browse options", not modal): edits the look in
// use (entry 0 of the browse presets) live, and keeps named presets of it.
// Every change goes into entry 0 at once and is announced, so that the wall
// of covers shows it.
#include <QColor>
#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

#include "browse/Ubrowse_obj.h"

class QCheckBox;
class QListWidget;
class QSpinBox;
class TColorSwatch;
class TFontButton;
class TPrompts;

class TFormBrowseOptions : public QDialog {
    Q_OBJECT
  public:
    TFormBrowseOptions(TBrowseDetailsList& presets, TPrompts& prompts, QWidget* parent = nullptr);

    // The colour and font dialogs (tests answer them instead); nothing when
    // cancelled.
    std::function<std::optional<QColor>(const QColor& start, const QString& title)> ChooseColor;
    std::function<std::optional<TBrowseFont>(const TBrowseFont& start, const QString& title)>
        ChooseFont;

    // The controls show entry 0 and the list box the presets' names.
    void ShowDetails();

    // The preset commands.
    void SpeedButtonNewClick();
    void SpeedButtonOverwriteClick();
    void SpeedButtonLoadClick();
    void SpeedButtonDeleteClick();

  signals:
    // Panel size or space changed: layout, contents and colours again.
    void LayoutChanged();
    // Colours, border or fonts changed.
    void StyleChanged();
    // A preset became the look in use: everything again.
    void PresetLoaded();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* MakeSizes();
    QWidget* MakeColours();
    QWidget* MakeTexts();
    QWidget* MakePresets();
    QSpinBox* MakeSpin(const char* name, int minimum, int maximum);
    TColorSwatch* MakeSwatch(const char* name);
    QCheckBox* MakeCheck(const char* name, const QString& caption);

    void SizeChanged();
    void SwatchClicked(TColorSwatch* swatch);
    void FlagClicked();
    void FontClicked(TFontButton* button);
    // Colours, flags, highlights and fonts of the controls into entry 0.
    void StoreStyle();
    void ShowRaisedLook();
    void ShowPresetNames();
    std::optional<size_t> SelectedPreset() const;

    TBrowseDetailsList& presets_;
    TPrompts& prompts_;
    bool updating_ = false;  // the controls are being filled: their news is ours

    QSpinBox *width_, *height_, *space_;
    TColorSwatch *background_, *panel_, *selected_, *inSelection_;
    TColorSwatch *artistHighlight_, *albumHighlight_, *yearHighlight_;
    QCheckBox *border_, *listColor_, *artist3D_, *album3D_, *year3D_;
    TFontButton *artistFont_, *albumFont_, *yearFont_;
    QListWidget* list_;
};
