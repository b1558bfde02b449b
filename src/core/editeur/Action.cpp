#include "editeur/Gestionnaires.h"

// The dispatcher: a gesture (press, release, cancel) does what the row of the current action
// code in the action table says; then the pointer and key handlers that send gestures.

namespace korv4 {

using C = Controle;

void Rien(Editeur&) {}

namespace {

// A page of the scroll bar `a` forward or back, kept within the bar.
void PageAscenseur(Editeur& ed, bool vertical, const Ascenseur& a, bool avant) {
  const int32_t position =
      avant ? (a.Position + a.Page + a.GrandPas < 1000 ? a.Position + a.GrandPas : 1000 - a.Page)
            : (a.Position - a.GrandPas >= 1 ? a.Position - a.GrandPas : 0);
  AscenseurChange(ed, vertical, position);
}

struct Gestes {
  void (*Presse)(Editeur&);
  void (*Relache)(Editeur&);
  void (*Annule)(Editeur&);
};

constexpr Gestes kGestes[] = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) {presse, relache, annule},
#include "editeur/Actions.def"
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

void action(Editeur& ed, Geste geste) {
  const int32_t code = ed.CodeAction;
  Panneau(ed, 4, "");  // what the last action had to say
  switch (geste) {
    case Geste::Presse:
      Ligne(ed).Presse(ed);
      if (const char* dit = ChoixManquant(code)) Panneau(ed, 4, dit);
      break;
    case Geste::Relache: Ligne(ed).Relache(ed); break;
    case Geste::Annule:
      AnnuleSelection(ed.circuit, ed.ctx);
      Ligne(ed).Annule(ed);
      Selectiontravail(ed);
      break;
    case Geste::Aucun: break;
  }
  EtatAnnulation(ed);
  // A gesture's step is named after the tool that started it.
  Etape(ed, LibellesActions[code >= 0 && code < kNombreActions ? code : 0]);
}

Geste GesteEspace(const Editeur& ed) {
  // While a track is being drawn the space bar adds its point.
  return ed.ctx.PisteEnCours ? Geste::Relache : GesteEspaceDe(ed.CodeAction);
}

void boutondroit(Editeur& ed, int32_t x, int32_t y) {
  if (ed.ctx.PisteEnCours) {
    action(ed, Geste::Annule);
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
    ValideGeste(ed, GesteLong::Titre);
    Etape(ed, "Titre du circuit");
    return;
  }
  ed.RetireFocus = true;
  if (b == BoutonSouris::Milieu) {
    DebutGlisse(ed, x, y);
  } else if (b == BoutonSouris::Gauche) {
    if (ed.ctx.FormeCurseur != Curseur::CadrePorte) action(ed, Geste::Presse);
  } else if (b == BoutonSouris::Droit) {
    if (gaucheTenu) {
      action(ed, Geste::Annule);
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
  if (b == BoutonSouris::Gauche && ed.ctx.ElastiqueActif) action(ed, Geste::Relache);
}

void FormKeyDown(Editeur& ed, Touche touche, bool maj) {
  if (TitreEnCours(ed)) return;
  const int32_t n = maj ? 10 : 1;
  Ascenseur& v = ed.AscVertical;
  Ascenseur& h = ed.AscHorizontal;
  switch (touche) {
    case Touche::Gauche: DeplaceCurseurClavier(ed, -n, 0); break;
    case Touche::Droite: DeplaceCurseurClavier(ed, n, 0); break;
    case Touche::Haut: DeplaceCurseurClavier(ed, 0, n); break;
    case Touche::Bas: DeplaceCurseurClavier(ed, 0, -n); break;
    case Touche::Entree:
      // A click where the cursor is: the press (nothing while something is carried), then the
      // release.
      ed.RetireFocus = true;
      if (ed.ctx.FormeCurseur != Curseur::CadrePorte) action(ed, Geste::Presse);
      if (ed.ctx.ElastiqueActif) action(ed, Geste::Relache);
      break;
    case Touche::PageSuivante: PageAscenseur(ed, true, v, true); break;
    case Touche::PagePrecedente: PageAscenseur(ed, true, v, false); break;
    case Touche::Fin: PageAscenseur(ed, false, h, true); break;
    case Touche::Debut: PageAscenseur(ed, false, h, false); break;
    case Touche::Espace: action(ed, GesteEspace(ed)); break;
    case Touche::Echap: action(ed, Geste::Annule); break;
    case Touche::Plus: ZoomPlus1Click(ed); break;
    case Touche::Moins: Zoommoins1Click(ed); break;
    case Touche::Suppr:
      actionsuppression(ed);
      Etape(ed, "Suppression");
      break;
    case Touche::Autre: break;
  }
}

}  // namespace korv4
