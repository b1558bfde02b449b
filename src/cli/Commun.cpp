#include "Commun.h"

#include <QRegularExpression>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "SousCommandes.h"
#include "model/Fichiers.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

void Erreur(const std::string& message) {
  std::fprintf(stderr, "korv4-cli: %s\n", message.c_str());
}

bool Affiche(const QString& texte) {
  const QByteArray utf8 = texte.toUtf8();
  errno = 0;
  const size_t n = std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
  return std::fflush(stdout) == 0 && n == static_cast<size_t>(utf8.size());
}

bool AfficheOuSignale(const QString& texte, const std::string& quoi) {
  if (Affiche(texte)) return true;
  const int numero = errno;
  Erreur("impossible d'écrire " + quoi +
         " sur la sortie standard : " + RaisonSortieStandard(numero) + ".");
  return false;
}

LigneDeCommande::LigneDeCommande(const QString& sousCommande, const QString& syntaxe,
                                 const QString& description)
    : sousCommande_(sousCommande),
      syntaxe_(syntaxe),
      description_(description),
      aide_(QStringList{QStringLiteral("h"), QStringLiteral("help")},
            QStringLiteral("Affiche cette aide.")) {
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.addOption(aide_);
}

void LigneDeCommande::AjoutePositionnel(const QString& nom, const QString& description) {
  positionnels_.emplace_back(nom, description);
}

void LigneDeCommande::AjouteOption(const QCommandLineOption& option) {
  parser_.addOption(option);
  options_.push_back(option);
}

QString LigneDeCommande::Aide() const {
  QString t = QStringLiteral("Utilisation : korv4-cli %1 %2\n\n%3\n")
                  .arg(sousCommande_, syntaxe_, description_);
  auto ligne = [](const QString& gauche, const QString& droite) {
    return QStringLiteral("  %1 %2\n").arg(gauche.leftJustified(28), droite);
  };
  if (!positionnels_.empty()) {
    t += QStringLiteral("\nArguments :\n");
    for (const auto& [nom, description] : positionnels_) t += ligne(nom, description);
  }
  t += QStringLiteral("\nOptions :\n");
  t += ligne(QStringLiteral("-h, --help"), aide_.description());
  for (const QCommandLineOption& o : options_) {
    QString noms = QStringLiteral("--") + o.names().join(QStringLiteral(", --"));
    if (!o.valueName().isEmpty()) noms += QStringLiteral(" ") + o.valueName();
    t += ligne(noms, o.description());
  }
  return t;
}

int LigneDeCommande::MauvaisUsage(const std::string& message) const {
  Erreur(sousCommande_.toStdString() + " : " + message);
  std::fprintf(stderr, "Utilisation : korv4-cli %s %s\n(korv4-cli %s --help pour l'aide)\n",
               sousCommande_.toUtf8().constData(), syntaxe_.toUtf8().constData(),
               sousCommande_.toUtf8().constData());
  return kMauvaisUsage;
}

