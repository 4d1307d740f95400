// A click signal for controls that have none of their own (the banner pictures): a left-button
// press and release inside the control.
#pragma once

#include <QObject>

class QWidget;

namespace vellora {

class ClickWatcher : public QObject {
  Q_OBJECT

 public:
  // Watches control; the watcher belongs to it.
  explicit ClickWatcher(QWidget* control);

 signals:
  void Clicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace vellora
