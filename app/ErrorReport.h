// Showing an error to the user: one modal warning box, whether a handler reports a failure it
// met or an error escapes a handler and reaches the program-wide report.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

class QWidget;

namespace vellora {

// An error whose message is written for the user (it names the file and the cause).
class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The title of every error box.
QString ErrorBoxTitle();

// Shows message in a modal warning box with an OK button.
void ShowErrorReport(QWidget* parent, const QString& message);

// The text the program-wide report shows for an exception that no handler caught.
QString DescribeUnhandledError(const std::exception* error);

}  // namespace vellora
