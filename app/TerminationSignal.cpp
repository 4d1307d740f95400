#include "TerminationSignal.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

namespace vellora {

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int signalPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

}  // namespace

CloseOnTerminationSignal::CloseOnTerminationSignal(QWidget* window)
    : QObject(nullptr), window_(window) {
  if (signalPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
    signalPipe[0] = signalPipe[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &CloseOnTerminationSignal::SignalArrived);
  SetHandler(SIGTERM, OnTerminationSignal);
  SetHandler(SIGINT, OnTerminationSignal);
}

CloseOnTerminationSignal::~CloseOnTerminationSignal() {
  if (notifier_ == nullptr) return;
  SetHandler(SIGTERM, SIG_DFL);
  SetHandler(SIGINT, SIG_DFL);
  delete notifier_;
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void CloseOnTerminationSignal::SignalArrived() {
  char byte = 0;
  [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
  // The window's own close handler disconnects the network and ends the run; a modal box or
  // window still open would otherwise keep its event loop, and the program, going.
  if (window_ && window_->isVisible() && !window_->close()) return;
  QCoreApplication::quit();
}

}  // namespace vellora
