#pragma once
// The progress window of FreeDB updates ("Update with FreeDB"): the album
// being processed, the current step, the FreeDB result, a bar for the album
// and one for the run, and a button that stops the run after this album.
// The update runs off the window thread and tells the window through the
// view's calls, which the window takes on its own thread.
#include <QDialog>

#include "core/Progress.h"
#include "freedb/Ubatch.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TFormFreeDB : public QDialog, public TFreeDBUpdateView {
    Q_OBJECT
  public:
    explicit TFormFreeDB(QWidget* parent);

    // The run the cancel button stops (null: none runs).
    void Track(TProgress* progress) { progress_ = progress; }

    void ShowAlbum(const std::string& artist, const std::string& album, bool last) override;
    void ShowStep(const std::string& text) override;
    void ShowComment(const std::string& text) override;
    void SetAlbumBar(int position, int maximum) override;
    void SetOverallBar(int position, int maximum) override;

    QString Comment() const;
    QString CancelCaption() const;
    int OverallPosition() const;

  private:
    // Runs the change on the window's thread, whichever thread asks.
    template <typename Change>
    void OnWindowThread(Change change);

    TProgress* progress_ = nullptr;
    QLabel* labelArtist_;
    QLabel* labelAlbum_;
    QLabel* labelProgress_;
    QLabel* labelComment_;
    QProgressBar* progressBar_;
    QProgressBar* allProgressBar_;
    QPushButton* cancelButton_;
};
