#include "editeur/Mesure.h"

#include <cmath>

#include "editeur/Survol.h"

namespace korv4 {

std::string DecritMesure(int32_t dx, int32_t dy, bool enMm, double ecartBords) {
  const double l = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
  std::string s = "dx = " + Longueur(dx, enMm) + ", dy = " + Longueur(dy, enMm) + ", longueur " +
                  Longueur(l, enMm) + " (" + Longueur(l, !enMm) + ")";
  if (ecartBords >= 0)
    s += " ; bord à bord " + Longueur(ecartBords, enMm) + " (" + Longueur(ecartBords, !enMm) + ")";
  return s;
}

}  // namespace korv4
