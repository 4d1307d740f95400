#include "LabelFit.h"

#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "NumericField.h"

namespace vellora {

namespace {

bool SameRow(const QRect& a, const QRect& b) {
  return a.top() <= b.bottom() && b.top() <= a.bottom();
}

QString Anchors(const QWidget& widget) {
  return widget.property("anchors").toString();
}

// A control that can give up width: a free text field or one stretched to the right edge.
bool CanShrink(const QWidget& widget) {
  if (Anchors(widget) == QLatin1String("leftright")) return true;
  return qobject_cast<const QLineEdit*>(&widget) != nullptr &&
         qobject_cast<const NumericField*>(&widget) == nullptr;
}

void FitLabel(QLabel& label) {
  QWidget* container = label.parentWidget();
  if (container == nullptr || container->layout() != nullptr || label.wordWrap()) return;
  label.ensurePolished();
  const int need = label.sizeHint().width();
  const QRect old = label.geometry();
  const int excess = need - old.width();
  if (excess <= 0) return;
  // Right-anchored labels are right-aligned against the control after them: they grow leftwards.
  if (Anchors(label) == QLatin1String("right")) {
    label.setGeometry(old.adjusted(-excess, 0, 0, 0));
    return;
  }
  label.resize(need, old.height());
  std::vector<QWidget*> followers;
  for (QObject* child : container->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || widget == &label || widget->isWindow()) continue;
    const QRect g = widget->geometry();
    if (g.left() >= old.right() && SameRow(g, old) && Anchors(*widget) != QLatin1String("right"))
      followers.push_back(widget);
  }
  std::sort(followers.begin(), followers.end(),
            [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
  for (QWidget* follower : followers) {
    const QRect g = follower->geometry();
    if (CanShrink(*follower) && g.width() > excess) {
      follower->setGeometry(g.adjusted(excess, 0, 0, 0));
      return;
    }
    follower->move(g.x() + excess, g.y());
  }
}

}  // namespace

void FitLabelsToText(QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (label->textFormat() == Qt::RichText || label->pixmap().isNull() == false) continue;
    FitLabel(*label);
  }
}

}  // namespace vellora
