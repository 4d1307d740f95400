// A balloon-shaped hint window that points at a screen point, opening below and to the left of
// it, and goes away at the user's next click or key press anywhere in the application.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

namespace vellora {

class MessageBalloon : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShadowDepth = 4;
  static constexpr int kTailHeight = 14;
  static constexpr int kTailInset = 24;  // from the balloon's right edge to the tail's tip
  static constexpr int kPadding = 8;
  static constexpr int kMaxTextWidth = 320;

  explicit MessageBalloon(QWidget* parent = nullptr);
  ~MessageBalloon() override;

  // Shows text with the tail's tip at screenPoint, replacing a balloon still shown.
  void ShowAt(const QPoint& screenPoint, const QString& text);
  // Hides the balloon and stops watching for clicks and keys.
  void Dismiss();

  QString Text() const { return text_; }
  QPoint Anchor() const { return anchor_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRect BodyRect() const;
  QString DisplayText() const;

  QString text_;
  QPoint anchor_;
  bool watching_ = false;
};

}  // namespace vellora
