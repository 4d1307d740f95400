#include "Skin.h"

#include <QFile>
#include <QWidget>

// Q_INIT_RESOURCE must be used outside any namespace. The resources live in a static library,
// whose initialiser the linker would otherwise drop.
static void InitVelloraResources() {
  Q_INIT_RESOURCE(vellora);
}

namespace vellora {

void InitAppResources() {
  static const bool done = [] {
    InitVelloraResources();
    return true;
  }();
  (void)done;
}

QString DefaultSkin() {
  InitAppResources();
  QFile file(QStringLiteral(":/skin/default.qss"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

void ApplySkin(QWidget* window, const QString& styleSheet) {
  window->setStyleSheet(styleSheet);
}

}  // namespace vellora
