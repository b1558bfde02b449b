#include "fenetres/LigneCommande.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "partage/disque/FichiersDisque.h"

#ifndef KORV4_VERSION
#error "KORV4_VERSION (the project version) must be defined by the build"
#endif

namespace korv4 {

namespace {

// Options that QGuiApplication and QApplication take out of argv themselves. They are known
// here only so that they are not refused; they stay out of the help.
constexpr const char* kOptionsQtAvecValeur[] = {"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "qwindowgeometry", "qwindowicon",
                                                "qwindowtitle",    "display",
                                                "geometry",        "style",
                                                "stylesheet",      "session"};
constexpr const char* kOptionsQtSansValeur[] = {"reverse", "nograb", "dograb", "sync",
                                                "widgetcount"};

// Writes the whole text; false (errno set) when the stream did not take it.
bool Ecrit(std::FILE* flux, const QString& texte) {
  const QByteArray utf8 = texte.toUtf8();
  errno = 0;
  const size_t n = std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), flux);
  return std::fflush(flux) == 0 && n == static_cast<size_t>(utf8.size());
}

LigneCommande Fin(int statut) {
  LigneCommande l;
  l.quitter = true;
  l.statut = statut;
  return l;
}

LigneCommande MauvaisUsage(std::FILE* erreurs, const QString& message) {
  Ecrit(erreurs, QStringLiteral("korv4: %1\n(korv4 --help pour l'aide)\n").arg(message));
  return Fin(1);
}

// --help and --version: their text on stdout; a text that stdout cannot take (full disk,
// closed output) is an error, not a success.
LigneCommande Affiche(std::FILE* sortie, std::FILE* erreurs, const QString& texte) {
  if (Ecrit(sortie, texte)) return Fin(0);
  const int e = errno;
  Ecrit(erreurs, QStringLiteral("korv4: écriture impossible sur la sortie standard (%1)\n")
                     .arg(QString::fromLocal8Bit(std::strerror(e != 0 ? e : EIO))));
  return Fin(1);
}

// The option named `nom` as it was typed ("-x", "--xyz", "-xyz=1" give "-x", "--xyz", "-xyz").
QString TelleQueDonnee(const QStringList& arguments, const QString& nom) {
  for (const QString& a : arguments) {
    if (a == QLatin1String("--")) break;
    const QString sansValeur = a.section(QLatin1Char('='), 0, 0);
    if (sansValeur == QLatin1Char('-') + nom || sansValeur == QLatin1String("--") + nom)
      return sansValeur;
  }
  return (nom.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + nom;
}

}  // namespace

QString AideEditeur() {
  return QStringLiteral(
      "Utilisation : korv4 [OPTIONS] [FICHIER]\n"
      "\n"
      "Éditeur de circuits imprimés simple et double face : cuivre des faces 1 et 2,\n"
      "plan d'implantation et plan de perçage, impression à l'échelle 1 et export\n"
      "Gerber et perçage pour la fabrication.\n"
      "\n"
      "Arguments :\n"
      "  FICHIER           circuit à ouvrir au démarrage : circuit KORV4 (.CIX) ou\n"
      "                    circuit de l'ancien format (.CIP)\n"
      "\n"
      "Options :\n"
      "  -h, --help        affiche cette aide et quitte\n"
      "  -v, --version     affiche la version et quitte\n"
      "\n"
      "Les options générales de Qt (-platform, -style, -geometry...) sont aussi acceptées.\n"
      "Statut de sortie : 0 fait, 1 mauvais usage.\n");
}

LigneCommande AnalyseArguments(const QStringList& arguments, std::FILE* sortie,
                               std::FILE* erreurs) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption aide(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOption(aide);
  parser.addOption(version);
  for (const char* nom : kOptionsQtAvecValeur)
    parser.addOption(QCommandLineOption(QString::fromLatin1(nom), QString(), QStringLiteral("x")));
  for (const char* nom : kOptionsQtSansValeur)
    parser.addOption(QCommandLineOption(QString::fromLatin1(nom)));

  // parse() wants the program name first.
  if (!parser.parse(QStringList{QStringLiteral("korv4")} + arguments)) {
    const QStringList inconnues = parser.unknownOptionNames();
    if (!inconnues.isEmpty()) {
      return MauvaisUsage(
          erreurs,
          QStringLiteral("option inconnue : %1").arg(TelleQueDonnee(arguments, inconnues.first())));
    }
    return MauvaisUsage(erreurs,
                        QStringLiteral("option mal formée (une valeur y manque ou est de trop)"));
  }
  if (parser.isSet(aide)) return Affiche(sortie, erreurs, AideEditeur());
  if (parser.isSet(version))
    return Affiche(sortie, erreurs, QStringLiteral("korv4 " KORV4_VERSION "\n"));

  const QStringList fichiers = parser.positionalArguments();
  if (fichiers.size() > 1)
    return MauvaisUsage(
        erreurs, QStringLiteral("un seul fichier à la fois (%1 donnés)").arg(fichiers.size()));
  LigneCommande l;
  if (!fichiers.isEmpty()) {
    if (fichiers.first().isEmpty())
      return MauvaisUsage(erreurs, QStringLiteral("nom de fichier vide"));
    l.fichier = fichiers.first();
  }
  return l;
}

LigneCommande AnalyseLigneCommande(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << NomDepuisOctets(argv[i]);
  return AnalyseArguments(arguments, stdout, stderr);
}

}  // namespace korv4
