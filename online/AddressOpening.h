// Opening an address in the user's web browser from a click, with a message when that cannot be
// done: a link that does nothing visible would leave the user guessing.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace vellora {

struct OnlineContext;

inline constexpr char kNoBrowserMessage[] = "No web browser could be started to open this address:";
inline constexpr char kNoAddressMessage[] = "This link has no address to open.";

// The text of the message for an address that could not be opened: the cause and, on a line of
// its own, the address.
QString UnopenedAddressText(const std::string& address);

// Shows over parent the warning that address could not be opened; the user can select and copy
// its text, address included.
void TellUnopenedAddress(QWidget* parent, const std::string& address);

// Opens address through online's opener; when that fails, tells the user. True when the address
// was handed on.
bool OpenAddressOrTell(QWidget* parent, const OnlineContext& online, const std::string& address);

}  // namespace vellora
