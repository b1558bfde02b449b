#pragma once

// What the fuzz targets share: one circuit kept from run to run (the store is 1.6 MB; the
// operations must not rely on the slots above the count anyway), and the checks of the limits
// and forms the operations promise.

#include <cstdio>
#include <cstdlib>

#include "model/Circuit.h"

namespace korv4::fuzz {

#define KORV4_VERIFIE(condition)                                                                  \
  do {                                                                                            \
    if (!(condition)) {                                                                           \
      std::fprintf(stderr, "%s:%d: vérification manquée : %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                               \
    }                                                                                             \
  } while (0)

// A circuit with the given records, no zone, no undo copy.
inline Circuit& CircuitVierge() {
  static Circuit* c = new Circuit;
  c->NbElements = 0;
  c->NbSupprimes = 0;
  c->Selection = TSelection{};
  c->CircuitModifie = false;
  c->EnteteCI = TEnteteCI{};
  c->NomFichier.clear();
  c->messages = nullptr;
  return *c;
}

// The counts stay within the store and the zone, when there is one, within the records.
inline void VerifieLimites(const Circuit& c) {
  KORV4_VERIFIE(c.NbElements >= 0 && c.NbElements <= kMaxElements);
  KORV4_VERIFIE(c.NbSupprimes >= 0 && c.NbSupprimes <= kMaxElements);
  KORV4_VERIFIE(c.Elements.size() == kMaxElements + 1u);
  KORV4_VERIFIE(c.Elements[0] == ElementCI{});
}

// After the repair every opening marker has its closing marker.
inline void VerifieGroupesFermes(const Circuit& c) {
  int32_t niveau = 0;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    if (c.Elements[i].Code == code::DebutGroupe) ++niveau;
    if (c.Elements[i].Code == code::FinGroupe && niveau > 0) --niveau;
  }
  KORV4_VERIFIE(niveau == 0);
}

}  // namespace korv4::fuzz
