#include "ui/Fiche_principale.h"

Fiche_principale::Fiche_principale(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Fiche_principale"));
  setWindowTitle(QStringLiteral("KORV4"));
  resize(1024, 700);
}
