#include "Texte.h"

#include <iconv.h>

#include <cerrno>

namespace korv4 {

std::string Windows1252VersUtf8(const std::string& octets) {
  static const char kRemplacement[] = "\xEF\xBF\xBD";
  std::string sortie;
  iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter: keep ASCII, replace the rest.
    for (char ch : octets)
      sortie += (static_cast<unsigned char>(ch) < 0x80) ? std::string(1, ch) : kRemplacement;
    return sortie;
  }
  std::string entree = octets;
  char* in = entree.data();
  size_t resteEntree = entree.size();
  char tampon[256];
  while (resteEntree > 0) {
    char* out = tampon;
    size_t resteSortie = sizeof tampon;
    const size_t r = iconv(cd, &in, &resteEntree, &out, &resteSortie);
    sortie.append(tampon, static_cast<size_t>(out - tampon));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // A byte with no character: replaced, and the conversion goes on after it.
      sortie += kRemplacement;
      ++in;
      --resteEntree;
    }
  }
  iconv_close(cd);
  return sortie;
}

}  // namespace korv4
