#include "editeur/Actions.h"

#include "model/Tables.h"
#include "render/Curseur.h"

namespace korv4 {

namespace {

struct Colonnes {
  Curseur forme;
  uint8_t genre;
  Geste espace;
};

constexpr Colonnes kColonnes[] = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) \
  {Curseur::forme, genre, Geste::espace},
#include "editeur/Actions.def"
#undef A
};
static_assert(sizeof(kColonnes) / sizeof(kColonnes[0]) == kNombreActions, "one row per code");

bool DansLaTable(int32_t code) { return code >= 0 && code < kNombreActions; }

}  // namespace

const std::array<const char*, kNombreActions> LibellesActions = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) libelle,
#include "editeur/Actions.def"
#undef A
};

Geste GesteEspaceDe(int32_t code) {
  return DansLaTable(code) ? kColonnes[code].espace : Geste::Presse;
}

uint8_t GenreDe(int32_t code) { return DansLaTable(code) ? kColonnes[code].genre : 0; }

bool EstOutilPiste(int32_t code) { return EstPisteCreee(GenreDe(code)); }

void ChoixCurseurOutil(ContexteTrace& ctx, int32_t code) {
  const uint8_t genre = GenreDe(code);
  ChoixFormeCurseur(ctx, DansLaTable(code) ? kColonnes[code].forme : Curseur::Croix,
                    EstPisteCreee(genre) ? genre - code::PisteSansLargeur : 0,
                    EstPremierPointDessin(genre) || EstSecondPointDessin(genre));
}

}  // namespace korv4
