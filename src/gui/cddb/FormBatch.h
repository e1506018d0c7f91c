#pragma once
// The batch dialog ("Update batch process"): which tag to write and what to
// rename for every album with a red status.  The check boxes keep their
// state for the rest of the program run.
#include <QDialog>

class QCheckBox;
class QComboBox;

class TFormBatch : public QDialog {
    Q_OBJECT
  public:
    TFormBatch(QWidget* parent, int tagType);

    int TagType() const;
    bool SearchAndTag() const;
    bool RenameFiles() const;
    bool RenamePlaylist() const;
    bool RenameFolder() const;

  private:
    QComboBox* comboBoxTag_;
    QCheckBox* checkBoxTag_;
    QCheckBox* checkBoxNormMp3_;
    QCheckBox* checkBoxNormm3u_;
    QCheckBox* checkBoxNormDir_;
};
