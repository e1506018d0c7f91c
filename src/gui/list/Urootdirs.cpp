#include "gui/list/Urootdirs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Ulang.h"
#include "gui/list/Unewscan.h"
#include "gui/common/AlbumMarks.h"
#include "gui/common/DialogParts.h"

namespace {
constexpr int kNewRole = Qt::UserRole + 1;  // an entry added in this dialog
}

TFormRootDirs::TFormRootDirs(QWidget* parent) : QDialog(parent) {
    setObjectName("FormRootDirs");
    setWindowTitle("Directories to scan");
    list_ = new QListWidget(this);
    list_->setObjectName("ListBoxDirs");
    hint_ = new QLabel(this);
    hint_->setObjectName("LabelHint");
    hint_->setWordWrap(true);
    add_ = MakeButton(this, "ButtonAdd", "Add a new directory");
    move_ = MakeButton(this, "ButtonMove", "Move");
    remove_ = MakeButton(this, "ButtonRemove", "Remove");
    ok_ = MakeButton(this, "ButtonOk", "Ok");
    ok_->setDefault(true);
    auto* cancel = MakeButton(this, "ButtonCancel", "Cancel");
    connect(add_, &QPushButton::clicked, this, &TFormRootDirs::AddDirectory);
    connect(move_, &QPushButton::clicked, this, &TFormRootDirs::MoveDirectory);
    connect(remove_, &QPushButton::clicked, this, &TFormRootDirs::RemoveDirectory);
    connect(ok_, &QPushButton::clicked, this, &TFormRootDirs::Ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* picker = new TFormGetDirectory(this);
    PickFolder = [picker](const QString& start) { return picker->Pick(start); };

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(this, "LabelDirs", "DIRECTORIES TO SCAN IN THE CURRENT LIST"));
    layout->addWidget(list_, 1);
    layout->addWidget(hint_);
    layout->addLayout(
        ButtonRow({add_, move_, remove_, MakeHelpButton(this, "rootdirs.htm")}, {ok_, cancel}));
    resize(480, 320);
}

void TFormRootDirs::Prepare(Mode mode, const std::vector<std::string>& roots) {
    mode_ = mode;
    resultCode_ = NoResult;
    newFolders_.clear();
    chosenIndex_ = -1;
    movedTo_.clear();
    list_->clear();
    for (const auto& root : roots) list_->addItem(QStr(root));
    if (list_->count() > 0) list_->setCurrentRow(0);
    const bool adding = mode == AddMode;
    add_->setVisible(adding);
    ok_->setVisible(adding);
    move_->setVisible(!adding);
    remove_->setVisible(true);
    hint_->setText(
        adding ? QStr(LangText("AddRootDir",
                               "Please add the directories where you use to put your "
                               "audio files. Then you will be able to create "
                               "playlists for all your albums if you haven't done "
                               "that so far."))
               : QStr(LangText("ChangeRootDir", "You can remove or move a directory to scan.")));
}

bool TFormRootDirs::IsNew(int row) const {
    return row >= 0 && list_->item(row)->data(kNewRole).toBool();
}

void TFormRootDirs::Finish(Result code) {
    resultCode_ = code;
    accept();
}

void TFormRootDirs::AddDirectory() {
    const QString folder = PickFolder(QString());
    if (folder.isEmpty()) return;
    auto* item = new QListWidgetItem(folder, list_);
    item->setData(kNewRole, true);
    list_->setCurrentItem(item);
}

void TFormRootDirs::MoveDirectory() {
    const int row = list_->currentRow();
    if (mode_ != ChangeMode || row < 0) return;
    const QString folder = PickFolder(list_->item(row)->text());
    if (folder.isEmpty()) return;
    chosenIndex_ = row;
    movedTo_ = folder.toStdString();
    Finish(Moved);
}

void TFormRootDirs::RemoveDirectory() {
    const int row = list_->currentRow();
    if (row < 0) return;
    if (mode_ == AddMode) {
        // Roots of the list stay; only folders added now can be taken back.
        if (IsNew(row)) delete list_->takeItem(row);
        return;
    }
    if (list_->count() < 2) return;  // the last root cannot go
    chosenIndex_ = row;
    Finish(Removed);
}

void TFormRootDirs::Ok() {
    if (mode_ != AddMode) return;
    newFolders_.clear();
    for (int row = 0; row < list_->count(); ++row)
        if (IsNew(row)) newFolders_.push_back(list_->item(row)->text().toStdString());
    Finish(Added);
}
