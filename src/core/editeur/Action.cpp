#include <algorithm>

#include "editeur/Editeur.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

// The dispatcher: a gesture (press, release, cancel) and the action code say what the cursor
// point does. Three tables, one row per range of codes; the rows' handlers follow.

namespace korv4 {

namespace {

using C = Controle;
using Ligne = void (*)(Editeur&);

struct Regle {
  int32_t Debut, Fin;
  Ligne Effet;
};

Circuit& Ci(Editeur& ed) { return ed.circuit; }
uint16_t Cx(const Editeur& ed) { return static_cast<uint16_t>(ed.ctx.CurseurX); }
uint16_t Cy(const Editeur& ed) { return static_cast<uint16_t>(ed.ctx.CurseurY); }

void TraceDernier(Editeur& ed) {
  TraceElement(ed.circuit, ed.circuit.NbElements, CouleursNormales(), ed.ctx);
}

void MontreCadreSelection(Editeur& ed) {
  TSelection& s = ed.circuit.Selection;
  s.CadreZone = CadreElements(ed.circuit, s.Premier, s.Dernier);
  FixeCadre(ed.ctx, s.CadreZone, true);
}

// ---- Press ----

void PressePiste(Editeur& ed) {
  if (ed.ctx.PisteEnCours) return;
  const int32_t avant = Ci(ed).NbElements;
  AjoutElement(Ci(ed), ed.Etat.Travail, ed.CodeAction, Cx(ed), Cy(ed));
  // A point refused at the store's limit starts no track.
  if (Ci(ed).NbElements == avant) return;
  ed.ctx.PisteEnCours = true;
  Elastique(ed.ctx, true);
  TraceDernier(ed);
}

Plage Cherche(Editeur& ed, int32_t code) {
  const int t = ed.Etat.Travail;
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  switch (code) {
    case 8: return ChercherSegment(Ci(ed), t, x, y);
    case 9:
    case 10: return ChercherPiste(Ci(ed), t, x, y);
    case 39:
    case 40: return ChercherDessin(Ci(ed), t, x, y);
    case 59:
    case 60: return ChercherTexte(Ci(ed), t, x, y);
    default: return ChercherPastille(Ci(ed), x, y);
  }
}

bool DejaDesigne(const Editeur& ed, Plage p) {
  return ed.ctx.SelectionVisible && ed.ctx.SelectionDebut == p.Premier &&
         ed.ctx.SelectionFin == p.Dernier;
}

void PresseSuppression(Editeur& ed) {
  const Plage p = Cherche(ed, ed.CodeAction);
  if (p.Vide()) {
    AnnuleSelection(Ci(ed), ed.ctx);
  } else if (DejaDesigne(ed, p)) {
    Suppression(Ci(ed), p);
    AnnuleSelection(Ci(ed), ed.ctx);
    ReTraceCimp(ed);
  } else {
    ChoixSelection(Ci(ed), p, ed.Etat, ed.ctx);
  }
}

void PresseSelection(Editeur& ed) {
  const Plage p = Cherche(ed, ed.CodeAction);
  if (p.Vide()) {
    elementdeselect(ed);
  } else {
    elementselect(ed, p);
  }
}

void PressePastille(Editeur& ed) {
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  if (!PastilleGenante(Ci(ed), x, y, ed.CodeAction)) {
    const int32_t avant = Ci(ed).NbElements;
    AjoutElement(Ci(ed), ed.Etat.Travail, ed.CodeAction, Cx(ed), Cy(ed));
    if (Ci(ed).NbElements > avant) TraceDernier(ed);
    return;
  }
  const Plage p = ChercherPastilleProche(Ci(ed), x, y);
  if (p.Vide()) return;
  ElementCI& e = Ci(ed)[p.Premier];
  e.Code = CodeOutil[ed.CodeAction];
  e.Attribut = static_cast<uint8_t>(PercageDefaut(e.Code));
  Ci(ed).CircuitModifie = true;
  TraceCimp(ed);
}

void PresseSupprimePastille(Editeur& ed) {
  const Plage p = ChercherPastille(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide()) return;
  Suppression(Ci(ed), p);
  TraceCimp(ed);
}

void PresseDessin(Editeur& ed) {
  const int32_t avant = Ci(ed).NbElements;
  AjoutElement(Ci(ed), ed.Etat.Travail, ed.CodeAction, Cx(ed), Cy(ed));
  // A first point refused at the store's limit waits for no second one.
  if (Ci(ed).NbElements == avant) return;
  Changetravail(ed, ed.CodeAction + 70);
  Elastique(ed.ctx, true);
}

void PressePercage(Editeur& ed) {
  const int32_t d = ed.CodeAction <= 49 ? ed.CodeAction - 40 : 0;
  const Plage p = ChercherPastille(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide() || Ci(ed)[p.Premier].Attribut == d) return;
  Ci(ed)[p.Premier].Attribut = static_cast<uint8_t>(d);
  Ci(ed).CircuitModifie = true;
  TraceCimp(ed);
}

void PresseSelectionTexte(Editeur& ed) {
  const Plage p = Cherche(ed, 60);
  if (p.Vide()) return;
  if (DejaDesigne(ed, p)) {
    ModifTexte(ed, p);
  } else {
    elementselect(ed, p);
  }
}

void PressePrise(Editeur& ed) {
  switch (ed.CodeAction) {
    case 61: Changetravail(ed, 65); break;
    case 64: Changetravail(ed, 66); break;
    case 73: Changetravail(ed, 78); break;
    case 76: Changetravail(ed, 79); break;
    case 82: Changetravail(ed, 89); break;
    default: Changetravail(ed, 88); break;
  }
}

void PresseZone(Editeur& ed) {
  Changetravail(ed, 100);
  Elastique(ed.ctx, true);
}

void PresseGroupe(Editeur& ed) {
  const Plage p = ChercherGroupe(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide()) {
    DeselectionZone(Ci(ed));
    TermineCurseur(ed);
  } else {
    TSelection& s = Ci(ed).Selection;
    s.Active = 1;
    s.Premier = p.Premier;
    s.Dernier = p.Dernier;
    MontreCadreSelection(ed);
    Enfonce(ed, C::Bpselectiongroupe, false);
    Enfonce(ed, C::BpSelectionComposant, false);
  }
  Selectiontravail(ed);
}

// ---- Release ----

void RelachePiste(Editeur& ed) {
  if (!ed.ctx.PisteEnCours) return;  // no track was started (the store was full)
  AjoutElement(Ci(ed), ed.Etat.Travail, ed.CodeAction, Cx(ed), Cy(ed));
  Elastique(ed.ctx, true);
  TraceDernier(ed);
}

void RelacheDessin(Editeur& ed) {
  AjoutElement(Ci(ed), ed.Etat.Travail, ed.CodeAction, Cx(ed), Cy(ed));
  Elastique(ed.ctx, false);
  TraceDernier(ed);
  Changetravail(ed, ed.CodeAction - 70);
}

void RelacheNouveauTexte(Editeur& ed) {
  const int32_t f = Ci(ed).NbElements + 1;
  const int orientation = ed.CodeAction == 53 ? 51 : 52;
  AjoutTexte(Ci(ed), Cx(ed), Cy(ed), orientation, ed.TexteSaisi, Ci(ed).TailleTexte,
             ed.Etat.Travail);
  TraceCircuit(Ci(ed), f, Ci(ed).NbElements, CouleursNormales(), ed.ctx, ed.Etat);
  Changetravail(ed, orientation);
}

void RelacheTexteModifie(Editeur& ed) {
  const int orientation = ed.CodeAction == 56 ? 51 : 52;
  AnnuleSelectionSiVisible(Ci(ed), ed.ctx);
  Changetravail(ed, 60);
  const TSelection& s = Ci(ed).Selection;
  Suppression(Ci(ed), {s.Premier, s.Dernier});
  AjoutTexte(Ci(ed), Cx(ed), Cy(ed), orientation, ed.TexteSaisi, Ci(ed).TailleTexte,
             ed.Etat.Travail);
  ReTraceCimp(ed);
}

// The carried selection lands with the lower-left corner of its box on the cursor.
int32_t Dx(const Editeur& ed) { return ed.ctx.CurseurX - ed.circuit.Selection.CadreZone.Gauche; }
int32_t Dy(const Editeur& ed) { return ed.ctx.CurseurY - ed.circuit.Selection.CadreZone.Bas; }

// Nothing is carried without a selection that designates records of the store.
bool Portee(const Editeur& ed) {
  const TSelection& s = ed.circuit.Selection;
  return s.Premier >= 1 && s.Dernier >= s.Premier && s.Dernier <= ed.circuit.NbElements &&
         ZoneDansSurface(ed);
}

void DeposeCircuit(Editeur& ed) {
  if (!Portee(ed)) return;
  ChoixFormeCurseur(ed.ctx, 61);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Changetravail(ed, 61);
  TraceCimp(ed);
}

void DeposeCircuitDuplique(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  Ci(ed).Selection.CadreZone =
      CadreElements(Ci(ed), Ci(ed).Selection.Premier, Ci(ed).Selection.Dernier);
  Changetravail(ed, 68);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  RazBoutonsModiftotale(ed);
  Enfonce(ed, C::BpDeplacerTotale, true);
  Changetravail(ed, 61);
  TraceCimp(ed);
}

void DeposeZone(Editeur& ed) {
  if (!Portee(ed)) return;
  ChoixFormeCurseur(ed.ctx, 73);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Changetravail(ed, 73);
  TraceCimp(ed);
}

void DeposeZoneDupliquee(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  Ci(ed).Selection.CadreZone =
      CadreElements(Ci(ed), Ci(ed).Selection.Premier, Ci(ed).Selection.Dernier);
  ChoixFormeCurseur(ed.ctx, 77);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  RazBoutonsModifpartielle(ed);
  Enfonce(ed, C::BpDeplacerZone, true);
  Changetravail(ed, 73);
  TraceCimp(ed);
}

void DeposeComposantDuplique(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  Ci(ed).Selection.CadreZone =
      CadreElements(Ci(ed), Ci(ed).Selection.Premier, Ci(ed).Selection.Dernier);
  ChoixFormeCurseur(ed.ctx, 87);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  Enfonce(ed, C::BpDeplacerComposant, true);
  Changetravail(ed, 82);
  TraceCimp(ed);
}

void DeposeComposant(Editeur& ed) {
  if (!Portee(ed)) return;
  ChoixFormeCurseur(ed.ctx, 87);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Enfonce(ed, C::BpInsertionComposant, false);
  Enfonce(ed, C::BpDeplacerComposant, true);
  Changetravail(ed, 82);
  TraceCimp(ed);
}

void DeposeElement(Editeur& ed) {
  if (!Portee(ed)) return;
  if (ed.CodeAction % 2 == 0) {
    DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  } else {
    DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  }
  TermineCurseur(ed);
  Ci(ed).Selection.Active = 0;
  TraceCimp(ed);
  Selectiontravail(ed);
}

void FinZone(Editeur& ed) {
  const Plage p = SelectionRectangle(Ci(ed), ZoneCurseur(ed.ctx));
  if (p.Premier > 0) {
    TSelection& s = Ci(ed).Selection;
    s.Active = 1;
    s.Premier = p.Premier;
    s.Dernier = p.Dernier;
    MontreCadreSelection(ed);
    Changetravail(ed, 70);
  } else {
    Changetravail(ed, 0);
  }
  Enfonce(ed, C::BpSelectionZone, false);
}

// ---- Cancel ----

void AnnulePiste(Editeur& ed) {
  if (ed.ctx.PisteEnCours) {
    Elastique(ed.ctx, false);
    TerminePiste(ed);
  } else {
    RazBoutonsPiste(ed);
  }
}

void AnnulePastille(Editeur& ed) { RazBoutonsPastille(ed); }

void AnnuleDessin(Editeur& ed) {
  // Only a lone first point waits in the store (a code of the second point).
  if (ed.ctx.ElastiqueActif && ed.CodeAction >= 101) SupprimeDernier(Ci(ed));
  RazBoutonsDessin(ed);
}

void AnnuleDesignationDessin(Editeur& ed) { RazBoutonsDessin(ed); }
void AnnulePercage(Editeur& ed) { RazBoutonsPercage(ed); }
void AnnuleTexte(Editeur& ed) { RazBoutonsTexte(ed); }
void AnnulePlacementTexte(Editeur& ed) { AnnuleSelectionSiVisible(Ci(ed), ed.ctx); }

void AnnuleDeplacementCircuit(Editeur& ed) {
  Enfonce(ed, C::BpDeplacerTotale, false);
  MontreCadreSelection(ed);
  RazBoutonsModiftotale(ed);
}

void AnnuleDuplicationCircuit(Editeur& ed) {
  Enfonce(ed, C::BpDuplicationTotale, false);
  TSelection& s = Ci(ed).Selection;
  if (s.Active > 0) s.CadreZone = CadreElements(Ci(ed), s.Premier, s.Dernier);
  FixeCadre(ed.ctx, s.CadreZone, true);
  RazBoutonsModiftotale(ed);
}

void AnnuleModifTotale(Editeur& ed) { RazBoutonsModiftotale(ed); }

void AnnuleZone(Editeur& ed) {
  RazBoutonsModifpartielle(ed);
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
}

void AnnuleComposant(Editeur& ed) {
  RazBoutonsInsertion(ed);
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
}

void AnnuleInsertion(Editeur& ed) {
  RazBoutonsInsertion(ed);
  const int32_t premier = Ci(ed).Selection.Premier;
  // The inserted records sit at the end of the store; anything else is left alone.
  if (premier >= 1 && premier <= Ci(ed).NbElements && Ci(ed).Selection.Dernier == Ci(ed).NbElements) {
    SupprimeElements(Ci(ed), {premier, Ci(ed).NbElements});
  }
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
  ReTraceCimp(ed);
}

// clang-format off
constexpr Regle kPresse[] = {
    {1, 6, PressePiste},
    {8, 9, PresseSuppression},
    {39, 39, PresseSuppression},
    {59, 59, PresseSuppression},
    {10, 10, PresseSelection},
    {40, 40, PresseSelection},
    {11, 23, PressePastille},
    {29, 29, PresseSupprimePastille},
    {30, 30, PresseSelection},
    {31, 37, PresseDessin},
    {41, 50, PressePercage},
    {51, 52, EditTexte},
    {60, 60, PresseSelectionTexte},
    {61, 61, PressePrise}, {64, 64, PressePrise}, {73, 73, PressePrise},
    {76, 76, PressePrise}, {82, 82, PressePrise}, {85, 85, PressePrise},
    {71, 71, PresseZone},
    {77, 77, PresseGroupe},
    {86, 86, PresseGroupe},
};

constexpr Regle kRelache[] = {
    {1, 6, RelachePiste},
    {101, 107, RelacheDessin},
    {53, 54, RelacheNouveauTexte},
    {56, 57, RelacheTexteModifie},
    {65, 65, DeposeCircuit},
    {66, 66, DeposeCircuitDuplique},
    {78, 78, DeposeZone},
    {79, 79, DeposeZoneDupliquee},
    {88, 88, DeposeComposantDuplique},
    {89, 89, DeposeComposant},
    {91, 91, DeposeComposant},
    {92, 99, DeposeElement},
    {100, 100, FinZone},
};

constexpr Regle kAnnule[] = {
    {1, 6, AnnulePiste},
    {11, 30, AnnulePastille},
    {31, 37, AnnuleDessin},
    {101, 107, AnnuleDessin},
    {39, 40, AnnuleDesignationDessin},
    {41, 50, AnnulePercage},
    {51, 52, AnnuleTexte},
    {59, 60, AnnuleTexte},
    {53, 54, AnnulePlacementTexte},
    {56, 57, AnnulePlacementTexte},
    {61, 61, AnnuleDeplacementCircuit},
    {65, 65, AnnuleDeplacementCircuit},
    {64, 64, AnnuleDuplicationCircuit},
    {69, 69, AnnuleModifTotale},
    {70, 80, AnnuleZone},
    {81, 89, AnnuleComposant},
    {91, 91, AnnuleInsertion},
};
// clang-format on

template <size_t N>
void Applique(Editeur& ed, const Regle (&table)[N]) {
  const int32_t code = ed.CodeAction;
  for (const Regle& r : table) {
    if (code >= r.Debut && code <= r.Fin) {
      r.Effet(ed);
      return;
    }
  }
}

}  // namespace

void action(Editeur& ed, int geste) {
  switch (geste) {
    case 1: Applique(ed, kPresse); break;
    case 2: Applique(ed, kRelache); break;
    case 3:
      AnnuleSelection(ed.circuit, ed.ctx);
      Applique(ed, kAnnule);
      Selectiontravail(ed);
      break;
    default: break;
  }
  EtatAnnulation(ed);
}

void elementselect(Editeur& ed, Plage p) {
  ChoixSelection(ed.circuit, p, ed.Etat, ed.ctx);
  TSelection& s = ed.circuit.Selection;
  s.Active = 1;
  s.Premier = p.Premier;
  s.Dernier = p.Dernier;
  s.CadreZone = CadreElements(ed.circuit, p.Premier, p.Dernier);
}

void elementdeselect(Editeur& ed) {
  AnnuleSelection(ed.circuit, ed.ctx);
  TermineCurseur(ed);
  DeselectionZone(ed.circuit);
}

bool ZoneDansSurface(const Editeur& ed) {
  const Cadre& z = ed.circuit.Selection.CadreZone;
  return ed.ctx.CurseurX - z.Gauche + z.Droite <= ed.ctx.SurfaceX &&
         ed.ctx.CurseurY - z.Bas + z.Haut <= ed.ctx.SurfaceY;
}

int GesteEspace(const Editeur& ed) {
  if (ed.ctx.PisteEnCours) return 2;
  const int32_t c = ed.CodeAction;
  if (c == 0) return 0;
  if (c == 53 || c == 54 || c == 56 || c == 57 || c == 65 || c == 66 || c == 78 || c == 79 ||
      c == 88 || c == 89 || (c >= 91 && c <= 110)) {
    return 2;
  }
  return 1;
}

void actionsuppression(Editeur& ed) {
  Circuit& c = ed.circuit;
  if (EstEnfonce(ed, C::BoutonPiste) && ed.CodeAction >= 1 && ed.CodeAction <= 6 &&
      ed.ctx.PisteEnCours && c.NbElements >= 2 && c[c.NbElements].Attribut == kPointMilieu) {
    SupprimeDernier(c);
    FixeAncre(ed.ctx, c[c.NbElements].X, c[c.NbElements].Y);
    ReTraceCimp(ed);
    return;
  }
  auto presse = [&](C bouton) { Enfonce(ed, bouton, true); };
  if (EstEnfonce(ed, C::BoutonPiste) && !ed.ctx.PisteEnCours) presse(C::BpistSupprime);
  if (EstEnfonce(ed, C::BoutonPastille)) presse(C::BpastSupprime);
  if (EstEnfonce(ed, C::BoutonTexteTypon)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonModifTotaleTypon)) BpSuppressionTotaleClick(ed);
  if (EstEnfonce(ed, C::BoutonModifPartielleTypon) || EstEnfonce(ed, C::BoutonInsertionTypon)) {
    BpSuppressionZoneClick(ed);
  }
  if (EstEnfonce(ed, C::BoutonPercage)) presse(C::BPercSupprime);
  if (EstEnfonce(ed, C::BoutonDessinPercage)) presse(C::BpDessinSupprime);
  if (EstEnfonce(ed, C::BoutonTextePercage)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonDessinImplantation)) presse(C::BpDessinSupprime);
  if (EstEnfonce(ed, C::BoutonTexteImplantation)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonModiftotaleImplantation)) BpSuppressionTotaleClick(ed);
  if (EstEnfonce(ed, C::BoutonModifPartielleImplantation) ||
      EstEnfonce(ed, C::BoutonInsertionImplantation)) {
    BpSuppressionZoneClick(ed);
  }
  Selectiontravail(ed);
}

