#include "fenetres/commun/Langue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace korv4 {

void LocaleFrancaise() {
  // Qt reads the system's locale from these variables when the application starts.
  qputenv("LC_ALL", "fr_FR.UTF-8");
  qputenv("LANGUAGE", "fr");
}

bool TraductionsFrancaises(QCoreApplication& application) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  auto* traduction = new QTranslator(&application);
  if (!traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traduction;
    return false;
  }
  QCoreApplication::installTranslator(traduction);
  return true;
}

}  // namespace korv4
