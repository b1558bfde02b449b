// korv4-cli apercu CIRCUIT DESSUS.png DESSOUS.png [--largeur PX] [--masque COULEUR]: the board
// as the board house will make it, top side and bottom side (seen from below), drawn from the
// geometry of the board-house set.

#include <QFileInfo>
#include <cerrno>
#include <cmath>

#include "Commun.h"
#include "SousCommandes.h"
#include "export/Apercu.h"
#include "png/CodagePng.h"

namespace korv4::cli {

int ExecuteApercu(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("apercu"),
      QStringLiteral("FICHIER DESSUS.png DESSOUS.png [--largeur PX] [--masque "
                     "vert|bleu|rouge|noir|blanc] [--contour carte|etendue|surface] "
                     "[--marge-contour MM] [--marge-masque MM]"),
      QStringLiteral(
          "Dessine la carte telle que le fabricant la rendra, d'après le jeu de fabrication\n"
          "(mêmes contour, cuivre, ouvertures du vernis, sérigraphie et trous) : le dessus\n"
          "dans DESSUS.png, le dessous dans DESSOUS.png, vu de dessous (en miroir). Le vernis\n"
          "est de la couleur choisie, le cuivre découvert a l'aspect de sa finition, la\n"
          "sérigraphie est blanche (noire sur un vernis blanc), les trous traversent."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("DESSUS"), QStringLiteral("image PNG du dessus"));
  ligne.AjoutePositionnel(QStringLiteral("DESSOUS"),
                          QStringLiteral("image PNG du dessous, vu de dessous"));
  const QCommandLineOption largeur(
      QStringLiteral("largeur"),
      QStringLiteral("largeur des images en pixels, de 1 à 20000 (défaut 1000)"),
      QStringLiteral("PX"), QStringLiteral("1000"));
  const QCommandLineOption masque(
      QStringLiteral("masque"),
      QStringLiteral("couleur du vernis épargne : vert, bleu, rouge, noir ou blanc (défaut vert)"),
      QStringLiteral("COULEUR"), QStringLiteral("vert"));
  const OptionsContourMasque contourMasque(QStringLiteral(
      "contour de la carte, comme fabrication : carte, etendue ou surface (défaut carte)"));
  ligne.AjouteOption(largeur);
  ligne.AjouteOption(masque);
  contourMasque.Ajoute(ligne);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  OptionsApercu oa;
  bool ok = false;
  oa.Largeur = ligne.Valeur(largeur).toInt(&ok);
  if (!ok || oa.Largeur < 1 || oa.Largeur > 20000)
    return ligne.MauvaisUsage("--largeur attend un nombre de pixels de 1 à 20000, pas « " +
                              ligne.Valeur(largeur).toStdString() + " »");
  const QString m = ligne.Valeur(masque);
  bool trouve = false;
  for (CouleurMasque c : {CouleurMasque::Vert, CouleurMasque::Bleu, CouleurMasque::Rouge,
                          CouleurMasque::Noir, CouleurMasque::Blanc}) {
    if (m == QLatin1String(NomCouleurMasque(c))) {
      oa.Masque = c;
      trouve = true;
    }
  }
  if (!trouve)
    return ligne.MauvaisUsage("--masque attend vert, bleu, rouge, noir ou blanc, pas « " +
                              m.toStdString() + " »");
  OptionsFabrication of;
  const int options = contourMasque.Lit(ligne, of);
  if (options >= 0) return options;
  const QString entree = ligne.Positionnels().at(0);
  const QString sorties[2] = {ligne.Positionnels().at(1), ligne.Positionnels().at(2)};
  for (const QString& s : sorties) {
    const int refus = VerifieSortieDistincte(ligne, s, entree);
    if (refus >= 0) return refus;
  }
  if (QFileInfo(sorties[0]).absoluteFilePath() == QFileInfo(sorties[1]).absoluteFilePath())
    return ligne.MauvaisUsage("DESSUS et DESSOUS sont le même fichier « " +
                              sorties[0].toStdString() + " »");

  Circuit circuit;
  const int ouverture = OuvreCircuitNonVide(entree, circuit, "aucune image écrite.");
  if (ouverture >= 0) return ouverture;
  const PlanFabrication plan = PrepareJeu(circuit, of);
  for (int face = 0; face < 2; ++face) {
    ImageApercu image;
    std::string erreur;
    if (!DessineApercu(circuit, plan, oa, face == 1, image, erreur)) {
      Erreur(NomCircuit(entree) + " : " + erreur + " Aucune image écrite.");
      return plan.Fichiers().empty() && plan.Erreur().empty() ? kRienAEcrire : kEntreeInvalide;
    }
    std::vector<uint8_t> png;
    if (!CodePng(image.Pixels.data(), image.Largeur, image.Hauteur, image.Largeur, png, erreur)) {
      Erreur("impossible de coder l'image « " + sorties[face].toStdString() + " » : " + erreur +
             ". Rien n'a été écrit.");
      return kEcritureImpossible;
    }
    const int ecrit = EcritSortie(ligne, entree, sorties[face], png);
    if (ecrit >= 0) return ecrit;
    const QString dit = sorties[face] + (face == 1 ? QStringLiteral(" (vu de dessous, en miroir)\n")
                                                   : QStringLiteral("\n"));
    if (!AfficheOuSignale(dit, "le nom de « " + sorties[face].toStdString() + " »"))
      return kEcritureImpossible;
  }
  return kFait;
}

}  // namespace korv4::cli
