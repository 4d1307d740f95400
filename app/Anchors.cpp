#include "Anchors.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

namespace vellora {

namespace {

struct Anchored {
  QPointer<QWidget> widget;
  int rightGap = 0;  // design distance from the control's right edge to the container's
  bool stretch = false;
};

// Lives as a child of the container it watches.
class AnchorKeeper : public QObject {
 public:
  explicit AnchorKeeper(QWidget* container) : QObject(container), container_(container) {
    container->installEventFilter(this);
  }

  void Add(QWidget* widget, int designWidth, bool stretch) {
    const QRect g = widget->geometry();
    items_.push_back({widget, designWidth - (g.x() + g.width()), stretch});
  }

  void Apply() {
    const int width = container_->width();
    for (const Anchored& item : items_) {
      if (!item.widget) continue;
      QRect g = item.widget->geometry();
      const int right = width - item.rightGap;
      if (item.stretch) {
        g.setWidth(std::max(0, right - g.x()));
      } else {
        g.moveLeft(right - g.width());
      }
      item.widget->setGeometry(g);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == container_ && event->type() == QEvent::Resize) Apply();
    return false;
  }

 private:
  QWidget* container_;
  std::vector<Anchored> items_;
};

}  // namespace

void InstallAnchors(QWidget* root) {
  std::map<QWidget*, AnchorKeeper*> keepers;
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    const QString anchors = widget->property("anchors").toString();
    if (anchors.isEmpty()) continue;
    QWidget* container = widget->parentWidget();
    if (container == nullptr) continue;
    const int designWidth = container->property("designWidth").toInt();
    if (designWidth <= 0) continue;
    AnchorKeeper*& keeper = keepers[container];
    if (keeper == nullptr) keeper = new AnchorKeeper(container);
    keeper->Add(widget, designWidth, anchors == QLatin1String("leftright"));
  }
}

}  // namespace vellora
