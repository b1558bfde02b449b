#include <algorithm>

#include "editeur/Editeur.h"

namespace korv4 {

namespace {

// The code column names action codes.
using namespace actions;

constexpr DefinitionControle kDefinitions[] = {
    {"", "", "", Controle::Aucun, Genre::Racine, 0, 0, ""},
#define X(nom, libelle, bulle, conteneur, genre, groupe, code, clic, raccourci) \
  {#nom, libelle, bulle, Controle::conteneur, Genre::genre, groupe, code, raccourci},
#include "editeur/Controles.def"
#undef X
};
static_assert(sizeof(kDefinitions) / sizeof(kDefinitions[0]) == kNombreControles,
              "one definition per control");

}  // namespace

const DefinitionControle& Definition(Controle c) { return kDefinitions[Index(c)]; }

const std::array<const char*, 10> kListeEchelles = {"25 %", "50 %", "100%", "150%", "200%",
                                                    "300%", "400%", "600%", "800%", "1000%"};
const std::array<const char*, 6> kListeGrilles = {"1 pas  = 2,54 mm",    "1/2 pas = 1,27 mm",
                                                  "1/4 pas = 0,635 mm",  "1/10 pas = 0,254 mm",
                                                  "1/20 pas = 0,127 mm", "1/100 pas = 0,0254 mm"};

void Enfonce(Editeur& ed, Controle c, bool b) {
  // A button pressed in an exclusive group releases the others.
  const int groupe = Definition(c).Groupe;
  if (b && groupe != GAucun) {
    for (int i = 1; i < kNombreControles; ++i) {
      if (i != Index(c) && Definition(static_cast<Controle>(i)).Groupe == groupe) {
        Enfonce(ed, static_cast<Controle>(i), false);
      }
    }
  }
  if (ed[c].Enfonce == b) return;
  ed[c].Enfonce = b;
  ++ed.Version;
}

void Visible(Editeur& ed, Controle c, bool b) {
  if (ed[c].Visible == b) return;
  ed[c].Visible = b;
  ++ed.Version;
}

void Actif(Editeur& ed, Controle c, bool b) {
  if (ed[c].Actif == b) return;
  ed[c].Actif = b;
  ++ed.Version;
}

void Libelle(Editeur& ed, Controle c, const std::string& s) {
  if (ed[c].Libelle == s) return;
  ed[c].Libelle = s;
  ++ed.Version;
}

void Panneau(Editeur& ed, int i, const std::string& s) {
  if (ed.Panneaux[i] == s) return;
  ed.Panneaux[i] = s;
  ++ed.Version;
}

}  // namespace korv4
