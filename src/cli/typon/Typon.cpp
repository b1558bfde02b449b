// korv4-cli typon CIRCUIT SORTIE.pdf [--documents L] [--cadre] [--inversion-face2] [--paysage]
// [--papier P] [--forcer]: the document printing of the print dialog ("Impression des
// documents") into a PDF page at 1:1, through the same code as the editor's print command.

#include <QBuffer>
#include <QByteArray>
#include <vector>

#include "Commun.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"
#include "partage/impression/ImprimePage.h"
#include "print/Impression.h"

namespace korv4::cli {

int ExecuteTypon(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("typon"),
      QStringLiteral("CIRCUIT SORTIE.pdf [--documents L] [--cadre] [--inversion-face2] "
                     "[--paysage] [--papier A4|A3|Letter] [--forcer]"),
      QStringLiteral(
          "Imprime les documents du circuit à l'échelle 1:1 sur une page PDF, comme la\n"
          "commande « Impression des documents » de l'éditeur imprimant dans un fichier PDF :\n"
          "les documents l'un sous l'autre (portrait) ou côte à côte (paysage), centrés dans la\n"
          "surface imprimable de la page (marges de 10 points). Un circuit trop grand pour la\n"
          "page est refusé (statut 2) sauf avec --forcer. Un fichier SORTIE existant n'est\n"
          "remplacé qu'une fois le nouveau entièrement écrit."));
  ligne.AjoutePositionnel(QStringLiteral("CIRCUIT"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE.pdf"), QStringLiteral("fichier PDF à écrire"));
  const QCommandLineOption documents(
      QStringLiteral("documents"),
      QStringLiteral("documents imprimés, séparés par des virgules : 1 typon face 1, 2 typon "
                     "face 2, 3 plan d'implantation, 4 plan de perçage (défaut : ce que la "
                     "boîte d'impression coche, le typon face 1 s'il a des éléments)"),
      QStringLiteral("L"));
  const QCommandLineOption cadre(QStringLiteral("cadre"),
                                 QStringLiteral("cadre et cartouche (et légende de perçage avec "
                                                "le plan de perçage)"));
  const QCommandLineOption inversion(
      QStringLiteral("inversion-face2"),
      QStringLiteral("typon face 2 en miroir (haut-bas en portrait, gauche-droite en paysage)"));
  const QCommandLineOption paysage(QStringLiteral("paysage"),
                                   QStringLiteral("page en paysage (défaut portrait)"));
  const QCommandLineOption papier(QStringLiteral("papier"),
                                  QStringLiteral("format du papier : A4, A3 ou Letter (défaut A4)"),
                                  QStringLiteral("P"), QStringLiteral("A4"));
  const QCommandLineOption forcer(
      QStringLiteral("forcer"),
      QStringLiteral("imprime même un circuit plus grand que la page (réponse OK à la question)"));
  ligne.AjouteOption(documents);
  ligne.AjouteOption(cadre);
  ligne.AjouteOption(inversion);
  ligne.AjouteOption(paysage);
  ligne.AjouteOption(papier);
  ligne.AjouteOption(forcer);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  QPageSize::PageSizeId format;
  const QString nomPapier = ligne.Valeur(papier);
  if (nomPapier.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0) {
    format = QPageSize::A4;
  } else if (nomPapier.compare(QLatin1String("A3"), Qt::CaseInsensitive) == 0) {
    format = QPageSize::A3;
  } else if (nomPapier.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0) {
    format = QPageSize::Letter;
  } else {
    return ligne.MauvaisUsage("--papier attend A4, A3 ou Letter, pas « " + nomPapier.toStdString() +
                              " »");
  }
  ChoixDocuments choix;
  const bool documentsDonnes = ligne.Present(documents);
  if (documentsDonnes) {
    choix.Face1 = false;
    for (const QString& v : ligne.Valeur(documents).split(QLatin1Char(','))) {
      const QString t = v.trimmed();
      if (t == QLatin1String("1")) {
        choix.Face1 = true;
      } else if (t == QLatin1String("2")) {
        choix.Face2 = true;
      } else if (t == QLatin1String("3")) {
        choix.Face3 = true;
      } else if (t == QLatin1String("4")) {
        choix.Face4 = true;
      } else {
        return ligne.MauvaisUsage(
            "--documents attend une liste de 1, 2, 3 et 4 séparés par des virgules, pas « " +
            ligne.Valeur(documents).toStdString() + " »");
      }
    }
  }
  choix.Cadre = ligne.Present(cadre);
  choix.InversionFace2 = ligne.Present(inversion);

  const QString entree = ligne.Positionnels().at(0);
  const QString sortie = ligne.Positionnels().at(1);
  const int refus = VerifieSortieDistincte(ligne, sortie, entree);
  if (refus >= 0) return refus;
  Circuit c;
  const int ouverture = OuvreCircuitNonVide(entree, c, "aucun document imprimé.");
  if (ouverture >= 0) return ouverture;
  const std::string nom = NomCircuit(entree);
  // By default the boxes as the dialog's Init leaves them at its opening.
  if (!documentsDonnes) choix.Face1 = InitCases(c).Face1;

  const QPageLayout miseEnPage = MiseEnPagePdf(
      format, ligne.Present(paysage) ? QPageLayout::Landscape : QPageLayout::Portrait);
  const PageImprimante page = PageDeMiseEnPage(miseEnPage, kResolutionPdf);
  // The editor's current work does not matter here: every document sets its own.
  TravailImpression t =
      PrepareDocuments(c, page, choix, 1, c.EnteteCI.SurfaceX, c.EnteteCI.SurfaceY);
  if (t.Vide()) {
    Erreur(nom +
           " : aucun document à imprimer (le typon face 1 n'a aucun élément ; "
           "choisissez-les avec --documents).");
    return kRienAEcrire;
  }
  if (!t.TailleAcceptee && !ligne.Present(forcer)) {
    Erreur(std::string(kQuestionTaille) +
           " (le circuit ou ses documents ne tiennent pas dans la surface imprimable ; "
           "--forcer imprime quand même)");
    return kEntreeInvalide;
  }

  // Coded in memory, then written like every other output: a failed write leaves the previous
  // file as it was.
  QByteArray pdf;
  QBuffer tampon(&pdf);
  tampon.open(QIODevice::WriteOnly);
  if (!ImprimePdf(c, t, tampon, miseEnPage, QString::fromLatin1(c.EnteteCI.Titre.c_str()))) {
    Erreur("impossible de produire le PDF « " + sortie.toStdString() + " »");
    return kEcritureImpossible;
  }
  tampon.close();
  const int ecrit =
      EcritSortie(ligne, entree, sortie, std::vector<uint8_t>(pdf.cbegin(), pdf.cend()));
  return ecrit >= 0 ? ecrit : kFait;
}

}  // namespace korv4::cli
