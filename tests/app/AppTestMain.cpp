// Entry point of the window tests: Qt's offscreen platform unless another one is asked for, and
// one application object for all tests.
#include <gtest/gtest.h>

#include <QLocale>

#include "VelloraApplication.h"

int main(int argc, char** argv) {
  // Test discovery runs this binary without the tests' environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  vellora::Application application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
