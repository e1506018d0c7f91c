#pragma once
// A one-line text that scrolls one pixel every 100 ms, wrapping around.
#include <QTimer>
#include <QWidget>

class TMarquee : public QWidget {
    Q_OBJECT
  public:
    explicit TMarquee(QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const { return text_; }
    void Start() { timer_.start(); }
    void Stop() { timer_.stop(); }
    bool Scrolling() const { return timer_.isActive(); }
    int Offset() const { return offset_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Step();

    QString text_;
    int offset_ = 0;
    QTimer timer_;
};
