#include "fenetres/commun/CodePage.h"

#include <iconv.h>

namespace korv4 {

namespace {

// One conversion through glibc's iconv; false when a character cannot be converted.
bool Convertit(const char* vers, const char* de, const std::string& entree, std::string& sortie) {
  iconv_t cd = iconv_open(vers, de);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string source = entree;
  std::string resultat(source.size() * 4 + 4, '\0');
  char* in = source.data();
  size_t resteEntree = source.size();
  char* out = resultat.data();
  size_t resteSortie = resultat.size();
  const size_t r = iconv(cd, &in, &resteEntree, &out, &resteSortie);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || resteEntree != 0) return false;
  resultat.resize(resultat.size() - resteSortie);
  sortie = std::move(resultat);
  return true;
}

}  // namespace

QString DeWindows1252(const std::string& octets) {
  std::string utf8;
  if (Convertit("UTF-8", "WINDOWS-1252", octets, utf8)) return QString::fromStdString(utf8);
  // The five bytes without a character: shown one by one as the replacement character.
  QString texte;
  for (char c : octets) {
    std::string u;
    texte += Convertit("UTF-8", "WINDOWS-1252", std::string(1, c), u) ? QString::fromStdString(u)
                                                                      : QString(QChar(0xFFFD));
  }
  return texte;
}

bool VersWindows1252(const QString& texte, std::string& octets) {
  return Convertit("WINDOWS-1252", "UTF-8", texte.toStdString(), octets);
}

}  // namespace korv4
