#pragma once
// The album editor ("Album details edition"): the album's current values and
// the FreeDB matches of its disc; a chosen match fills artist, album, year,
// genre and track titles, which the user may edit before Apply writes the
// album record, the tags, the renames and the playlist.
#include <QDialog>

#include "collection/Um3u_obj.h"
#include "freedb/AlbumApply.h"
#include "freedb/Ufreedb.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TPicturePanel;
class TPrompts;
class Tm3u;

struct TEditInputs {
    TFreeDBServer Server;  // its Get is replaced by a request off the window's thread
    bool UseFreeDB = true;
    std::string TrackFormat = "%number - %title";
    std::string ListFormat = "%artist - %album (%year)";
    int TagType = 0;
    bool AllowRenameDir = true;
    TTrackMeasure Measure;  // fills durations the tracks lack before the search
};

class TFormEdit : public QDialog {
    Q_OBJECT
  public:
    // The prompts answer the picture panel's questions (file to load, clear?).
    TFormEdit(QWidget* parent, TPrompts* prompts);

    // Shows the album; with FreeDB in use the search starts once events run.
    void Open(Tm3u& album, const TEditInputs& inputs);
    int TagType() const;
    // Failures of the last Apply (tags that could not be written, renames refused).
    const TAlbumApplyReport& Report() const { return report_; }
    // True while a FreeDB request runs.
    bool Busy() const { return busy_; }

    void done(int result) override;

  private:
    void BuildControls(TPrompts* prompts);
    void ShowMatches(const TFreeDBQueryResult& query);
    void Search();
    void SelectMatch(int row);
    void ShowCurrentValues();
    void ShowRecord(const TDiscDetails& details);
    void AddTrackRow(const QString& duration, const QString& title);
    void Apply();
    TAlbumValues EnteredValues() const;
    void SetBusy(bool busy);
    TFreeDBServer Server();

    Tm3u* album_ = nullptr;
    TEditInputs inputs_;
    TPlaylistType openedFormat_ = TPlaylistType::M3U;
    bool busy_ = false;
    bool closed_ = false;
    TAlbumApplyReport report_;

    TPicturePanel* panelImage_;
    QLabel* labelFreeDB_;
    QTableWidget* gridAlbums_;
    QTableWidget* gridTracks_;
    QLineEdit* editArtist_;
    QLineEdit* editAlbum_;
    QLineEdit* editYear_;
    QLineEdit* editGenre_;
    QLabel* labelLength_;
    QComboBox* comboBoxFormat_;
    QComboBox* comboBoxTag_;
    QCheckBox* checkBoxTag_;
    QCheckBox* checkBoxNormMp3_;
    QCheckBox* checkBoxNormm3u_;
    QCheckBox* checkBoxNormDir_;
    QProgressBar* progressBar_;
    QPushButton* buttonApply_;
};
