#include <QApplication>

#include "ui/Fiche_principale.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KORV4 "));
  Fiche_principale fiche;
  fiche.show();
  return QApplication::exec();
}
