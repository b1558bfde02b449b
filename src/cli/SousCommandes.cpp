#include "SousCommandes.h"

namespace korv4::cli {

const SousCommande kSousCommandes[] = {
    {"info", "résumé d'un circuit (titre, éléments, surface, couches, cadre)", ExecuteInfo},
    {"convertir", "ouvre un circuit (actuel ou ancien format) et l'enregistre en .CIX",
     ExecuteConvertir},
    {"image", "dessine un circuit dans une image PNG, comme la zone de dessin de l'éditeur",
     ExecuteImage},
    {nullptr, nullptr, nullptr},
};

}  // namespace korv4::cli
