#include "gui/shell/ToolbarLayout.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLayout>
#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <numeric>
#include <string>

#include "core/IniFile.h"
#include "gui/shell/ToolbarTable.h"
#include "gui/shell/Ucommands.h"

namespace {
constexpr const char* kSection = "ToolBar";
constexpr const char* kBandColour = "#F5F5F5";
constexpr const char* kChosenBandColour = "#D1E6EF";

std::string Key(const char* name, int id) {
    return name + std::to_string(id);
}
}  // namespace

std::vector<int> BuiltInBandOrder() {
    const auto& table = BandTable();
    std::vector<int> order(table.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return table[a].position < table[b].position; });
    return order;
}

void MoveBand(std::vector<int>& order, int id, int index) {
    auto it = std::find(order.begin(), order.end(), id);
    if (it == order.end()) return;
    order.erase(it);
    index = std::min(index, static_cast<int>(order.size()));
    order.insert(order.begin() + index, id);
}

void PlaceBands(std::vector<int>& order, const std::vector<int>& places) {
    // Moving the bands in id order would let a later move push an earlier
    // band off its place; in the order of the places each keeps its own.
    std::vector<int> ids;
    for (int id = 0; id < static_cast<int>(places.size()); ++id)
        if (places[id] >= 0) ids.push_back(id);
    std::stable_sort(ids.begin(), ids.end(), [&](int a, int b) { return places[a] < places[b]; });
    for (int id : ids) MoveBand(order, id, places[id]);
}

std::vector<int> MergeVisibleOrder(const std::vector<int>& previous,
                                   const std::vector<int>& visibleOnScreen) {
    std::vector<int> merged;
    auto next = visibleOnScreen.begin();
    for (int id : previous) {
        const bool visible =
            std::find(visibleOnScreen.begin(), visibleOnScreen.end(), id) != visibleOnScreen.end();
        merged.push_back(visible && next != visibleOnScreen.end() ? *next++ : id);
    }
    return merged;
}

TToolbarBands::TToolbarBands(QMainWindow* window, const TCommands& commands)
    : QObject(window), window_(window), order_(BuiltInBandOrder()) {
    for (int id = 0; id < static_cast<int>(BandTable().size()); ++id) MakeBand(id, commands);
    Highlight(-1);
    Arrange();
}

void TToolbarBands::MakeBand(int id, const TCommands& commands) {
    const TBandInfo& info = BandTable()[id];
    auto* toolbar = new QToolBar(QString::fromLatin1(info.caption), window_);
    toolbar->setObjectName(info.toolbar);
    toolbar->setAllowedAreas(Qt::TopToolBarArea);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    // Tight bands, so that the built-in row fits an 800-pixel window.
    toolbar->layout()->setSpacing(0);
    toolbar->layout()->setContentsMargins(0, 0, 0, 0);
    if (*info.comboBox) {
        auto* box = new QComboBox(toolbar);
        box->setObjectName(info.comboBox);
        // Fixed, so that long preset names do not push the other bands off
        // the row; the open list is wide enough for them.
        box->setFixedWidth(kToolbarBoxWidth);
        box->view()->setMinimumWidth(220);
        toolbar->addWidget(box);
        (std::string_view(info.comboBox) == "CBSel" ? selectionBox_ : filterBox_) = box;
    }
    BandState band{toolbar, info.newRow, info.width, {}};
    for (const auto& b : info.buttons) {
        QAction* command = commands.Action(b.command);
        auto* button = new QToolButton(toolbar);
        button->setObjectName(b.button);
        button->setDefaultAction(command);
        button->setAutoRaise(true);
        QAction* slot = toolbar->addWidget(button);
        slot->setVisible(b.shown);
        band.buttons.push_back({b.button, command, slot});
    }
    bands_.push_back(std::move(band));
}

bool TToolbarBands::BandVisible(int id) const {
    return !bands_[id].toolbar->isHidden();
}

void TToolbarBands::SetBandVisible(int id, bool visible) {
    bands_[id].toolbar->setVisible(visible);
}

