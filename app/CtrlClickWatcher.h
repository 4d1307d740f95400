// Ctrl+click on the text of a pane: reports the caret position under the mouse instead of
// letting the control move the caret there.
#pragma once

#include <QObject>
#include <cstdint>

class QTextEdit;

namespace vellora {

class CtrlClickWatcher : public QObject {
  Q_OBJECT

 public:
  // Watches edit's viewport; the watcher belongs to edit.
  explicit CtrlClickWatcher(QTextEdit* edit);

 signals:
  void CtrlClicked(std::int32_t position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* edit_;
};

}  // namespace vellora
