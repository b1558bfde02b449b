// korv4-cli convertir ENTREE SORTIE: opens a circuit as the editor does and saves it as the
// editor's save command does, title, date, author, surface and drill table taken from the file.

#include "Commun.h"
#include "SousCommandes.h"
#include "model/Fichiers.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

int ExecuteConvertir(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("convertir"), QStringLiteral("ENTREE SORTIE"),
      QStringLiteral("Ouvre ENTREE comme l'éditeur (.CIX ou ancien format .CIP) et l'enregistre\n"
                     "au format actuel dans SORTIE, dont le nom doit finir par X. Un fichier\n"
                     "SORTIE existant n'est remplacé qu'une fois le nouveau entièrement écrit."));
  ligne.AjoutePositionnel(QStringLiteral("ENTREE"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE"), QStringLiteral("circuit .CIX à écrire"));
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  const QString entree = ligne.Positionnels().at(0);
  const QString sortie = ligne.Positionnels().at(1);
  if (!sortie.endsWith(QLatin1Char('X'), Qt::CaseInsensitive))
    return ligne.MauvaisUsage("le nom de sortie « " + sortie.toStdString() +
                              " » doit finir par X (circuit .CIX)");

  // Rewriting a circuit in place is allowed; an old-format file (through a link named .CIX)
  // would be replaced by a current-format file that its name no longer reads.
  if (!entree.endsWith(QLatin1Char('X'), Qt::CaseInsensitive)) {
    const int refus = VerifieSortieDistincte(ligne, sortie, entree);
    if (refus >= 0) return refus;
  }

  Circuit c;
  if (!OuvreEntree(entree, c)) return kEntreeInvalide;

  // The save command: repair, never save an empty circuit, fill the header, write.
  NettoyageCircuit(c);
  if (c.NbElements == 0) {
    Erreur(NomCircuit(entree) +
           " est vide : rien n'est écrit (un circuit vide n'est jamais enregistré).");
    return kRienAEcrire;
  }
  const TEnteteCI h = c.EnteteCI;
  RemplitEnteteCI(c, h.Titre, h.DateCI, h.Auteur, h.SurfaceX, h.SurfaceY);
  const int ecrit =
      EcritSortie(ligne, entree, sortie, EcritCircuit(c),
                  entree.endsWith(QLatin1Char('X'), Qt::CaseInsensitive) ? SurPlace::Permise
                                                                         : SurPlace::Refusee);
  return ecrit >= 0 ? ecrit : kFait;
}

}  // namespace korv4::cli
