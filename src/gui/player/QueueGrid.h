#pragma once
// SGPlay: the play queue as a grid of three columns (row number, duration,
// title), the playing song's row in bold.  It only shows the queue; the
// player decides what its rows mean.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <cstddef>
#include <optional>

class TPlayList;

class TQueueModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TQueueModel(const TPlayList& queue, QObject* parent = nullptr)
        : QAbstractTableModel(parent), queue_(queue) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rebuilds the rows after any change of the queue.
    void Refresh();
    void SetTitleHeader(const QString& text);

  private:
    // The queue position shown in the index's row; none outside the queue.
    std::optional<size_t> QueuePosition(const QModelIndex& index) const;

    const TPlayList& queue_;
    QString titleHeader_ = "Title";
};

// Texts of the cells, as the grid draws them.
QString QueueRowNumber(int row);        // "01", "10", "100"
QString QueueDuration(int durationMs);  // "4:09"

class TQueueGrid : public QTableView {
    Q_OBJECT
  public:
    explicit TQueueGrid(const TPlayList& queue, QWidget* parent = nullptr);

    TQueueModel& Model() const { return *model_; }
    void Refresh();
    // The cursor row counted from 1 (0 when none), and its setter.
    int SelectedRow() const;
    void SelectRow(int row);
    // The selected range counted from 1; false when nothing is selected.
    bool SelectedRange(int& top, int& bottom) const;
    void SelectRange(int top, int bottom);

  signals:
    // Double click, Enter or the space bar.
    void playRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FitColumns();

    TQueueModel* model_;
};
