// The program: the application object, the main window, the event loop. It takes no arguments
// of its own; SIGTERM and SIGINT close the main window as the user would.
#include "FMain.h"
#include "TerminationSignal.h"
#include "VelloraApplication.h"

int main(int argc, char** argv) {
  vellora::Application application(argc, argv);
  TfrmMain frmMain;
  vellora::CloseOnTerminationSignal closeOnSignal(&frmMain);
  frmMain.show();
  return application.exec();
}
