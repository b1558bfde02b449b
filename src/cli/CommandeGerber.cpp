// korv4-cli gerber FICHIER BASE [--pastilles octogonales|circulaires]: the Gerber files of a
// circuit, one per layer that holds elements, as the editor's Gerber export writes them.

#include <cerrno>

#include "Commun.h"
#include "SousCommandes.h"
#include "export/Gerber.h"
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
  // The suffixes go after the base as typed: a base that is a folder would give files named by
  // their suffix alone ("-FC1.GBR", hidden ones for ".").
  const QString dernier = base.section(QLatin1Char('/'), -1);
  if (base.isEmpty())
    return ligne.MauvaisUsage(
        "la base est vide : donnez le début du nom des fichiers (par exemple « carte » donne "
        "« carte-FC1.GBR »)");
  if (dernier.isEmpty() || dernier == QLatin1String(".") || dernier == QLatin1String("..")) {
    const std::string exemple =
        (dernier.isEmpty() ? base : base + QLatin1Char('/')).toStdString() + "carte";
    return ligne.MauvaisUsage("la base « " + base.toStdString() +
                              " » est un dossier : donnez le début du nom des fichiers après lui "
                              "(par exemple « " +
                              exemple + " » donne « " + exemple + "-FC1.GBR »)");
  }

  Circuit c;
  const int ouverture = OuvreCircuitNonVide(entree, c, "aucun fichier Gerber écrit.");
  if (ouverture >= 0) return ouverture;
  const std::vector<CoucheGerber> couches = CouchesGerber(c);
  if (couches.empty()) {
    Erreur(NomCircuit(entree) +
           " n'a rien sur les faces ni sur l'implantation : aucun fichier Gerber écrit.");
    return kRienAEcrire;
  }
  // No layer file may replace the circuit it is made from: checked before the first is written.
  for (const CoucheGerber& k : couches) {
    const int refus = VerifieSortieDistincte(ligne, base + QLatin1String(k.Suffixe), entree);
    if (refus >= 0) return refus;
  }
  const Cadre etendue = CadreElements(c, 1, c.NbElements);
  for (const CoucheGerber& k : couches) {
    // Written as it is plotted: the memory stays small whatever the size of the layer.
    const QString nom = base + QLatin1String(k.Suffixe);
    FichierDisqueEnCours fichier(nom);
    const int ouvert = OuvreSortie(ligne, entree, fichier);
    if (ouvert >= 0) return ouvert;
    EcritFichierGerber(CollecteElementsGerber(c, k.Masque), etendue, style, fichier);
    std::string erreur;
    if (!fichier.Termine(erreur)) {
      Erreur(erreur);
      return kEcritureImpossible;
    }
    // A list that stdout cannot take is a failure too; the layers after it are not written.
    if (!Affiche(nom + QLatin1Char('\n'))) {
      const int numero = errno;
      Erreur("« " + nom.toStdString() +
             " » est écrit, mais son nom n'a pas pu être écrit sur la sortie "
             "standard : " +
             RaisonSortieStandard(numero) + " ; les couches suivantes ne sont pas écrites.");
      return kEcritureImpossible;
    }
  }
  return kFait;
}

}  // namespace korv4::cli
