#pragma once
// The cover replacement window: who and what, the current picture under
// "Replace" and the offered one under "By", the "apply for all" box and the
// buttons Yes, No and Stop (closing the window otherwise is Stop).
#include <QDialog>

#include "covers/ReplaceFlow.h"

class QCheckBox;
class QLabel;

class TFormPictureReplace : public QDialog {
    Q_OBJECT
  public:
    explicit TFormPictureReplace(QWidget* parent = nullptr);

    // Fills the window from the offer and the flag; the pictures are decoded
    // from their JPEG bytes (one that cannot be decoded leaves its box empty).
    void Prepare(const TReplaceOffer& offer, bool applyForAll);
    // The answer of the last showing and the state of the box.
    TReplaceAnswer Answer() const { return answer_; }
    bool ApplyForAll() const;
    // Shows the window modally; returns the answer and updates the flag.
    TReplaceAnswer Ask(const TReplaceOffer& offer, bool& applyForAll);

    QLabel* ArtistLabel() const { return artist_; }
    QLabel* AlbumLabel() const { return album_; }
    QLabel* CurrentPicture() const { return current_; }
    QLabel* OfferedPicture() const { return offered_; }
    QCheckBox* ApplyForAllBox() const { return applyForAll_; }

  private:
    void Finish(TReplaceAnswer answer);

    QLabel* artist_;
    QLabel* album_;
    QLabel* current_;
    QLabel* offered_;
    QCheckBox* applyForAll_;
    TReplaceAnswer answer_ = TReplaceAnswer::Stop;
};
