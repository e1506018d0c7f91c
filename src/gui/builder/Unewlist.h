#pragma once
// The new playlist dialog: a proposed file name and the playlist format.
#include <QDialog>

#include "collection/Um3u_obj.h"

class QComboBox;
class QLineEdit;

class TFormNewList : public QDialog {
    Q_OBJECT
  public:
    explicit TFormNewList(QWidget* parent = nullptr);

    void SetProposedName(const QString& name);
    QString FileName() const;
    TPlaylistType Format() const;
    QLineEdit* NameEdit() const { return name_; }
    QComboBox* FormatBox() const { return format_; }

  private:
    QLineEdit* name_;
    QComboBox* format_;
};
