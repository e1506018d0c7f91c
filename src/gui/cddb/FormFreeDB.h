#pragma once
// The progress window of FreeDB updates ("Update with FreeDB"): the album
// being processed, the current step, the FreeDB result, a bar for the album
// and one for the run, and a button that stops the run after this album.
#include <QDialog>

#include <atomic>

#include "freedb/Ubatch.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TFormFreeDB : public QDialog, public TFreeDBUpdateView {
    Q_OBJECT
  public:
    explicit TFormFreeDB(QWidget* parent);

    // Set by the cancel button; the update clears it when an album starts.
    std::atomic<bool> Cancel{false};

    void ShowAlbum(const std::string& artist, const std::string& album, bool last) override;
    void ShowStep(const std::string& text) override;
    void ShowComment(const std::string& text) override;
    void SetAlbumBar(int position, int maximum) override;
    void SetOverallBar(int position, int maximum) override;
    void Pump() override;

    QString Comment() const;
    QString CancelCaption() const;
    int OverallPosition() const;

  private:
    QLabel* labelArtist_;
    QLabel* labelAlbum_;
    QLabel* labelProgress_;
    QLabel* labelComment_;
    QProgressBar* progressBar_;
    QProgressBar* allProgressBar_;
    QPushButton* cancelButton_;
};
