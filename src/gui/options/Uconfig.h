#pragma once
// The options window ("Configuration"): most settings on three pages,
// "General", "Audio" and "Internet".  It edits a copy of the settings and
// keeps the change marks; "Close" takes the edited fields, the window's
// close box (or Escape) takes none of them, though a "Clear list" pressed or
// a count edited before still counts.  What the changes do is the options
// controller's.
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "views/OptionEffects.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;

// The sound layer's lists for the "Audio" page.
struct TAudioLists {
    std::vector<std::string> outputTypes;
    // The device names of an output type, in the layer's order.
    std::function<std::vector<std::string>(int outputType)> driverNames;
};

class TFormConfig : public QDialog {
    Q_OBJECT
  public:
    enum Page { GeneralPage = 0, AudioPage = 1, InternetPage = 2 };

    explicit TFormConfig(QWidget* parent = nullptr);

    // Copies the values in and readies the window as it opens: page
    // "General", the list items in the current language, every control
    // showing its value and the change marks cleared.
    void Prepare(const TSettings& values, TAudioLists audio);
    // The values after the window closed: the edited ones after "Close",
    // the ones given to Prepare otherwise.
    const TSettings& Values() const { return values_; }
    const TOptionMarks& Marks() const { return marks_; }
    int CurrentPage() const;
    void ShowPage(int page);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildGeneralPage();
    QWidget* BuildAudioPage();
    QWidget* BuildInternetPage();
    void ConnectMarks();
    void FillListItems();
    void ShowValues();
    void FillDevices(int outputType);
    void SpeedButtonOkClick();
    void TakeGeneralValues();
    void TakeSoundValues();
    void TakeInternetValues();
    void cbxOutputTypeChange(int item);

    TSettings values_;
    TOptionMarks marks_;
    TAudioLists audio_;
    bool filling_ = false;  // the controls are being filled: no edit marks
    // What the lists showed at activation.
    int shownQuality_ = -1;
    bool shownHideOneFolder_ = false;
    int shownOutputType_ = -1, shownDevice_ = -1, shownMixer_ = -1, shownRate_ = -1;

    QStackedWidget* pages_;
    QTabBar* tabs_;
    // General
    QCheckBox *stayOnTop_, *spectrum_, *showSplash_, *treeOne_;
    QComboBox* coverPos_;
    QLineEdit *listFileName_, *trackFileName_;
    QCheckBox *preScan_, *logPerf_, *cdAutoScan_, *watchFolders_;
    QCheckBox *cacheCovers_, *saveCachedCovers_, *embeddedCovers_;
    QComboBox *quality_, *cdbQuality_;
    QSpinBox *mostPlayed_, *lastPlayed_;
    QPushButton *clearMostPlayed_, *clearLastPlayed_;
    // Audio
    QComboBox *outputType_, *outputDevice_, *mixerType_, *outputRate_;
    // Internet
    QLineEdit *freeDB_, *freeDBLogin_, *freeDBHostName_, *mavelo_;
    QCheckBox *useFreeDB_, *checkUpdates_;
    QCheckBox *freeDBTag_, *freeDBRenameFile_, *freeDBRenamePlaylist_, *freeDBRenameDir_;
    QComboBox* tagType_;
};
