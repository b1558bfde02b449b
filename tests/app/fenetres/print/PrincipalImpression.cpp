// The main of the print tests: one QApplication for every test (offscreen unless asked).

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The settings of the test run (the orientation kept) stay in a folder of their own.
  QTemporaryDir reglages;
  qputenv("XDG_CONFIG_HOME", reglages.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