void boutondroit(Editeur& ed, int32_t x, int32_t y) {
  if (ed.ctx.PisteEnCours) {
    action(ed, 3);
    return;
  }
  if (ed.dialogues == nullptr) return;
  const C menu =
      ed.circuit.Selection.Active < 1 ? C::PopupMenuAffichage1 : C::PopupMenuAffichage2;
  const C choix = ed.dialogues->MenuSurgissant(menu, x, y);
  if (choix != C::Aucun) Clic(ed, choix);
}

namespace {
bool TitreEnCours(const Editeur& ed) {
  return EstEnfonce(ed, C::Boutontitre) || EstEnfonce(ed, C::Boutondate) ||
         EstEnfonce(ed, C::Boutonauteur);
}
}  // namespace

void FormMouseDown(Editeur& ed, BoutonSouris b, bool gaucheTenu, int32_t x, int32_t y) {
  Affichagecurseur(ed, x, y);
  if (TitreEnCours(ed)) {
    Enfonce(ed, C::Boutontitre, false);
    Enfonce(ed, C::Boutondate, false);
    Enfonce(ed, C::Boutonauteur, false);
    Actif(ed, C::EditTitre1, false);
    Actif(ed, C::EditTitre2, false);
    Actif(ed, C::EditTitre3, false);
    return;
  }
  ed.RetireFocus = true;
  if (b == BoutonSouris::Gauche) {
    if (ed.ctx.FormeCurseur != 10) action(ed, 1);
  } else if (b == BoutonSouris::Droit) {
    if (gaucheTenu) {
      action(ed, 3);
    } else {
      boutondroit(ed, x, y);
    }
  }
}

