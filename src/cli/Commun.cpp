#include "Commun.h"

#include <cerrno>
#include <cstdio>

#include "SousCommandes.h"
#include "disque/FichiersDisque.h"
#include "model/Fichiers.h"

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
    return MauvaisUsage("ligne de commande incorrecte (" + parser_.errorText().toStdString() + ")");
  }
  if (parser_.isSet(aide_)) {
    Affiche(Aide());
    return kFait;
  }
  const qsizetype attendus = static_cast<qsizetype>(positionnels_.size());
  const qsizetype recus = parser_.positionalArguments().size();
  if (recus != attendus)
    return MauvaisUsage(std::to_string(attendus) + " argument(s) attendu(s), " +
                        std::to_string(recus) + " donné(s)");
  return -1;
}

bool OuvreEntree(const QString& chemin, Circuit& c) {
  std::vector<uint8_t> octets;
  std::string erreur;
  if (!LitFichierDisque(chemin, octets, erreur) ||
      !OuvreCircuit(c, octets, chemin.toStdString(), erreur)) {
    Erreur(erreur);
    return false;
  }
  return true;
}

}  // namespace korv4::cli
