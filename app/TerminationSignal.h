// Ending the program from outside: SIGTERM and SIGINT close the main window the normal way (its
// close handler runs), instead of killing the process in the middle of a handler.
#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

namespace vellora {

// While it lives, the two signals close window and then end every running event loop, modal ones
// included. One at a time per process; the default signal actions come back when it goes.
class CloseOnTerminationSignal : public QObject {
  Q_OBJECT

 public:
  explicit CloseOnTerminationSignal(QWidget* window);
  ~CloseOnTerminationSignal() override;
  CloseOnTerminationSignal(const CloseOnTerminationSignal&) = delete;
  CloseOnTerminationSignal& operator=(const CloseOnTerminationSignal&) = delete;

  // False when the signal handlers could not be installed.
  bool Active() const { return notifier_ != nullptr; }

 private:
  void SignalArrived();

  QPointer<QWidget> window_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vellora
