#include <QApplication>

#include "LigneCommande.h"
#include "ui/Fiche_principale.h"

int main(int argc, char** argv) {
  // Before the QApplication: --help and --version need no display.
  const korv4::LigneCommande ligne = korv4::AnalyseLigneCommande(argc, argv);
  if (ligne.quitter) return ligne.statut;
  // ligne.fichier, when not empty, is the circuit to open.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KORV4 "));
  Fiche_principale fiche;
  fiche.show();
  return QApplication::exec();
}
