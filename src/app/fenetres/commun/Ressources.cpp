#include "fenetres/commun/Ressources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitialiseRessourcesKorv4() { Q_INIT_RESOURCE(korv4); }

namespace korv4 {

void ChargeRessources() {
  static const bool fait = [] {
    InitialiseRessourcesKorv4();
    return true;
  }();
  (void)fait;
}

}  // namespace korv4
