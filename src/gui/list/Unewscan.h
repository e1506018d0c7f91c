#pragma once
// The folder picker ("FormGetDirectory"): a tree of the system's folders,
// folders only.  It opens on a starting folder when one is given.
#include <QDialog>

class QFileSystemModel;
class QTreeView;

class TFormGetDirectory : public QDialog {
    Q_OBJECT
  public:
    explicit TFormGetDirectory(QWidget* parent = nullptr);

    // Selects the folder (a folder that cannot be selected is ignored).
    void SetStartFolder(const QString& folder);
    // The selected folder, without a trailing "/" (except the root "/").
    QString Folder() const;
    // Modal: the chosen folder, "" when cancelled.
    QString Pick(const QString& startFolder);

  private:
    QFileSystemModel* model_;
    QTreeView* tree_;
};
