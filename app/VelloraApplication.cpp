#include "VelloraApplication.h"

#include "ErrorReport.h"

namespace vellora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vellora"));
  setApplicationVersion(QStringLiteral("2.0"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Report(&error);
  } catch (...) {
    Report(nullptr);
  }
  return false;
}

void Application::Report(const std::exception* error) {
  ++reported_;
  // An error raised while the report box itself is up is counted but not stacked on top of it.
  if (reporting_) return;
  reporting_ = true;
  try {
    ShowErrorReport(activeWindow(), DescribeUnhandledError(error));
  } catch (...) {
  }
  reporting_ = false;
}

}  // namespace vellora