void TToolbarBands::Arrange() {
    std::vector<bool> visible;
    for (const auto& band : bands_) {
        visible.push_back(!band.toolbar->isHidden());
        window_->removeToolBarBreak(band.toolbar);
        window_->removeToolBar(band.toolbar);
    }
    bool first = true;
    for (int id : order_) {
        BandState& band = bands_[id];
        if (band.newRow && !first) window_->addToolBarBreak(Qt::TopToolBarArea);
        window_->addToolBar(Qt::TopToolBarArea, band.toolbar);
        band.toolbar->setVisible(visible[id]);
        first = false;
    }
}

bool TToolbarBands::ShownOnScreen() const {
    return window_->isVisible();
}

std::vector<int> TToolbarBands::Order() const {
    if (!ShownOnScreen()) return order_;
    // The user may have dragged bands: read the visible ones' places.
    std::vector<int> visible;
    for (int id : order_)
        if (BandVisible(id)) visible.push_back(id);
    std::stable_sort(visible.begin(), visible.end(), [&](int a, int b) {
        const QPoint pa = bands_[a].toolbar->pos(), pb = bands_[b].toolbar->pos();
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return MergeVisibleOrder(order_, visible);
}

void TToolbarBands::LoadLayout(const TIniFile& ini) {
    for (auto& band : bands_)
        for (auto& button : band.buttons) {
            const int shown = ini.ReadInteger(kSection, button.name.toStdString(), -1);
            if (shown >= 0) button.slot->setVisible(shown == 1);
        }
    std::vector<int> places;
    for (int id = 0; id < BandCount(); ++id)
        places.push_back(ini.ReadInteger(kSection, Key("ToolBarIndex", id), -1));
    PlaceBands(order_, places);
    for (int id = 0; id < BandCount(); ++id) {
        BandState& band = bands_[id];
        const int visible = ini.ReadInteger(kSection, Key("ToolBarVisible", id), -1);
        if (visible >= 0) band.toolbar->setVisible(visible == 1);
        const int newRow = ini.ReadInteger(kSection, Key("ToolBarBreak", id), -1);
        if (newRow >= 0) band.newRow = newRow == 1;
        const int width = ini.ReadInteger(kSection, Key("ToolBarWidth", id), -1);
        if (width >= 0) band.width = width;
    }
    Arrange();
}

void TToolbarBands::SaveLayout(TIniFile& ini) const {
    const std::vector<int> order = Order();
    // Rows as the window shows them now; a hidden band keeps its flag.
    std::vector<bool> newRow;
    for (const auto& band : bands_) newRow.push_back(band.newRow);
    if (ShownOnScreen()) {
        int previousY = -1;
        for (int id : order) {
            if (!BandVisible(id)) continue;
            const int y = bands_[id].toolbar->pos().y();
            if (previousY >= 0) newRow[id] = y > previousY;
            previousY = y;
        }
    }
    for (int position = 0; position < static_cast<int>(order.size()); ++position) {
        const int id = order[position];
        ini.WriteString(kSection, Key("ToolBarName", id),
                        bands_[id].toolbar->objectName().toStdString());
        ini.WriteInteger(kSection, Key("ToolBarIndex", id), position);
        ini.WriteBool(kSection, Key("ToolBarVisible", id), BandVisible(id));
        ini.WriteBool(kSection, Key("ToolBarBreak", id), newRow[id]);
        ini.WriteInteger(kSection, Key("ToolBarWidth", id), bands_[id].width);
    }
    for (int id : order)
        for (const auto& button : bands_[id].buttons)
            ini.WriteBool(kSection, button.name.toStdString(), button.slot->isVisible());
}

void TToolbarBands::Highlight(int id) {
    for (int i = 0; i < BandCount(); ++i)
        bands_[i].toolbar->setStyleSheet(
            QString("QToolBar { background: %1; }").arg(i == id ? kChosenBandColour : kBandColour));
}
