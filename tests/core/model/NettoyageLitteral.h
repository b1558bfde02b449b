#pragma once

// The store repair written as plain walks that remove one record at a time and look at the same
// place again. Quadratic, kept as the reference that the linear NettoyageCircuit must match.

#include "model/Circuit.h"

namespace korv4::litteral {

inline void NettoyageCircuit(Circuit& c) {
  std::vector<ElementCI>& e = c.Elements;
  // 1. Drawing pairs.
  for (int32_t i = 1; i <= c.NbElements;) {
    const uint8_t k = e[i].Code;
    bool retire = false;
    if (k == 128 || k == 130 || k == 132 || k == 134)
      retire = i == c.NbElements || e[i + 1].Code != k + 1;
    else if (k == 129 || k == 131 || k == 133 || k == 135)
      retire = i == 1 || e[i - 1].Code != k - 1;
    if (retire)
      EffaceElement(c, i);
    else
      ++i;
  }
  // 2. Tracks, by point role alone.
  for (int32_t i = 1; i <= c.NbElements;) {
    const uint8_t a = e[i].Attribut;
    if (a == kPremierPoint) {
      int32_t j = i + 1;
      while (j <= c.NbElements && e[j].Attribut == kPointMilieu) ++j;
      if (j <= c.NbElements && e[j].Attribut == kDernierPoint) {
        i = j + 1;
        continue;
      }
      for (int32_t k = i; k < j; ++k) EffaceElement(c, i);
    } else if (a == kPointMilieu) {
      int32_t j = i;
      while (j <= c.NbElements && e[j].Attribut == kPointMilieu) ++j;
      const int32_t fin = (j <= c.NbElements && e[j].Attribut == kDernierPoint) ? j : j - 1;
      for (int32_t k = i; k <= fin; ++k) EffaceElement(c, i);
    } else if (a == kDernierPoint) {
      EffaceElement(c, i);
    } else {
      ++i;
    }
  }
  // 3. Groups.
  for (int32_t i = 1; i <= c.NbElements;) {
    if (e[i].Code != code::DebutGroupe) {
      ++i;
      continue;
    }
    int32_t niveau = 0, j = i;
    for (; j <= c.NbElements; ++j) {
      niveau += DeltaNiveau(e[j].Code);
      if (niveau == 0) break;
    }
    if (j > c.NbElements) {
      EffaceElement(c, i);
      continue;
    }
    const Cadre b = CadreElements(c, i, j);
    const ElementCI debut = e[i], fin = e[j];
    e[i].X = static_cast<uint16_t>(b.Gauche);
    e[i].Y = static_cast<uint16_t>(b.Bas);
    e[j].X = static_cast<uint16_t>(b.Droite);
    e[j].Y = static_cast<uint16_t>(b.Haut);
    if (e[i] != debut || e[j] != fin) c.CircuitModifie = true;
    ++i;
  }
}

}  // namespace korv4::litteral