int LigneDeCommande::Analyse(const QStringList& arguments) {
  if (!parser_.parse(arguments)) {
    const QStringList inconnues = parser_.unknownOptionNames();
    if (!inconnues.isEmpty())
      return MauvaisUsage("option inconnue : " + inconnues.first().toStdString());
    // Qt's own text is English: its two other cases are said in French, anything else plainly.
    static const QRegularExpression manque(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression enTrop(QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    const QString texte = parser_.errorText();
    QRegularExpressionMatch m = manque.match(texte);
    if (m.hasMatch())
      return MauvaisUsage("une valeur est attendue après « " + m.captured(1).toStdString() + " »");
    m = enTrop.match(texte);
    if (m.hasMatch())
      return MauvaisUsage("« " + m.captured(1).toStdString() + " » ne prend pas de valeur");
    return MauvaisUsage("ligne de commande incorrecte");
  }
  if (parser_.isSet(aide_)) {
    return AfficheOuSignale(Aide(), "l'aide") ? kFait : kEcritureImpossible;
  }
  const qsizetype attendus = static_cast<qsizetype>(positionnels_.size());
  const qsizetype recus = parser_.positionalArguments().size();
  if (recus != attendus)
    return MauvaisUsage(std::to_string(attendus) + " argument(s) attendu(s), " +
                        std::to_string(recus) + " donné(s)");
  return -1;
}

bool OuvreEntree(const QString& chemin, Circuit& c) {
  std::string erreur, avertissement;
  if (!OuvreCircuitDisque(chemin, c, erreur, &avertissement)) {
    Erreur(erreur);
    return false;
  }
  if (!avertissement.empty()) Erreur(NomCircuit(chemin) + " est réparé : " + avertissement);
  return true;
}

std::string NomCircuit(const QString& chemin) {
  return "le circuit « " + chemin.toStdString() + " »";
}

int OuvreCircuitNonVide(const QString& chemin, Circuit& c, const std::string& rien) {
  if (!OuvreEntree(chemin, c)) return kEntreeInvalide;
  if (c.NbElements == 0) {
    Erreur(NomCircuit(chemin) + " est vide : " + rien);
    return kRienAEcrire;
  }
  return -1;
}

int VerifieSortieDistincte(const LigneDeCommande& ligne, const QString& sortie,
                           const QString& entree) {
  std::string erreur;
  return SortieDistincte(sortie, entree, erreur) ? -1 : ligne.MauvaisUsage(erreur);
}

int EcritSortie(const LigneDeCommande& ligne, const QString& entree, const QString& sortie,
                const std::vector<uint8_t>& octets, SurPlace surPlace) {
  if (surPlace == SurPlace::Refusee) {
    const int refus = VerifieSortieDistincte(ligne, sortie, entree);
    if (refus >= 0) return refus;
  }
  std::string erreur;
  if (!EcritFichierDisque(sortie, octets, erreur)) {
    Erreur(erreur);
    return kEcritureImpossible;
  }
  return -1;
}

int OuvreSortie(const LigneDeCommande& ligne, const QString& entree,
                FichierDisqueEnCours& fichier) {
  const int refus = VerifieSortieDistincte(ligne, fichier.Chemin(), entree);
  if (refus >= 0) return refus;
  std::string erreur;
  if (!fichier.Ouvre(erreur)) {
    Erreur(erreur);
    return kEcritureImpossible;
  }
  return -1;
}

bool LitMillimetres(QString texte, double min, double max, double& mm) {
  texte.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  mm = texte.toDouble(&ok);
  return ok && std::isfinite(mm) && mm >= min && mm <= max;
}

OptionsContourMasque::OptionsContourMasque(const QString& aideContour)
    : contour(QStringLiteral("contour"), aideContour, QStringLiteral("C"), QStringLiteral("carte")),
      margeContour(
          QStringLiteral("marge-contour"),
          QStringLiteral("marge autour des éléments pour le contour, en mm, de 0 à 50 (défaut 1)"),
          QStringLiteral("MM"), QStringLiteral("1")),
      margeMasque(QStringLiteral("marge-masque"),
                  QStringLiteral("ouverture du vernis autour de chaque pastille, en mm, de 0 à 5 "
                                 "(défaut 0.1)"),
                  QStringLiteral("MM"), QStringLiteral("0.1")) {}

void OptionsContourMasque::Ajoute(LigneDeCommande& ligne) const {
  ligne.AjouteOption(contour);
  ligne.AjouteOption(margeContour);
  ligne.AjouteOption(margeMasque);
}

int OptionsContourMasque::Lit(const LigneDeCommande& ligne, OptionsFabrication& o) const {
  if (!LitMillimetres(ligne.Valeur(margeMasque), 0, 5, o.MargeMasqueMm))
    return ligne.MauvaisUsage("--marge-masque attend un nombre de mm de 0 à 5, pas « " +
                              ligne.Valeur(margeMasque).toStdString() + " »");
  if (!LitMillimetres(ligne.Valeur(margeContour), 0, 50, o.MargeContourMm))
    return ligne.MauvaisUsage("--marge-contour attend un nombre de mm de 0 à 50, pas « " +
                              ligne.Valeur(margeContour).toStdString() + " »");
  const QString c = ligne.Valeur(contour);
  if (c == QLatin1String("etendue")) {
    o.Contour = ContourFabrication::Etendue;
  } else if (c == QLatin1String("surface")) {
    o.Contour = ContourFabrication::Surface;
  } else if (c != QLatin1String("carte")) {
    return ligne.MauvaisUsage("--contour attend carte, etendue ou surface, pas « " +
                              c.toStdString() + " »");
  }
  return -1;
}

}  // namespace korv4::cli
