#include "editeur/Allumage.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "render/CanevasImage.h"
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
    // While a net is lit, the pieces followed from the change's records (read whole at the
    // first change and when a change cannot be followed); otherwise the board is read once.
    bool suivies = false;
    if (a.calculees && !a.encombre && (a.Active || (a.suivi && a.suivi->Pret()))) {
      if (!a.suivi) a.suivi = std::make_shared<SuiviVerification>();
      SuiviVerification& s = *a.suivi;
      const DifferenceMagasins d = CompareMagasins(a.copie, c);
      if (s.Pret() && d.Debut > 0) s.Applique(c, a.copie, d.Debut, d.Anciens, d.Nouveaux);
      if (!s.Pret()) {
        OptionsVerification o;  // the pieces alone: no clearance
        o.IsolementMm = 0;
        // A store whose plotting joins elements is looked at again at the next change (a
        // cheap look); crowded copper is not.
        if (!s.Construit(c, o) && s.DernierPas().Paires > 0) a.encombre = true;
        ++a.CalculsEntiers;
      }
      if (s.Pret()) {
        a.nets = s.Nets(c);
        suivies = true;
      }
    }
    if (!suivies) {
      a.nets = CalculeEquipotentielles(c);
      ++a.CalculsEntiers;
    }
    a.copie.assign(c.Elements.begin() + 1, c.Elements.begin() + 1 + c.NbElements);
    a.diametres = c.EnteteCI.DiametresPercage;
    a.calculees = true;
    ++a.Calcul;
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
  a.suivi.reset();  // what is kept to follow the pieces goes with the light
}

bool SuitEquipotentielle(EquipotentielleAllumee& a, const Circuit& c) {
  if (!a.Active || MemeMagasin(a, c)) return false;
  a.Net = EquipotentielleSous(c, NetsAJour(a, c), a.Travail, a.X, a.Y);
  if (a.Net < 0) EteintEquipotentielle(a);
  return true;  // even the same index may now hold other records
}

std::string TexteEquipotentielle(const EquipotentielleAllumee& a) {
  if (!a.Active || a.Net < 0 || static_cast<size_t>(a.Net) >= a.nets.Liste.size()) return "";
  const Equipotentielle& q = a.nets.Liste[static_cast<size_t>(a.Net)];
  const size_t n = q.Pastilles.size();
  return "Équipotentielle " + q.Nom + " : " + std::to_string(n) +
         (n > 1 ? " pastilles" : " pastille");
}

namespace {

bool Allumee(const EquipotentielleAllumee& a) {
  return a.Active && a.Net >= 0 && static_cast<size_t>(a.Net) < a.nets.Liste.size();
}

// The lit net drawn alone in `couleur` with the layout of ctx (whose canvas it draws on).
void TraceSeul(const EquipotentielleAllumee& a, const ContexteTrace& ctx, Canevas& toile,
               Couleur couleur) {
  const Circuit& seul = *a.seul;
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
  TraceCircuit(seul, 1, seul.NbElements, couleurs, k, etat);
}

}  // namespace

void PrepareEquipotentielleAllumee(const EquipotentielleAllumee& a, const Circuit& c) {
  if (!Allumee(a)) return;
  if (a.seul != nullptr && a.seulCalcul == a.Calcul && a.seulNet == a.Net) return;
  if (a.seul == nullptr) a.seul = std::make_shared<Circuit>();
  Circuit& seul = *a.seul;
  seul.EnteteCI = c.EnteteCI;
  seul.NbElements = 0;
  for (int32_t i : a.nets.Liste[static_cast<size_t>(a.Net)].Elements)
    if (i >= 1 && i <= c.NbElements) seul.Elements[++seul.NbElements] = c.Elements[i];
  a.seulCalcul = a.Calcul;
  a.seulNet = a.Net;
}

int32_t ElementsEquipotentielleAllumee(const EquipotentielleAllumee& a) {
  if (!Allumee(a)) return 0;
  return static_cast<int32_t>(a.nets.Liste[static_cast<size_t>(a.Net)].Elements.size());
}

void TraceEquipotentielleAllumee(const EquipotentielleAllumee& a, const Circuit& c,
                                 const ContexteTrace& ctx, Canevas& toile, Couleur couleur) {
  if (!Allumee(a)) return;
  PrepareEquipotentielleAllumee(a, c);
  TraceSeul(a, ctx, toile, couleur);
}

void TraceEquipotentielleBande(const EquipotentielleAllumee& a, const ContexteTrace& ctx,
                               uint32_t* pixels, std::ptrdiff_t pas, int32_t largeur, int32_t haut,
                               int32_t bas, Couleur couleur) {
  for (int32_t y = haut; y < bas; ++y)
    std::fill_n(pixels + y * pas, static_cast<size_t>(largeur), 0u);
  if (!Allumee(a) || a.seul == nullptr || a.seulCalcul != a.Calcul || a.seulNet != a.Net) return;
  // The band's part of the zone, drawn through a canvas over those pixels alone, the layout
  // moved by its corner: the rasteriser draws the same pixels wherever the picture starts.
  const RectPixel r{std::max(ctx.Zone.Gauche, 0), std::max(ctx.Zone.Haut, haut),
                    std::min(ctx.Zone.Droite, largeur), std::min(ctx.Zone.Bas, bas)};
  if (r.Droite <= r.Gauche || r.Bas <= r.Haut) return;
  CanevasImage partie(pixels + r.Haut * pas + r.Gauche, r.Droite - r.Gauche, r.Bas - r.Haut, pas);
  ContexteTrace t = ctx;
  t.OrigineX += r.Gauche;
  t.OrigineY -= r.Haut;
  t.Zone = RectPixel{0, 0, r.Droite - r.Gauche, r.Bas - r.Haut};
  t.Elagage = true;
  TraceSeul(a, t, partie, couleur);
}

}  // namespace korv4
