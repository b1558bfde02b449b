#include "editeur/Editeur.h"
#include "model/Fichiers.h"

// A click on a control: the button's state first (toggles follow their group), then what the
// control's row in Controles.def says.

namespace korv4 {

namespace {

using C = Controle;

void BoutonMenuClick(Editeur& ed) {
  RAZ01(ed);
  AfficheMenu(ed);
  Selectiontravail(ed);
}

void ChoixTravail(Editeur& ed, C bouton) {
  Enfonce(ed, bouton, true);
  AfficheCI(ed);
}

void Visualisation(Editeur& ed, C bouton, C element) {
  Enfonce(ed, element, EstEnfonce(ed, bouton));
  ReAfficheCI(ed);
}

void VisualisationMenu(Editeur& ed, C element, C bouton) {
  Enfonce(ed, bouton, EstEnfonce(ed, element));
  ReAfficheCI(ed);
}

// The windows that read the header (the title block, the surface) get it as the screen shows it.
void OuvreAvecEntete(Editeur& ed, Fenetre f) {
  RemplitEnteteCI(ed.circuit, ed.Titres[0], ed.Titres[1], ed.Titres[2], ed.ctx.SurfaceX,
                  ed.ctx.SurfaceY);
  ed.dialogues->Ouvre(f);
}

void Impression(Editeur& ed) {
  if (ed.circuit.NbElements == 0) return;
  OuvreAvecEntete(ed, Fenetre::FicheImpression);
}

void ModifDiametreClick(Editeur& ed) {
  if (ed.dialogues->Ouvre(Fenetre::FicheModifDiametre) != 1) return;
  initialiseBpPercage(ed);
  TraceCimp(ed);
}

void Taille1Click(Editeur& ed) {
  if (ed.dialogues->Ouvre(Fenetre::Surfacedetravail) != 1) return;
  SurfaceDansEntete(ed);
  AfficheCI(ed);
}

void Unites(Editeur& ed, bool mm) {
  ed.EnMillimetres = mm;
  ++ed.Version;
}

void Copier1Click(Editeur& ed) {
  if (ed.circuit.NbElements > 0) ed.dialogues->Ouvre(Fenetre::PressePapier);
}

void Ouvre(Editeur& ed, Fenetre f) { ed.dialogues->Ouvre(f); }
void Fermeture(Editeur& ed) { ed.Fermeture = true; }
void Rien() {}

// What a click on each control runs.
using Gestionnaire = void (*)(Editeur&, Controle);
constexpr Gestionnaire kClics[] = {
    [](Editeur&, Controle) {},
#define X(nom, libelle, bulle, conteneur, genre, groupe, code, clic, raccourci) \
  [](Editeur& ed, Controle c) {                                                 \
    (void)ed;                                                                   \
    (void)c;                                                                    \
    clic;                                                                       \
  },
#include "editeur/Controles.def"
#undef X
};
static_assert(sizeof(kClics) / sizeof(kClics[0]) == kNombreControles, "one click per control");

}  // namespace

bool Accessible(const Editeur& ed, Controle c) {
  if (!ed[c].Actif) return false;
  // A menu item is reached through its menu; a button through its visible panels and bars.
  const Genre g = Definition(c).Type;
  if (g == Genre::Menu || g == Genre::ElementMenu || g == Genre::ElementMenuCoche) return true;
  for (Controle k = c; k != Controle::Aucun; k = Definition(k).Conteneur) {
    if (!ed[k].Visible) return false;
  }
  return true;
}

void Clic(Editeur& ed, Controle c) {
  const DefinitionControle& d = Definition(c);
  if (!Accessible(ed, c)) return;
  Panneau(ed, 4, "");  // what the last action had to say
  if (d.Type == Genre::Bascule) {
    if (d.Groupe == GTravail) {
      Enfonce(ed, c, true);
    } else {
      Enfonce(ed, c, !EstEnfonce(ed, c));
    }
  } else if (d.Type == Genre::ElementMenuCoche) {
    Enfonce(ed, c, !EstEnfonce(ed, c));
  }

  kClics[Index(c)](ed, c);
  // What the click changed is one step, named after the control.
  const char* nom = d.Bulle[0] != '\0' ? d.Bulle : d.Libelle;
  std::string libelle;
  for (const char* p = nom; *p != '\0'; ++p) {
    if (*p != '&') libelle += *p;
  }
  Etape(ed, libelle);
}

void Raccourci(Editeur& ed, Controle c) {
  if (TitreEnCours(ed)) return;
  const Controle menu = Definition(c).Conteneur;
  if (Definition(menu).Type == Genre::Menu) kClics[Index(menu)](ed, menu);
  if (c == C::Enregistrerunfichier1) {
    if (!Accessible(ed, c)) return;
    EnregistreSurPlace(ed);
    return;
  }
  Clic(ed, c);
}

}  // namespace korv4
