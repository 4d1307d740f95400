#include "ClickWatcher.h"

#include <QMouseEvent>
#include <QWidget>

namespace vellora {

ClickWatcher::ClickWatcher(QWidget* control) : QObject(control) {
  control->installEventFilter(this);
}

bool ClickWatcher::eventFilter(QObject* watched, QEvent* event) {
  auto* control = static_cast<QWidget*>(watched);
  if (event->type() == QEvent::MouseButtonPress) {
    pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
  } else if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool click = pressed_ && mouse->button() == Qt::LeftButton &&
                       control->rect().contains(mouse->position().toPoint());
    pressed_ = false;
    if (click) emit Clicked();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vellora
