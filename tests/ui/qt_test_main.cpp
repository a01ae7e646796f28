// GoogleTest main for window tests: one QApplication, and settings kept in a
// temporary folder so no test touches the user's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  // Test discovery runs this binary without the tests' environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir settingsHome;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsHome.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
