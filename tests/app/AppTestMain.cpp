// Entry point of the window tests: Qt's offscreen platform unless another one is asked for, one
// application object for all tests, and settings kept apart from the user's.
#include <gtest/gtest.h>

#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include "VelloraApplication.h"

int main(int argc, char** argv) {
  // Test discovery runs this binary without the tests' environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  vellora::Application application(argc, argv);
  // The window remembers choices in the user's settings; the tests keep theirs in a folder of
  // their own, which the window fixture empties before every test.
  QTemporaryDir settingsFolder;
  if (!settingsFolder.isValid()) return 1;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
