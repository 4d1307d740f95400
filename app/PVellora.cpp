// The program: the application object, the main window, the event loop.
#include "FMain.h"
#include "VelloraApplication.h"

int main(int argc, char** argv) {
  vellora::Application application(argc, argv);
  TfrmMain frmMain;
  frmMain.show();
  return application.exec();
}
