#pragma once
// A panel that shows a picture and accepts files dragged from the desktop.
// On a drop it keeps only the paths that name existing files (folders are
// left out) and reports them with the drop point.  The main window's
// details panel, the covers management picture and the browse cells are
// drop panels.
#include <QFrame>
#include <QImage>
#include <QStringList>

class TDropPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(bool EnableDrop READ EnableDrop WRITE SetEnableDrop)
  public:
    explicit TDropPanel(QWidget* parent = nullptr);

    bool EnableDrop() const { return acceptDrops(); }
    void SetEnableDrop(bool on) { setAcceptDrops(on); }

    // The picture shown, scaled to fit and centred; a null image shows nothing.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

    // The existing files among the dropped paths, in their order.
    static QStringList ExistingFiles(const QStringList& paths);

  signals:
    void OnDropped(const QStringList& files, int fileCount, int x, int y);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};
