#include "editeur/Gestionnaires.h"

// The dispatcher: a gesture (press, release, cancel) does what the row of the current action
// code in the action table says; then the pointer and key handlers that send gestures.

namespace korv4 {

using C = Controle;

void Rien(Editeur&) {}

namespace {

struct Gestes {
  void (*Presse)(Editeur&);
  void (*Relache)(Editeur&);
  void (*Annule)(Editeur&);
};

constexpr Gestes kGestes[] = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) {presse, relache, annule},
#include "model/Actions.def"
#undef A
};
static_assert(sizeof(kGestes) / sizeof(kGestes[0]) == kNombreActions, "one row per code");

// The row of the current code; a code outside the table does nothing.
const Gestes& Ligne(const Editeur& ed) {
  static constexpr Gestes kAucun{Rien, Rien, Rien};
  const int32_t code = ed.CodeAction;
  return code >= 0 && code < kNombreActions ? kGestes[code] : kAucun;
}

// A tool whose panel is open but whose size or kind is not chosen places nothing: a press says
// what to choose.
const char* ChoixManquant(int32_t code) {
  switch (code) {
    case actions::PanneauPastilles:
      return "Choisissez d'abord une pastille dans le panneau : sans taille, le clic ne pose rien.";
    case actions::PanneauPistes:
      return "Choisissez d'abord l'épaisseur de la piste dans le panneau : sans elle, le clic ne "
             "trace rien.";
    case actions::PanneauDessin:
      return "Choisissez d'abord le dessin (trait, rectangle, cercle, ellipse) dans le panneau : "
             "sans lui, le clic ne trace rien.";
    case actions::PanneauTexte:
      return "Choisissez d'abord un texte horizontal ou vertical dans le panneau : sans lui, le "
             "clic ne place rien.";
    default: return nullptr;
  }
}

}  // namespace

void action(Editeur& ed, int geste) {
  const int32_t code = ed.CodeAction;
  Panneau(ed, 4, "");  // what the last action had to say
  switch (geste) {
    case 1:
      Ligne(ed).Presse(ed);
      if (const char* dit = ChoixManquant(code)) Panneau(ed, 4, dit);
      break;
    case 2: Ligne(ed).Relache(ed); break;
    case 3:
      AnnuleSelection(ed.circuit, ed.ctx);
      Ligne(ed).Annule(ed);
      Selectiontravail(ed);
      break;
    default: break;
  }
  EtatAnnulation(ed);
  // A gesture's step is named after the tool that started it.
  Etape(ed, LibellesActions[code >= 0 && code < kNombreActions ? code : 0]);
}

int GesteEspace(const Editeur& ed) {
  // While a track is being drawn the space bar adds its point.
  return ed.ctx.PisteEnCours ? 2 : GesteEspaceDe(ed.CodeAction);
}

void boutondroit(Editeur& ed, int32_t x, int32_t y) {
  if (ed.ctx.PisteEnCours) {
    action(ed, 3);
    return;
  }
  if (ed.dialogues == nullptr) return;
  const C menu = ed.circuit.Selection.Active < 1 ? C::PopupMenuAffichage1 : C::PopupMenuAffichage2;
  const C choix = ed.dialogues->MenuSurgissant(menu, x, y);
  if (choix != C::Aucun) Clic(ed, choix);
}

bool TitreEnCours(const Editeur& ed) {
  return EstEnfonce(ed, C::Boutontitre) || EstEnfonce(ed, C::Boutondate) ||
         EstEnfonce(ed, C::Boutonauteur);
}

void FormMouseDown(Editeur& ed, BoutonSouris b, bool gaucheTenu, int32_t x, int32_t y) {
  Affichagecurseur(ed, x, y);
  if (TitreEnCours(ed)) {
    Enfonce(ed, C::Boutontitre, false);
    Enfonce(ed, C::Boutondate, false);
    Enfonce(ed, C::Boutonauteur, false);
    Actif(ed, C::EditTitre1, false);
    Actif(ed, C::EditTitre2, false);
    Actif(ed, C::EditTitre3, false);
    Etape(ed, "Titre du circuit");
    return;
  }
  ed.RetireFocus = true;
  if (b == BoutonSouris::Milieu) {
    DebutGlisse(ed, x, y);
  } else if (b == BoutonSouris::Gauche) {
    if (ed.ctx.FormeCurseur != 10) action(ed, 1);
  } else if (b == BoutonSouris::Droit) {
    if (gaucheTenu) {
      action(ed, 3);
    } else {
      boutondroit(ed, x, y);
    }
  }
}

void FormMouseMove(Editeur& ed, int32_t x, int32_t y) {
  Glisse(ed, x, y);
  Affichagecurseur(ed, x, y);
}

void FormMouseUp(Editeur& ed, BoutonSouris b) {
  if (b == BoutonSouris::Milieu) ed.Glisse.Actif = false;
  if (b == BoutonSouris::Gauche && ed.ctx.ElastiqueActif) action(ed, 2);
}

void FormKeyDown(Editeur& ed, int touche, bool maj) {
  if (TitreEnCours(ed)) return;
  if (touche >= 37 && touche <= 40) {
    const int32_t n = maj ? 10 : 1;
    DeplaceCurseurClavier(ed,
                          touche == 37   ? -n
                          : touche == 39 ? n
                                         : 0,
                          touche == 38   ? n
                          : touche == 40 ? -n
                                         : 0);
    return;
  }
  if (touche == 13) {
    // A click where the cursor is: the press (nothing while something is carried), then the
    // release.
    ed.RetireFocus = true;
    if (ed.ctx.FormeCurseur != 10) action(ed, 1);
    if (ed.ctx.ElastiqueActif) action(ed, 2);
    return;
  }
  Ascenseur& v = ed.AscVertical;
  Ascenseur& h = ed.AscHorizontal;
  if (touche == 34) {
    AscenseurChange(
        ed, true,
        v.Position + v.Page + v.GrandPas < 1000 ? v.Position + v.GrandPas : 1000 - v.Page);
  }
  if (touche == 33) {
    AscenseurChange(ed, true, v.Position - v.GrandPas >= 1 ? v.Position - v.GrandPas : 0);
  }
  if (touche == 35) {
    AscenseurChange(
        ed, false,
        h.Position + h.Page + h.GrandPas < 1000 ? h.Position + h.GrandPas : 1000 - h.Page);
  }
  if (touche == 36) {
    AscenseurChange(ed, false, h.Position - h.GrandPas >= 1 ? h.Position - h.GrandPas : 0);
  }
  if (touche == 32) action(ed, GesteEspace(ed));
  if (touche == 27) action(ed, 3);
  if (touche == 107) ZoomPlus1Click(ed);
  if (touche == 109) Zoommoins1Click(ed);
  if (touche == 46) {
    actionsuppression(ed);
    Etape(ed, "Suppression");
  }
}

}  // namespace korv4
