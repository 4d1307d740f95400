#include "AddressOpening.h"

#include <QApplication>
#include <QMessageBox>

#include "OnlineContext.h"

namespace vellora {

QString UnopenedAddressText(const std::string& address) {
  if (address.empty()) return QString::fromLatin1(kNoAddressMessage);
  return QString::fromLatin1(kNoBrowserMessage) + QStringLiteral("\n\n") +
         QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
}

void TellUnopenedAddress(QWidget* parent, const std::string& address) {
  QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                  UnopenedAddressText(address), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("msgUnopenedAddress"));
  box.setTextFormat(Qt::PlainText);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.exec();
}

bool OpenAddressOrTell(QWidget* parent, const OnlineContext& online, const std::string& address) {
  if (OpenAddress(online, address)) return true;
  TellUnopenedAddress(parent, address);
  return false;
}

}  // namespace vellora
