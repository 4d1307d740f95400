#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <new>

namespace vellora {

QString ErrorBoxTitle() {
  const QString name = QApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Vellora") : name;
}

void ShowErrorReport(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Warning, ErrorBoxTitle(), message, QMessageBox::Ok, parent);
  box.exec();
}

QString DescribeUnhandledError(const std::exception* error) {
  if (error == nullptr) return QStringLiteral("An unknown error ended the last command.");
  if (dynamic_cast<const UserError*>(error) != nullptr) return QString::fromUtf8(error->what());
  if (dynamic_cast<const std::bad_alloc*>(error) != nullptr) {
    return QStringLiteral("There was not enough memory to finish the last command.");
  }
  return QStringLiteral("The last command failed: %1").arg(QString::fromUtf8(error->what()));
}

}  // namespace vellora
