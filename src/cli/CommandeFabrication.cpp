// korv4-cli fabrication FICHIER SORTIE.zip|DOSSIER [...]: the board-house set of a circuit (the
// layers, masks, outline, drill files, job file and a summary), in one zip archive or in a
// folder, written as it is made.

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "Commun.h"
#include "SousCommandes.h"
#include "export/Fabrication.h"
#include "export/Zip.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

namespace {

// The moment of the set: now, or SOURCE_DATE_EPOCH when it is set (reproducible outputs), in
// UTC then.
QDateTime Maintenant() {
  bool ok = false;
  const qint64 epoque = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
  if (ok && epoque >= 0) return QDateTime::fromSecsSinceEpoch(epoque, Qt::UTC);
  return QDateTime::currentDateTime();
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
      QStringLiteral("FICHIER SORTIE.zip|DOSSIER [--marge-masque MM] [--contour carte|etendue|"
                     "surface] [--marge-contour MM] [--pastilles octogonales|circulaires] "
                     "[--non-metallise MM]..."),
      QStringLiteral(
          "Écrit le jeu de fichiers qu'un fabricant de circuits demande, vu côté composants, en\n"
          "millimètres : NOM.GTL (cuivre face 2), NOM.GBL (cuivre face 1), NOM.GTO\n"
          "(implantation), NOM.GTS et NOM.GBS (vernis épargne), NOM.GKO (contour), NOM-PTH.DRL\n"
          "et NOM-NPTH.DRL (perçage Excellon, trous métallisés et non métallisés), NOM.gbrjob\n"
          "(fichier de travail) et LISEZMOI.md (ce que le jeu contient, en français et en\n"
          "anglais), NOM étant le nom du circuit (sans caractère hors de A-Z a-z 0-9 . _ -) ;\n"
          "seuls les fichiers qui contiennent quelque chose. Dans une archive zip si SORTIE\n"
          "finit par .zip, sinon dans le dossier SORTIE (créé s'il manque), dont les fichiers\n"
          "d'un jeu précédent du même nom sont remplacés ou retirés. Le contour est le\n"
          "rectangle tracé sur le plan de perçage, sinon l'étendue des éléments plus une marge\n"
          "(--contour carte) ; --contour etendue prend l'étendue, --contour surface la surface\n"
          "de travail. Les trous des pastilles sans cuivre ne sont pas métallisés, ni ceux\n"
          "des diamètres donnés par --non-metallise, ni ceux d'une carte simple face. Le\n"
          "cuivre qui dépasse le contour et les défauts de la vérification sont signalés,\n"
          "et le jeu est écrit quand même."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE"),
                          QStringLiteral("archive .zip ou dossier à écrire"));
  const OptionsContourMasque contourMasque(QStringLiteral(
      "carte (le rectangle du plan de perçage, sinon l'étendue plus la marge), etendue (les "
      "éléments plus une marge) ou surface (la surface de travail) (défaut carte)"));
  const QCommandLineOption pastilles(
      QStringLiteral("pastilles"),
      QStringLiteral("style des pastilles rondes : octogonales ou circulaires (défaut "
                     "octogonales)"),
      QStringLiteral("STYLE"), QStringLiteral("octogonales"));
  const QCommandLineOption nonMetallise(
      QStringLiteral("non-metallise"),
      QStringLiteral("diamètre de perçage dont les trous ne sont pas métallisés, en mm (par "
                     "exemple 3,2) ; à répéter pour plusieurs diamètres"),
      QStringLiteral("MM"));
  contourMasque.Ajoute(ligne);
  ligne.AjouteOption(pastilles);
  ligne.AjouteOption(nonMetallise);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  OptionsFabrication o;
  const int options = contourMasque.Lit(ligne, o);
  if (options >= 0) return options;
  const QString style = ligne.Valeur(pastilles);
  if (style == QLatin1String("circulaires")) {
    o.Pastilles = StylePastilles::Circulaires;
  } else if (style != QLatin1String("octogonales")) {
    return ligne.MauvaisUsage("--pastilles attend octogonales ou circulaires, pas « " +
                              style.toStdString() + " »");
  }
  for (const QString& d : ligne.Valeurs(nonMetallise)) {
    double mm = 0;
    if (!LitMillimetres(d, 0.1, 800, mm) || std::abs(mm * 10 - std::round(mm * 10)) > 1e-6)
      return ligne.MauvaisUsage(
          "--non-metallise attend un diamètre de perçage en mm, de 0,1 à 800 par dixièmes, "
          "pas « " +
          d.toStdString() + " »");
    o.DiametresNonMetallises.push_back(static_cast<int32_t>(std::lround(mm * 10)));
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
  const QDateTime maintenant = Maintenant();
  {
    // ISO 8601 with the offset from UTC written out ("+01:00", "+00:00" rather than "Z").
    const int decalage = maintenant.offsetFromUtc() / 60;
    const int absolu = decalage < 0 ? -decalage : decalage;
    o.Date = maintenant.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toStdString() +
             QStringLiteral("%1%2:%3")
                 .arg(decalage < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                 .arg(absolu / 60, 2, 10, QLatin1Char('0'))
                 .arg(absolu % 60, 2, 10, QLatin1Char('0'))
                 .toStdString();
  }
  const PlanFabrication plan = PrepareJeu(circuit, o);
  if (!plan.Erreur().empty()) {
    Erreur(nom + " : " + plan.Erreur() + " Aucun fichier de fabrication écrit.");
    return kEntreeInvalide;
  }
  if (plan.Fichiers().empty()) {
    Erreur(nom +
           " n'a rien sur les faces ni sur l'implantation : aucun fichier de fabrication "
           "écrit.");
    return kRienAEcrire;
  }
  // What the board house would make wrong: said, and the set written all the same.
  for (const std::string& a : plan.Avertissements())
    Erreur(nom + " : attention, " + a + " Le jeu est écrit quand même.");

  if (archive) {
    const QDate d = maintenant.date();
    const QTime h = maintenant.time();
    uint16_t date = 0, heure = 0;
    DateHeureDos(d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second(), date, heure);
    // Written as it is made: the memory stays small whatever the size of the set.
    FichierDisqueEnCours fichier(sortie);
    const int ouvert = OuvreSortie(ligne, entree, fichier);
    if (ouvert >= 0) return ouvert;
    ZipEnFlux zip(fichier, date, heure);
    bool ok = true;
    for (size_t k = 0; k < plan.Fichiers().size() && ok; ++k)
      ok = zip.Ajoute(plan.Fichiers()[k].Nom,
                      [&plan, k](FluxOctets& f) { return plan.EcritFichier(k, f); });
    ok = ok && zip.Termine();
    std::string erreur;
    if (!fichier.Termine(erreur)) {
      // A refusal of the disk says why; a refusal of the archive itself says its own reason.
      if (ok || zip.Erreur() == "l'écriture de l'archive a échoué") {
        Erreur(erreur);
      } else {
        Erreur("« " + sortie.toStdString() + " » : " + zip.Erreur() + " ; rien n'est écrit.");
      }
      return kEcritureImpossible;
    }
    return AfficheNom(sortie) ? kFait : kEcritureImpossible;
  }

  // A folder: made when missing; no file of the set may replace the circuit.
  const QDir dossier(sortie);
  std::vector<QString> chemins;
  for (const PlanFabrication::Fichier& f : plan.Fichiers()) {
    chemins.push_back(dossier.filePath(QString::fromStdString(f.Nom)));
    const int refus = VerifieSortieDistincte(ligne, chemins.back(), entree);
    if (refus >= 0) return refus;
  }
  if (!QFileInfo(sortie).isDir()) {
    // Why the folder cannot be made: a file of that name, a read-only parent, a full disk...
    std::string raison;
    if (QFileInfo(sortie).exists()) {
      raison = "un fichier de ce nom existe et n'est pas un dossier";
    } else {
      std::error_code ec;
      std::filesystem::create_directories(QFile::encodeName(sortie).toStdString(), ec);
      if (ec) raison = RaisonSysteme(ec.value());
    }
    if (!raison.empty()) {
      Erreur("impossible de créer le dossier « " + sortie.toStdString() + " » : " + raison +
             ". Rien n'a été écrit.");
      return kEcritureImpossible;
    }
  }
  for (size_t k = 0; k < plan.Fichiers().size(); ++k) {
    FichierDisqueEnCours fichier(chemins[k]);
    const int ouvert = OuvreSortie(ligne, entree, fichier);
    if (ouvert >= 0) return ouvert;
    plan.EcritFichier(k, fichier);
    std::string erreur;
    if (!fichier.Termine(erreur)) {
      Erreur(erreur);
      return kEcritureImpossible;
    }
    if (!AfficheNom(chemins[k])) return kEcritureImpossible;
  }
  // The folder holds exactly the new set: the files an older set of that name left there are
  // removed; the others stay, and are said.
  std::vector<std::string> nouveaux;
  for (const PlanFabrication::Fichier& f : plan.Fichiers()) nouveaux.push_back(f.Nom);
  const std::vector<std::string> possibles = NomsPossiblesDuJeu(NomSur(o.Base));
  QStringList autres;
  for (const QFileInfo& f :
       QDir(sortie).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
    const std::string n = f.fileName().toStdString();
    if (std::find(nouveaux.begin(), nouveaux.end(), n) != nouveaux.end()) continue;
    if (std::find(possibles.begin(), possibles.end(), n) != possibles.end() && !f.isSymLink()) {
      if (!QFile::remove(f.filePath())) {
        Erreur("« " + f.filePath().toStdString() +
               " », d'un jeu précédent, n'a pas pu être retiré : il n'est pas de ce jeu.");
        return kEcritureImpossible;
      }
      continue;
    }
    autres << f.fileName();
  }
  if (!autres.isEmpty())
    Erreur("le dossier « " + sortie.toStdString() + " » contient aussi, laissés tels quels : " +
           autres.join(QStringLiteral(", ")).toStdString() + ".");
  return kFait;
}

}  // namespace korv4::cli
