#include "editeur/Actions.h"

#include "model/Tables.h"

namespace korv4 {

namespace {

constexpr int8_t kGestesEspace[] = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) espace,
#include "model/Actions.def"
#undef A
};

}  // namespace

const std::array<const char*, kNombreActions> LibellesActions = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) libelle,
#include "model/Actions.def"
#undef A
};

static_assert(actions::FinPiste == kOutilFinPiste, "the model ends a track with this tool");
static_assert(kNombreActions == static_cast<int32_t>(std::tuple_size_v<decltype(CodeOutil)>),
              "one kind per action code");

int GesteEspaceDe(int32_t code) {
  return code >= 0 && code < kNombreActions ? kGestesEspace[code] : 1;
}

bool EstOutilPiste(int32_t code) {
  return code >= 0 && code < kNombreActions && EstPisteCreee(CodeOutil[code]);
}

}  // namespace korv4
