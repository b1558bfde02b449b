// korv4-cli percage FICHIER SORTIE [--format F] [--cote C] [--pions]: the drill file of a
// circuit, as the editor's drill export writes it with the options its dialog opens with.

#include "Commun.h"
#include "SousCommandes.h"
#include "export/Percage.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

int ExecutePercage(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("percage"),
      QStringLiteral("FICHIER SORTIE [--format excellon|iso|hpgl|pex] [--cote composants|cuivre] "
                     "[--pions]"),
      QStringLiteral("Écrit le fichier de perçage du circuit : ses trous (ou, s'il n'en a pas,\n"
                     "ses pions de centrage), ou les pions seuls avec --pions, percés côté\n"
                     "composants ou côté cuivre (miroir gauche-droite). Un fichier SORTIE\n"
                     "existant n'est remplacé qu'une fois le nouveau entièrement écrit."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE"), QStringLiteral("fichier de perçage à écrire"));
  const QCommandLineOption format(
      QStringLiteral("format"),
      QStringLiteral("excellon (.EXL), iso (.ISO), hpgl (.HPG) ou pex (.PEX) (défaut excellon)"),
      QStringLiteral("F"), QStringLiteral("excellon"));
  const QCommandLineOption cote(
      QStringLiteral("cote"),
      QStringLiteral("face de perçage : composants ou cuivre (défaut composants)"),
      QStringLiteral("C"), QStringLiteral("composants"));
  const QCommandLineOption pions(QStringLiteral("pions"),
                                 QStringLiteral("perce les pions de centrage seuls"));
  ligne.AjouteOption(format);
  ligne.AjouteOption(cote);
  ligne.AjouteOption(pions);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  FormatPercage f;
  const QString nomFormat = ligne.Valeur(format);
  if (nomFormat == QLatin1String("excellon")) {
    f = FormatPercage::Excellon;
  } else if (nomFormat == QLatin1String("iso")) {
    f = FormatPercage::ISO;
  } else if (nomFormat == QLatin1String("hpgl")) {
    f = FormatPercage::HPGL;
  } else if (nomFormat == QLatin1String("pex")) {
    f = FormatPercage::PEX;
  } else {
    return ligne.MauvaisUsage("--format attend excellon, iso, hpgl ou pex, pas « " +
                              nomFormat.toStdString() + " »");
  }
  const QString nomCote = ligne.Valeur(cote);
  FacePercage face;
  if (nomCote == QLatin1String("composants")) {
    face = FacePercage::Composants;
  } else if (nomCote == QLatin1String("cuivre")) {
    face = FacePercage::Cuivre;
  } else {
    return ligne.MauvaisUsage("--cote attend composants ou cuivre, pas « " + nomCote.toStdString() +
                              " »");
  }
  const QString entree = ligne.Positionnels().at(0);
  const QString sortie = ligne.Positionnels().at(1);
  const int refus = VerifieSortieDistincte(ligne, sortie, entree);
  if (refus >= 0) return refus;

  Circuit c;
  const int ouverture = OuvreCircuitNonVide(entree, c, "aucun fichier de perçage écrit.");
  if (ouverture >= 0) return ouverture;
  const std::string nom = NomCircuit(entree);
  const ListePercages l = CollectePercages(c);
  if (l.NbPercages == 0) {
    Erreur(nom + " n'a aucun trou ni pion de centrage : aucun fichier de perçage écrit.");
    return kRienAEcrire;
  }
  OptionsPercage o = OptionsInitiales(l);
  if (ligne.Present(pions)) {
    if (l.NbPions == 0) {
      Erreur(nom + " n'a aucun pion de centrage : aucun fichier de perçage écrit.");
      return kRienAEcrire;
    }
    o.Elements = ElementsAPercer::Pions;
  }
  o.Face = face;
  std::string erreur;
  if (!VerifieDiametresPercage(c, o, erreur)) {
    Erreur(nom + " a " + erreur);
    return kEntreeInvalide;
  }
  const std::vector<uint8_t> octets =
      EcritFichierPercage(f, l, CadreElements(c, 1, c.NbElements), o);
  if (octets.empty()) {
    Erreur("« " + sortie.toStdString() + " » : plus de " + std::to_string(kPercagesMaxPEX) +
           " perçages, trop pour le format PEX (compte sur 16 bits) ; rien n'est écrit.");
    return kEcritureImpossible;
  }
  const int ecrit = EcritSortie(ligne, entree, sortie, octets);
  return ecrit >= 0 ? ecrit : kFait;
}

}  // namespace korv4::cli
