#include "CtrlClickWatcher.h"

#include <QMouseEvent>
#include <QTextCursor>
#include <QTextEdit>

namespace vellora {

CtrlClickWatcher::CtrlClickWatcher(QTextEdit* edit) : QObject(edit), edit_(edit) {
  edit->viewport()->installEventFilter(this);
}

bool CtrlClickWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_->viewport()) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick) {
    return false;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier)) {
    return false;
  }
  // The press is reported; its release and a double click are swallowed with it, so that the
  // control neither moves the caret nor starts a drag.
  if (type == QEvent::MouseButtonPress) {
    emit CtrlClicked(edit_->cursorForPosition(mouse->position().toPoint()).position());
  }
  return true;
}

}  // namespace vellora