void FormMouseMove(Editeur& ed, int32_t x, int32_t y) { Affichagecurseur(ed, x, y); }

void FormMouseUp(Editeur& ed, BoutonSouris b) {
  if (b == BoutonSouris::Gauche && ed.ctx.ElastiqueActif) action(ed, 2);
}

void FormKeyDown(Editeur& ed, int touche) {
  if (TitreEnCours(ed)) return;
  Ascenseur& v = ed.AscVertical;
  Ascenseur& h = ed.AscHorizontal;
  if (touche == 34) {
    AscenseurChange(ed, true,
                    v.Position + v.Page + v.GrandPas < 1000 ? v.Position + v.GrandPas
                                                            : 1000 - v.Page);
  }
  if (touche == 33) {
    AscenseurChange(ed, true, v.Position - v.GrandPas >= 1 ? v.Position - v.GrandPas : 0);
  }
  if (touche == 35) {
    AscenseurChange(ed, false,
                    h.Position + h.Page + h.GrandPas < 1000 ? h.Position + h.GrandPas
                                                            : 1000 - h.Page);
  }
  if (touche == 36) {
    AscenseurChange(ed, false, h.Position - h.GrandPas >= 1 ? h.Position - h.GrandPas : 0);
  }
  if (touche == 32) action(ed, GesteEspace(ed));
  if (touche == 27) action(ed, 3);
  if (touche == 107) ZoomPlus1Click(ed);
  if (touche == 109) Zoommoins1Click(ed);
  if (touche == 46) actionsuppression(ed);
}

}  // namespace korv4
