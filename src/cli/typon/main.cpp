// korv4-typon: the `typon` sub-command of korv4-cli in a program of its own. Its PDF page needs
// QtGui and the libraries behind it (fonts, OpenGL, X11...), which the other sub-commands never
// need: korv4-cli runs this program for `typon` only (LanceTypon.cpp), so that
// `korv4-cli image` and the others load QtCore alone. Run as `korv4-typon typon ARGUMENTS...`,
// the arguments of korv4-cli unchanged.

#include <QCoreApplication>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "Commun.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"

namespace {

// As korv4-cli: Qt's own warnings are English and meant for developers.
void MessageQt(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type == QtFatalMsg) {
    std::fputs("korv4-cli: erreur interne (bibliothèque Qt), arrêt.\n", stderr);
    std::abort();
  }
}

int Execute(int argc, char** argv) {
  qInstallMessageHandler(MessageQt);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("korv4-cli"));
  korv4::IgnoreSignalTailleFichier();
  // Each argument as Qt reads it, a name whose bytes are not UTF-8 remembered as such.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << korv4::NomDepuisOctets(argv[i]);
  if (arguments.size() < 2 || arguments.at(1) != QLatin1String("typon")) {
    korv4::cli::Erreur("korv4-typon est lancé par « korv4-cli typon » (korv4-cli --help).");
    return korv4::cli::kMauvaisUsage;
  }
  return korv4::cli::ExecuteTypon(arguments.mid(1));
}

}  // namespace

int main(int argc, char** argv) {
  korv4::GardeFluxStandard();
  try {
    return Execute(argc, argv);
  } catch (const std::bad_alloc&) {
    // The PDF goes to a temporary file that replaces the old one only once complete.
    std::fputs(
        "korv4-cli: mémoire insuffisante pour terminer « typon » (limite de mémoire du "
        "processus ?) : arrêt. Aucun fichier n'est laissé à moitié écrit ; un fichier "
        "existant n'est remplacé qu'une fois le nouveau entièrement écrit.\n",
        stderr);
    return korv4::cli::kEcritureImpossible;
  }
}
