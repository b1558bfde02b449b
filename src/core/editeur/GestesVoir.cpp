// Tools that look and change nothing in the circuit: the lit net ("Équipotentielle"), what is
// under the pointer, the measure. No step of the history, no change of the store.

#include "editeur/Gestionnaires.h"
#include "editeur/Mesure.h"
#include "editeur/Survol.h"
#include "verification/Distances.h"

namespace korv4 {

namespace {

using C = Controle;

// The look buttons of each work's toolbar.
constexpr C kBoutonsEquipotentielle[] = {C::BoutonEquipotentielleTypon,
                                         C::BoutonEquipotentielleImplantation,
                                         C::BoutonEquipotentiellePercage};
constexpr C kBoutonsMesure[] = {C::BoutonMesureTypon, C::BoutonMesureImplantation,
                                C::BoutonMesurePercage};

void AfficheAllumage(Editeur& ed) {
  ++ed.VersionAllumage;
  Panneau(ed, 4, TexteEquipotentielle(ed.Allumage));
}

}  // namespace

void BoutonVoirClick(Editeur& ed, Controle c) {
  // The option panels of the other functions go; the zone and the undo of a deletion stay.
  AfficheMenu(ed);
  Changetravail(ed, EstEnfonce(ed, c) ? Definition(c).Code : 0);
}

void OutilVoir(Editeur& ed, int32_t code) {
  const C* boutons =
      code == actions::OutilEquipotentielle ? kBoutonsEquipotentielle : kBoutonsMesure;
  for (int k = 0; k < 3; ++k) {
    if (!EstVisible(ed, Definition(boutons[k]).Conteneur)) continue;
    Enfonce(ed, boutons[k], true);
    BoutonVoirClick(ed, boutons[k]);
    return;
  }
  Changetravail(ed, code);  // no work shown yet: the code alone
}

// ---- Équipotentielle: a press on copper lights its net, elsewhere puts it out ----

void PresseEquipotentielle(Editeur& ed) {
  AllumeEquipotentielle(ed.Allumage, ed.circuit, ed.Etat.Travail, ed.ctx.CurseurX, ed.ctx.CurseurY);
  AfficheAllumage(ed);
}

void AnnuleEquipotentielle(Editeur& ed) {
  if (ed.Allumage.Active) {
    EteintEquipotentielle(ed.Allumage);
    AfficheAllumage(ed);
  }
}

bool SuitAllumage(Editeur& ed) {
  if (!SuitEquipotentielle(ed.Allumage, ed.circuit)) return false;
  AfficheAllumage(ed);
  return true;
}

// ---- Mesure: press, drag, release ----

void PresseMesure(Editeur& ed) {
  ed.MesureEnCours = true;
  ed.MesureX = ed.ctx.CurseurX;
  ed.MesureY = ed.ctx.CurseurY;
  Elastique(ed.ctx, true);
  Panneau(ed, 4, DecritMesure(0, 0, ed.EnMillimetres));
}

void RelacheMesure(Editeur& ed) {
  if (!ed.MesureEnCours) return;
  ed.MesureEnCours = false;
  Elastique(ed.ctx, false);
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  const double bords = EcartBordABord(ed.circuit, ed.Etat.Travail, ed.MesureX, ed.MesureY, x, y);
  Panneau(ed, 4, DecritMesure(x - ed.MesureX, y - ed.MesureY, ed.EnMillimetres, bords));
}

void AnnuleMesure(Editeur& ed) {
  if (!ed.MesureEnCours) return;
  ed.MesureEnCours = false;
  Elastique(ed.ctx, false);
}

// ---- What is under the pointer ----

bool SurvolPointeur(Editeur& ed, int32_t x, int32_t y, bool pause) {
  if (ed.MesureEnCours)
    Panneau(ed, 4, DecritMesure(x - ed.MesureX, y - ed.MesureY, ed.EnMillimetres));
  const Equipotentielles* nets =
      pause ? &NetsAJour(ed.Allumage, ed.circuit) : NetsSiAJour(ed.Allumage, ed.circuit);
  std::string s = DecritSousPointeur(ed.circuit, ed.Etat.Travail, x, y, ed.EnMillimetres, nets);
  if (s == ed.Survol) return false;
  ed.Survol = std::move(s);
  ++ed.Version;
  return true;
}

}  // namespace korv4
