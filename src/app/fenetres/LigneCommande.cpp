#include "fenetres/LigneCommande.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QtGlobal>
#include <cerrno>
#include <cstdlib>
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
LigneCommande Affiche(std::FILE* sortie, std::FILE* erreurs, const QString& texte,
                      const char* quoi) {
  if (Ecrit(sortie, texte)) return Fin(0);
  const int e = errno;
  Ecrit(erreurs,
        QStringLiteral("korv4: écriture impossible sur la sortie standard : %1 (%2 "
                       "n'a pas pu être affichée).\n")
            .arg(QString::fromStdString(RaisonSortieStandard(e)), QString::fromUtf8(quoi)));
  return Fin(1);
}

// Qt's messages as the user's terminal gets them (see InstalleMessagesQt).
void MessageQt(QtMsgType type, const QMessageLogContext& contexte, const QString& message) {
  static const bool debogage = !qEnvironmentVariableIsEmpty("KORV4_DEBOGAGE");
  switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
    case QtWarningMsg:
      if (debogage)
        std::fprintf(stderr, "%s\n",
                     qFormatLogMessage(type, contexte, message).toLocal8Bit().constData());
      return;
    case QtCriticalMsg:
      std::fprintf(stderr, "korv4: erreur signalée par la bibliothèque Qt : %s\n",
                   message.toLocal8Bit().constData());
      return;
    case QtFatalMsg:
      std::fprintf(stderr, "korv4: erreur interne (bibliothèque Qt), arrêt : %s\n",
                   message.toLocal8Bit().constData());
      std::abort();
  }
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
  if (parser.isSet(aide)) return Affiche(sortie, erreurs, AideEditeur(), "l'aide");
  if (parser.isSet(version))
    return Affiche(sortie, erreurs, QStringLiteral("korv4 " KORV4_VERSION "\n"), "la version");

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

void InstalleMessagesQt() { qInstallMessageHandler(MessageQt); }

LigneCommande AnalyseLigneCommande(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << NomDepuisOctets(argv[i]);
  return AnalyseArguments(arguments, stdout, stderr);
}

}  // namespace korv4
