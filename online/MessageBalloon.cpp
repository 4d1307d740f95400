#include "MessageBalloon.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vellora {

MessageBalloon::MessageBalloon(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("LMDMessageHint1"));
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  setForegroundRole(QPalette::ToolTipText);
  setBackgroundRole(QPalette::ToolTipBase);
  hide();
}

MessageBalloon::~MessageBalloon() {
  if (watching_) qApp->removeEventFilter(this);
}

QString MessageBalloon::DisplayText() const {
  QString shown = text_;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

QRect MessageBalloon::BodyRect() const {
  return QRect(0, kTailHeight, width() - kShadowDepth, height() - kTailHeight - kShadowDepth);
}

void MessageBalloon::ShowAt(const QPoint& screenPoint, const QString& text) {
  Dismiss();
  text_ = text;
  anchor_ = screenPoint;
  const QRect textRect = QFontMetrics(font()).boundingRect(
      QRect(0, 0, kMaxTextWidth, 10000), Qt::TextWordWrap | Qt::AlignLeft, DisplayText());
  const int bodyWidth = std::max(textRect.width() + 2 * kPadding, kTailInset + 16);
  const int bodyHeight = textRect.height() + 2 * kPadding;
  resize(bodyWidth + kShadowDepth, kTailHeight + bodyHeight + kShadowDepth);
  // The tail's tip sits at the top, kTailInset from the right edge: the body lies below and to
  // the left of the anchor.
  move(screenPoint.x() - (bodyWidth - kTailInset), screenPoint.y());
  show();
  raise();
  qApp->installEventFilter(this);
  watching_ = true;
}

void MessageBalloon::Dismiss() {
  if (watching_) {
    qApp->removeEventFilter(this);
    watching_ = false;
  }
  hide();
}

bool MessageBalloon::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::KeyPress:
      Dismiss();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void MessageBalloon::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect body = BodyRect();
  const int tipX = body.right() - kTailInset;
  QPainterPath shape;
  shape.addRoundedRect(body, 6, 6);
  QPainterPath tail;
  tail.moveTo(tipX, 0);
  tail.lineTo(tipX - 4, body.top() + 1);
  tail.lineTo(tipX - 18, body.top() + 1);
  tail.closeSubpath();
  shape = shape.united(tail);

  painter.fillPath(shape.translated(kShadowDepth, kShadowDepth), QColor(0, 0, 0, 70));
  painter.fillPath(shape, palette().color(QPalette::ToolTipBase));
  painter.setPen(QPen(palette().color(QPalette::ToolTipText), 1));
  painter.drawPath(shape);
  painter.drawText(body.adjusted(kPadding, kPadding, -kPadding, -kPadding),
                   Qt::TextWordWrap | Qt::AlignLeft, DisplayText());
}

}  // namespace vellora
