// korv4-cli gerber FICHIER BASE [--pastilles octogonales|circulaires]: the Gerber files of a
// circuit, one per layer that holds elements, as the editor's Gerber export writes them.

#include "export/Gerber.h"

#include <cerrno>

#include "Commun.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

int ExecuteGerber(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("gerber"),
      QStringLiteral("FICHIER BASE [--pastilles octogonales|circulaires]"),
      QStringLiteral("Écrit un fichier Gerber par couche qui contient des éléments : BASE-FC1.GBR\n"
                     "(face 1, ou les pastilles seules), BASE_FC2.GBR (face 2) et BASE_SER.GBR\n"
                     "(implantation), BASE pris tel quel. Affiche le nom de chaque fichier écrit.\n"
                     "Un fichier n'est remplacé qu'une fois le nouveau entièrement écrit ; après\n"
                     "un échec (fichier ou sortie standard), les couches suivantes ne sont pas\n"
                     "écrites."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("BASE"), QStringLiteral("début du nom des fichiers"));
  const QCommandLineOption pastilles(
      QStringLiteral("pastilles"),
      QStringLiteral("style des pastilles rondes : octogonales ou circulaires (défaut "
                     "octogonales)"),
      QStringLiteral("STYLE"), QStringLiteral("octogonales"));
  ligne.AjouteOption(pastilles);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  StylePastilles style = StylePastilles::Octogonales;
  const QString s = ligne.Valeur(pastilles);
  if (s == QLatin1String("circulaires")) {
    style = StylePastilles::Circulaires;
  } else if (s != QLatin1String("octogonales")) {
    return ligne.MauvaisUsage("--pastilles attend octogonales ou circulaires, pas « " +
                              s.toStdString() + " »");
  }
  const QString entree = ligne.Positionnels().at(0);
  const QString base = ligne.Positionnels().at(1);

  Circuit c;
  if (!OuvreEntree(entree, c)) return kEntreeInvalide;
  if (c.NbElements == 0) {
    Erreur("le circuit « " + entree.toStdString() + " » est vide : aucun fichier Gerber écrit.");
    return kRienAEcrire;
  }
  const std::vector<FichierGerber> fichiers =
      ExporteGerber(c, CadreElements(c, 1, c.NbElements), style, base.toStdString());
  if (fichiers.empty()) {
    Erreur("le circuit « " + entree.toStdString() +
           " » n'a rien sur les faces ni sur l'implantation : aucun fichier Gerber écrit.");
    return kRienAEcrire;
  }
  // No layer file may replace the circuit it is made from: checked before the first is written.
  for (const FichierGerber& f : fichiers) {
    const int refus = VerifieSortieDistincte(ligne, QString::fromStdString(f.Nom), entree);
    if (refus >= 0) return refus;
  }
  for (const FichierGerber& f : fichiers) {
    const QString nom = QString::fromStdString(f.Nom);
    std::string erreur;
    if (!EcritFichierDisque(nom, f.Octets, erreur)) {
      Erreur(erreur);
      return kEcritureImpossible;
    }
    // A list that stdout cannot take is a failure too; the layers after it are not written.
    if (!Affiche(nom + QLatin1Char('\n'))) {
      const int numero = errno;
      Erreur("« " + f.Nom +
             " » est écrit, mais son nom n'a pas pu être écrit sur la sortie "
             "standard : " +
             RaisonSortieStandard(numero) + " ; les couches suivantes ne sont pas écrites.");
      return kEcritureImpossible;
    }
  }
  return kFait;
}

}  // namespace korv4::cli
