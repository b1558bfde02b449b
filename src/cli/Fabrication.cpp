// korv4-cli fabrication FICHIER SORTIE.zip|DOSSIER [...]: the board-house set of a circuit (the
// layers, masks, outline, drill and a French summary), in one zip archive or in a folder.

#include "export/Fabrication.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <cerrno>
#include <cmath>

#include "Commun.h"
#include "SousCommandes.h"
#include "export/Zip.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

namespace {

// A number of millimetres as typed, with a point or a comma, from 0 to `max`.
bool LitMillimetres(QString texte, double max, double& mm) {
  texte.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  mm = texte.toDouble(&ok);
  return ok && std::isfinite(mm) && mm >= 0 && mm <= max;
}

// Now as an MS-DOS date and time (years before 1980 cannot be said: 1980-01-01).
void DateDos(uint16_t& date, uint16_t& heure) {
  const QDateTime t = QDateTime::currentDateTime();
  const QDate d = t.date();
  const QTime h = t.time();
  DateHeureDos(d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second(), date, heure);
}

bool AfficheNom(const QString& nom) {
  if (Affiche(nom + QLatin1Char('\n'))) return true;
  const int numero = errno;
  Erreur("« " + nom.toStdString() +
         " » est écrit, mais son nom n'a pas pu être écrit sur la sortie standard : " +
         RaisonSortieStandard(numero) + ".");
  return false;
}

}  // namespace

