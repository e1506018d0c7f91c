#pragma once
// The root directories dialog ("FormRootDirs").  In add mode the user adds
// new folders (and may take back the ones just added); Ok gives them as a
// list (a folder's name may hold any character).  In change mode the user picks one root to move
// (result 2, with the folder it moved to) or to remove (result 3, only while
// at least two roots remain).
#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

class TFormRootDirs : public QDialog {
    Q_OBJECT
  public:
    enum Mode { AddMode, ChangeMode };
    enum Result { NoResult = -1, Added = 1, Moved = 2, Removed = 3 };

    explicit TFormRootDirs(QWidget* parent = nullptr);

    // The folder picker; given the starting folder, returns the chosen one
    // ("" when cancelled).  Tests put their own in place of the window.
    std::function<QString(const QString& start)> PickFolder;

    void Prepare(Mode mode, const std::vector<std::string>& roots);

    // The buttons.
    void AddDirectory();
    void MoveDirectory();
    void RemoveDirectory();
    void Ok();

    int ResultCode() const { return resultCode_; }
    const std::vector<std::string>& NewFolders() const { return newFolders_; }
    int ChosenIndex() const { return chosenIndex_; }
    const std::string& MovedTo() const { return movedTo_; }
    QListWidget* List() const { return list_; }

  private:
    bool IsNew(int row) const;
    void Finish(Result code);

    QListWidget* list_;
    QLabel* hint_;
    QPushButton* add_;
    QPushButton* move_;
    QPushButton* remove_;
    QPushButton* ok_;
    Mode mode_ = AddMode;
    int resultCode_ = NoResult;
    std::vector<std::string> newFolders_;
    int chosenIndex_ = -1;
    std::string movedTo_;
};
