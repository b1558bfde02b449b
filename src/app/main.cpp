#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "disque/FichiersDisque.h"
#include "ui/Fiche_principale.h"

int main(int argc, char** argv) {
  korv4::IgnoreSignalTailleFichier();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KORV4 "));
  // Qt's own texts (standard buttons, file dialogs) in French.
  QTranslator traduction;
  if (traduction.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&traduction);
  }
  korv4::Fiche_principale fiche;
  fiche.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) fiche.OuvreFichier(arguments.at(1));
  return QApplication::exec();
}
