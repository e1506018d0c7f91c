#include "gui/shell/Utoolbars.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "gui/shell/ToolbarLayout.h"
#include "gui/shell/ToolbarTable.h"

namespace {
QListWidgetItem* CheckItem(QListWidget* list, const QString& text, bool checked) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QLabel* Header(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}
}  // namespace

const std::vector<int>& TFormToolbars::RowBands() {
    // File, Selection, Filter, Edit, List, Album, Tools.
    static const std::vector<int> rows{0, 1, 2, 3, 6, 5, 4};
    return rows;
}

TFormToolbars::TFormToolbars(TToolbarBands& bands, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), bands_(bands) {
    setObjectName("FormToolbars");
    setWindowTitle("Toolbars");
    setModal(false);

    toolbars_ = new QListWidget(this);
    toolbars_->setObjectName("ListBoxToolbars");
    buttons_ = new QListWidget(this);
    buttons_->setObjectName("ListBoxButtons");
    buttons_->setIconSize(QSize(16, 16));
    buttons_->setMinimumWidth(260);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("SpeedButtonClose");

    auto* layout = new QGridLayout(this);
    layout->addWidget(Header("LabelToolbars", "TOOLBARS", this), 0, 0);
    layout->addWidget(Header("LabelButtons", "BUTTONS", this), 0, 1);
    layout->addWidget(toolbars_, 1, 0);
    layout->addWidget(buttons_, 1, 1);
    layout->addWidget(close, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);

    connect(toolbars_, &QListWidget::currentRowChanged, this, &TFormToolbars::FillButtons);
    connect(toolbars_, &QListWidget::itemChanged, this, &TFormToolbars::ToolbarChanged);
    connect(buttons_, &QListWidget::itemChanged, this, &TFormToolbars::ButtonChanged);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void TFormToolbars::showEvent(QShowEvent* event) {
    FillToolbars();
    toolbars_->setCurrentRow(1);
    FillButtons();
    QDialog::showEvent(event);
}

void TFormToolbars::hideEvent(QHideEvent* event) {
    bands_.Highlight(-1);
    QDialog::hideEvent(event);
}

int TFormToolbars::ChosenBand() const {
    const int row = toolbars_->currentRow();
    return row >= 0 && row < static_cast<int>(RowBands().size()) ? RowBands()[row] : -1;
}

void TFormToolbars::FillToolbars() {
    filling_ = true;
    toolbars_->clear();
    for (int id : RowBands()) {
        const TBandInfo& info = BandTable()[id];
        CheckItem(toolbars_, QString::fromStdString(LangText(info.captionKey, info.caption)),
                  bands_.BandVisible(id));
    }
    filling_ = false;
}

void TFormToolbars::FillButtons() {
    const int id = ChosenBand();
    filling_ = true;
    buttons_->clear();
    if (id >= 0) {
        for (const auto& button : bands_.Buttons(id)) {
            QString caption =
                QString::fromStdString(StripAmpersands(button.command->text().toStdString()));
            CheckItem(buttons_, caption, button.slot->isVisible())->setIcon(button.command->icon());
        }
    }
    filling_ = false;
    bands_.Highlight(id);
}

void TFormToolbars::ToolbarChanged(QListWidgetItem* item) {
    if (filling_) return;
    const int row = toolbars_->row(item);
    bands_.SetBandVisible(RowBands()[row], item->checkState() == Qt::Checked);
}

void TFormToolbars::ButtonChanged(QListWidgetItem* item) {
    const int id = ChosenBand();
    if (filling_ || id < 0) return;
    bands_.Buttons(id)[buttons_->row(item)].slot->setVisible(item->checkState() == Qt::Checked);
}
