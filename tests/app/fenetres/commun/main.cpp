#include <gtest/gtest.h>

#include <QApplication>

#include "fenetres/commun/Langue.h"

// The window tests need a QApplication; without a display they run on the offscreen platform.
// The system's locale is C, as on a machine set up in English; the windows are French as the
// program makes them (main.cpp).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C");
  qputenv("LANG", "C");
  korv4::LocaleFrancaise();
  QApplication app(argc, argv);
  korv4::TraductionsFrancaises(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