int ExecuteFabrication(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("fabrication"),
      QStringLiteral("FICHIER SORTIE.zip|DOSSIER [--marge-masque MM] [--contour surface|etendue] "
                     "[--marge-contour MM] [--pastilles octogonales|circulaires]"),
      QStringLiteral(
          "Écrit le jeu de fichiers qu'un fabricant de circuits demande, vu côté composants :\n"
          "NOM.GTL (cuivre face 2), NOM.GBL (cuivre face 1), NOM.GTO (implantation), NOM.GTS et\n"
          "NOM.GBS (vernis épargne), NOM.GKO (contour), NOM.DRL (perçage Excellon, trous\n"
          "métallisés) et LISEZMOI.md (ce que le jeu contient), NOM étant le nom du circuit ;\n"
          "seules les couches qui contiennent quelque chose. Dans une archive zip si SORTIE\n"
          "finit par .zip, sinon dans le dossier SORTIE (créé s'il manque). Le contour est la\n"
          "surface de travail (réglée à la taille de la carte par « Taille »), ou l'étendue des\n"
          "éléments plus une marge avec --contour etendue. Chaque fichier n'est remplacé\n"
          "qu'une fois le nouveau entièrement écrit."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE"),
                          QStringLiteral("archive .zip ou dossier à écrire"));
  const QCommandLineOption margeMasque(
      QStringLiteral("marge-masque"),
      QStringLiteral("ouverture du vernis autour de chaque pastille, en mm, de 0 à 5 (défaut "
                     "0.1)"),
      QStringLiteral("MM"), QStringLiteral("0.1"));
  const QCommandLineOption contour(
      QStringLiteral("contour"),
      QStringLiteral("surface (la surface de travail) ou etendue (les éléments plus une marge) "
                     "(défaut surface)"),
      QStringLiteral("C"), QStringLiteral("surface"));
  const QCommandLineOption margeContour(
      QStringLiteral("marge-contour"),
      QStringLiteral("marge autour des éléments avec --contour etendue, en mm, de 0 à 50 "
                     "(défaut 1)"),
      QStringLiteral("MM"), QStringLiteral("1"));
  const QCommandLineOption pastilles(
      QStringLiteral("pastilles"),
      QStringLiteral("style des pastilles rondes : octogonales ou circulaires (défaut "
                     "octogonales)"),
      QStringLiteral("STYLE"), QStringLiteral("octogonales"));
  ligne.AjouteOption(margeMasque);
  ligne.AjouteOption(contour);
  ligne.AjouteOption(margeContour);
  ligne.AjouteOption(pastilles);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  OptionsFabrication o;
  if (!LitMillimetres(ligne.Valeur(margeMasque), 5, o.MargeMasqueMm))
    return ligne.MauvaisUsage("--marge-masque attend un nombre de mm de 0 à 5, pas « " +
                              ligne.Valeur(margeMasque).toStdString() + " »");
  if (!LitMillimetres(ligne.Valeur(margeContour), 50, o.MargeContourMm))
    return ligne.MauvaisUsage("--marge-contour attend un nombre de mm de 0 à 50, pas « " +
                              ligne.Valeur(margeContour).toStdString() + " »");
  const QString c = ligne.Valeur(contour);
  if (c == QLatin1String("etendue")) {
    o.Contour = ContourFabrication::Etendue;
  } else if (c != QLatin1String("surface")) {
    return ligne.MauvaisUsage("--contour attend surface ou etendue, pas « " + c.toStdString() +
                              " »");
  }
  const QString style = ligne.Valeur(pastilles);
  if (style == QLatin1String("circulaires")) {
    o.Pastilles = StylePastilles::Circulaires;
  } else if (style != QLatin1String("octogonales")) {
    return ligne.MauvaisUsage("--pastilles attend octogonales ou circulaires, pas « " +
                              style.toStdString() + " »");
  }
  const QString entree = ligne.Positionnels().at(0);
  const QString sortie = ligne.Positionnels().at(1);
  const bool archive = sortie.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
  if (archive) {
    const int refus = VerifieSortieDistincte(ligne, sortie, entree);
    if (refus >= 0) return refus;
  }

  Circuit circuit;
  const int ouverture = OuvreCircuitNonVide(entree, circuit, "aucun fichier de fabrication écrit.");
  if (ouverture >= 0) return ouverture;
  const std::string nom = NomCircuit(entree);
  o.Base = QFileInfo(entree).completeBaseName().toStdString();
  if (o.Base.empty()) o.Base = "carte";
  const JeuFabrication jeu = FabriqueJeu(circuit, o);
  if (!jeu.Erreur.empty()) {
    Erreur(nom + " : " + jeu.Erreur + " Aucun fichier de fabrication écrit.");
    return kEntreeInvalide;
  }
  if (jeu.Fichiers.empty()) {
    Erreur(nom +
           " n'a rien sur les faces ni sur l'implantation : aucun fichier de fabrication "
           "écrit.");
    return kRienAEcrire;
  }

  if (archive) {
    std::vector<EntreeZip> entrees;
    for (const FichierFabrication& f : jeu.Fichiers) entrees.push_back({f.Nom, f.Octets});
    uint16_t date = 0, heure = 0;
    DateDos(date, heure);
    const std::vector<uint8_t> zip = EcritZip(entrees, date, heure);
    if (zip.empty()) {
      Erreur("« " + sortie.toStdString() +
             " » : le jeu dépasse 4 Gio, trop pour une archive zip ; "
             "rien n'est écrit.");
      return kEcritureImpossible;
    }
    const int ecrit = EcritSortie(ligne, entree, sortie, zip);
    if (ecrit >= 0) return ecrit;
    return AfficheNom(sortie) ? kFait : kEcritureImpossible;
  }

  // A folder: made when missing; no file of the set may replace the circuit.
  const QDir dossier(sortie);
  std::vector<QString> chemins;
  for (const FichierFabrication& f : jeu.Fichiers) {
    chemins.push_back(dossier.filePath(QString::fromStdString(f.Nom)));
    const int refus = VerifieSortieDistincte(ligne, chemins.back(), entree);
    if (refus >= 0) return refus;
  }
  if (!QFileInfo(sortie).isDir() && !QDir().mkpath(sortie)) {
    Erreur("impossible de créer le dossier « " + sortie.toStdString() + " ».");
    return kEcritureImpossible;
  }
  for (size_t k = 0; k < jeu.Fichiers.size(); ++k) {
    const int ecrit = EcritSortie(ligne, entree, chemins[k], jeu.Fichiers[k].Octets);
    if (ecrit >= 0) return ecrit;
    if (!AfficheNom(chemins[k])) return kEcritureImpossible;
  }
  return kFait;
}

}  // namespace korv4::cli
