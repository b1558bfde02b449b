// korv4-cli: the circuit core without windows, for scripts and manufacturing pipelines.

#include <malloc.h>

#include <QCoreApplication>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Commun.h"
#include "LanceTypon.h"
#include "MemoireImage.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"

namespace {

QString AideGenerale() {
  QString t = QStringLiteral(
      "Utilisation : korv4-cli SOUS-COMMANDE [ARGUMENTS]\n\n"
      "Le cœur de KORV4 sans fenêtre. Chaque sous-commande ouvre d'abord le circuit\n"
      "comme l'éditeur. Statut de sortie : 0 fait, 1 mauvais usage, 2 entrée illisible\n"
      "ou invalide, 3 sortie impossible à écrire, 4 rien à écrire.\n\n"
      "Sous-commandes :\n");
  for (const korv4::cli::SousCommande* s = korv4::cli::kSousCommandes; s->nom; ++s)
    t += QStringLiteral("  %1 %2\n")
             .arg(QString::fromUtf8(s->nom).leftJustified(12), QString::fromUtf8(s->resume));
  t += QStringLiteral(
      "\nkorv4-cli SOUS-COMMANDE --help donne l'aide d'une sous-commande ;\n"
      "korv4-cli --version (ou -v) donne la version.\n");
  return t;
}

// Qt's own warnings are English and meant for developers: every failure the user must know of
// is reported by the tool itself, in French. A fatal one still ends the program.
void MessageQt(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type == QtFatalMsg) {
    std::fputs("korv4-cli: erreur interne (bibliothèque Qt), arrêt.\n", stderr);
    std::abort();
  }
}

// The tool, once its standard streams are safe.
int Execute(int argc, char** argv) {
  // typon, the only sub-command that draws a PDF page, is a program of its own: the others never
  // load what it needs.
  if (argc >= 2 && std::strcmp(argv[1], "typon") == 0) return korv4::cli::LanceTypon(argc, argv);
  qInstallMessageHandler(MessageQt);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("korv4-cli"));
  korv4::IgnoreSignalTailleFichier();
  using namespace korv4::cli;

  // Each argument as Qt reads it, a name whose bytes are not UTF-8 remembered as such.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << korv4::NomDepuisOctets(argv[i]);
  if (arguments.size() < 2) {
    Erreur("sous-commande attendue.");
    std::fputs(AideGenerale().toUtf8().constData(), stderr);
    return kMauvaisUsage;
  }
  const QString nom = arguments.at(1);
  if (nom == QLatin1String("--help") || nom == QLatin1String("-h") ||
      nom == QLatin1String("aide")) {
    return AfficheOuSignale(AideGenerale(), "l'aide") ? kFait : kEcritureImpossible;
  }
  if (nom == QLatin1String("--version") || nom == QLatin1String("-v")) {
    return AfficheOuSignale(QStringLiteral("korv4-cli " KORV4_VERSION "\n"), "la version")
               ? kFait
               : kEcritureImpossible;
  }
  for (const SousCommande* s = kSousCommandes; s->nom; ++s)
    if (nom == QLatin1String(s->nom))
      return s->executer ? s->executer(arguments.mid(1)) : LanceTypon(argc, argv);
  Erreur("sous-commande inconnue : " + nom.toStdString() + " (korv4-cli --help pour la liste)");
  return kMauvaisUsage;
}

}  // namespace

int main(int argc, char** argv) {
  korv4::GardeFluxStandard();
  // One short run over one circuit: memory a step gives back (the file's bytes, the joining's
  // tables) is kept for the next steps instead of being returned to the system and asked for
  // again, page fault by page fault.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  korv4::cli::TasEnGrandesPages();
  // The sub-command named, for the message (argv[1] as given, when it is one).
  const char* quoi = "korv4-cli";
  for (const korv4::cli::SousCommande* s = korv4::cli::kSousCommandes; argc > 1 && s->nom; ++s)
    if (std::strcmp(argv[1], s->nom) == 0) quoi = s->nom;
  try {
    return Execute(argc, argv);
  } catch (const std::bad_alloc&) {
    // Every output goes to a temporary file that replaces the old one only once complete: what
    // was being written is dropped, the files written before it stay whole.
    std::fprintf(stderr,
                 "korv4-cli: mémoire insuffisante pour terminer « %s » (limite de mémoire du "
                 "processus ?) : arrêt. Aucun fichier n'est laissé à moitié écrit ; un fichier "
                 "existant n'est remplacé qu'une fois le nouveau entièrement écrit.\n",
                 quoi);
    return korv4::cli::kEcritureImpossible;
  }
}
