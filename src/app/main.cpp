#include <QApplication>

#include "fenetres/LigneCommande.h"
#include "fenetres/commun/Langue.h"
#include "fenetres/ui/Fiche_principale.h"
#include "partage/disque/FichiersDisque.h"

int main(int argc, char** argv) {
  korv4::GardeFluxStandard();
  korv4::InstalleMessagesQt();
  // Before the QApplication: --help and --version need no display.
  const korv4::LigneCommande ligne = korv4::AnalyseLigneCommande(argc, argv);
  if (ligne.quitter) return ligne.statut;
  korv4::IgnoreSignalTailleFichier();
  korv4::LocaleFrancaise();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KORV4 "));
  korv4::TraductionsFrancaises(app);
  korv4::Fiche_principale fiche;
  fiche.show();
  // What an editor stopped without closing left behind is offered first.
  fiche.ProposeRecuperation();
  // A circuit named on the command line opens as the open command does; a refused one shows
  // why and the editor starts empty.
  if (!ligne.fichier.isEmpty()) fiche.OuvreFichier(ligne.fichier);
  return QApplication::exec();
}
