// The program's application object: every event goes through it, so an exception that escapes
// any handler is caught here, shown to the user, and the program keeps running.
#pragma once

#include <QApplication>

namespace vellora {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // How many errors reached the report since the start.
  int ReportedErrors() const { return reported_; }

 private:
  void Report(const std::exception* error);

  int reported_ = 0;
  bool reporting_ = false;
};

}  // namespace vellora
