#pragma once
// The seven tool bars of the main window: their buttons, their order, rows,
// visibility and widths, the built-in layout and the layout stored in the
// settings file (section "ToolBar").  Qt sizes each tool bar to its buttons,
// so the stored width is only kept and written back as read.
#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QComboBox;
class QMainWindow;
class QToolBar;
class TCommands;
class TIniFile;

// Width of the filter and selection boxes (wider when their own entries need it).
inline constexpr int kToolbarBoxWidth = 124;

// Band ids in the order of their built-in positions.
std::vector<int> BuiltInBandOrder();
// Moves band `id` to place `index` (past the end: to the end), shifting the
// others, as setting a band's index does.
void MoveBand(std::vector<int>& order, int id, int index);
// Moves each band of `places` (band id -> stored place, -1 for none) to its
// place, in the order of the places, so that an order written by the layout
// comes back whole.
void PlaceBands(std::vector<int>& order, const std::vector<int>& places);
// The order after the user rearranged the visible bands on screen: hidden
// bands keep their places, the visible ones fill the others in screen order.
std::vector<int> MergeVisibleOrder(const std::vector<int>& previous,
                                   const std::vector<int>& visibleOnScreen);

class TToolbarBands : public QObject {
    Q_OBJECT
  public:
    struct Button {
        QString name;
        QAction* command;
        QAction* slot;  // the button's place on the tool bar: its visibility
    };

    // Makes the tool bars on the window's top edge in the built-in layout.
    TToolbarBands(QMainWindow* window, const TCommands& commands);

    // Reads the stored layout; a missing or negative value keeps the current one.
    void LoadLayout(const TIniFile& ini);
    void SaveLayout(TIniFile& ini) const;

    int BandCount() const { return static_cast<int>(bands_.size()); }
    QToolBar* Band(int id) const { return bands_[id].toolbar; }
    const std::vector<Button>& Buttons(int id) const { return bands_[id].buttons; }
    bool BandVisible(int id) const;
    void SetBandVisible(int id, bool visible);
    bool NewRow(int id) const { return bands_[id].newRow; }
    int Width(int id) const { return bands_[id].width; }
    // Band ids from first to last as the window shows them now.
    std::vector<int> Order() const;

    // Colours the band chosen in the tool bars window; -1 for none.
    void Highlight(int id);

    QComboBox* SelectionBox() const { return selectionBox_; }  // CBSel
    QComboBox* FilterBox() const { return filterBox_; }        // CBPrefs

  private:
    struct BandState {
        QToolBar* toolbar;
        bool newRow;
        int width;
        std::vector<Button> buttons;
    };

    void MakeBand(int id, const TCommands& commands);
    void Arrange();
    bool ShownOnScreen() const;

    QMainWindow* window_;
    std::vector<BandState> bands_;
    std::vector<int> order_;
    QComboBox* selectionBox_ = nullptr;
    QComboBox* filterBox_ = nullptr;
};
