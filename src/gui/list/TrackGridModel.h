#pragma once
// The track grid's rows: the tracks of the current album in track order,
// three columns (tag kind mark, position, title).
#include <QAbstractTableModel>

class Tm3u;
class Tmp3;

class TTrackGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { ColumnKind = 0, ColumnNumber = 1, ColumnTitle = 2, ColumnCount = 3 };

    explicit TTrackGridModel(QObject* parent = nullptr);

    // nullptr shows no tracks.
    void ShowAlbum(const Tm3u* album);
    const Tmp3* TrackAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    const Tm3u* album_ = nullptr;
    int rows_ = 0;
};
