#include "gui/list/Unewscan.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/common/DialogParts.h"

TFormGetDirectory::TFormGetDirectory(QWidget* parent) : QDialog(parent) {
    setObjectName("FormGetDirectory");
    setWindowTitle("New directory to scan");
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath("/");
    tree_ = new QTreeView(this);
    tree_->setObjectName("TreeFolders");
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->header()->hide();
    tree_->setRootIndex(model_->index("/"));

    const TOkCancel buttons = MakeOkCancel(this, "ButtonOk", "Ok", "ButtonCancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(this, "LabelSelect", "Please select a directory"));
    layout->addWidget(tree_, 1);
    layout->addLayout(ButtonRow({}, {buttons.ok, buttons.cancel}));
    resize(360, 420);
}

void TFormGetDirectory::SetStartFolder(const QString& folder) {
    const QModelIndex index = folder.isEmpty() ? QModelIndex() : model_->index(folder);
    if (!index.isValid()) return;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
}

QString TFormGetDirectory::Folder() const {
    const QModelIndex index = tree_->currentIndex();
    if (!index.isValid()) return {};
    const QString path = QDir::cleanPath(model_->filePath(index));
    return path.isEmpty() ? QString("/") : path;
}

QString TFormGetDirectory::Pick(const QString& startFolder) {
    tree_->clearSelection();
    tree_->setCurrentIndex({});
    SetStartFolder(startFolder);
    if (exec() != QDialog::Accepted) return {};
    return Folder();
}
