#include "editeur/Allumage.h"

#include <cstring>
#include <memory>

#include "render/TraceCircuit.h"

namespace korv4 {

namespace {

bool MemeMagasin(const EquipotentielleAllumee& a, const Circuit& c) {
  return a.calculees && static_cast<int32_t>(a.copie.size()) == c.NbElements &&
         a.diametres == c.EnteteCI.DiametresPercage &&
         (c.NbElements == 0 ||
          std::memcmp(a.copie.data(), &c.Elements[1],
                      sizeof(ElementCI) * static_cast<size_t>(c.NbElements)) == 0);
}

}  // namespace

const Equipotentielles& NetsAJour(EquipotentielleAllumee& a, const Circuit& c) {
  if (!MemeMagasin(a, c)) {
    a.nets = CalculeEquipotentielles(c);
    a.copie.assign(c.Elements.begin() + 1, c.Elements.begin() + 1 + c.NbElements);
    a.diametres = c.EnteteCI.DiametresPercage;
    a.calculees = true;
  }
  return a.nets;
}

const Equipotentielles* NetsSiAJour(const EquipotentielleAllumee& a, const Circuit& c) {
  return MemeMagasin(a, c) ? &a.nets : nullptr;
}

int32_t EquipotentielleSous(const Circuit& c, const Equipotentielles& nets, int travail, int32_t x,
                            int32_t y) {
  const int face = travail == 1 || travail == 2 ? travail : 0;
  Plage p = ChercherPastille(c, x, y);
  if (!p.Vide()) {
    const int32_t n = face ? nets.De(p.Premier, face) : -1;
    return n >= 0 ? n : nets.De(p.Premier);
  }
  if (face == 0) return -1;
  if (!(p = ChercherPiste(c, travail, x, y)).Vide()) return nets.De(p.Premier, face);
  if (!(p = ChercherTexte(c, travail, x, y)).Vide()) return nets.De(p.Premier, face);
  return -1;
}

bool AllumeEquipotentielle(EquipotentielleAllumee& a, const Circuit& c, int travail, int32_t x,
                           int32_t y) {
  const int32_t net = EquipotentielleSous(c, NetsAJour(a, c), travail, x, y);
  if (net < 0) {
    EteintEquipotentielle(a);
    return false;
  }
  a.Active = true;
  a.X = x;
  a.Y = y;
  a.Travail = travail;
  a.Net = net;
  return true;
}

void EteintEquipotentielle(EquipotentielleAllumee& a) {
  a.Active = false;
  a.Net = -1;
}

bool SuitEquipotentielle(EquipotentielleAllumee& a, const Circuit& c) {
  if (!a.Active || MemeMagasin(a, c)) return false;
  a.Net = EquipotentielleSous(c, NetsAJour(a, c), a.Travail, a.X, a.Y);
  if (a.Net < 0) a.Active = false;
  return true;  // even the same index may now hold other records
}

std::string TexteEquipotentielle(const EquipotentielleAllumee& a) {
  if (!a.Active || a.Net < 0 || static_cast<size_t>(a.Net) >= a.nets.Liste.size()) return "";
  const Equipotentielle& q = a.nets.Liste[static_cast<size_t>(a.Net)];
  const size_t n = q.Pastilles.size();
  return "Équipotentielle " + q.Nom + " : " + std::to_string(n) +
         (n > 1 ? " pastilles" : " pastille");
}

void TraceEquipotentielleAllumee(const EquipotentielleAllumee& a, const Circuit& c,
                                 const ContexteTrace& ctx, Canevas& toile, Couleur couleur) {
  if (!a.Active || a.Net < 0 || static_cast<size_t>(a.Net) >= a.nets.Liste.size()) return;
  // The net's records alone, in store order: its tracks and texts stay whole runs.
  auto seul = std::make_unique<Circuit>();
  seul->EnteteCI = c.EnteteCI;
  for (int32_t i : a.nets.Liste[static_cast<size_t>(a.Net)].Elements)
    if (i >= 1 && i <= c.NbElements) seul->Elements[++seul->NbElements] = c.Elements[i];
  ContexteTrace k = ctx;
  k.Toile = &toile;
  k.SansCurseur = true;
  k.SelectionVisible = false;
  k.ElastiqueActif = false;
  k.CurseurVisible = false;
  CouleursTrace couleurs;
  couleurs.fill(couleur);
  couleurs[0] = kModeCopie;
  couleurs[6] = kNoir;  // the holes
  const EtatTravail etat{1, 1, 1, 0};
  TraceCircuit(*seul, 1, seul->NbElements, couleurs, k, etat);
}

}  // namespace korv4
