#include "SousCommandes.h"

namespace korv4::cli {

const SousCommande kSousCommandes[] = {
    {"info", "résumé d'un circuit (titre, éléments, surface, couches, cadre)", ExecuteInfo},
    {"convertir", "ouvre un circuit (actuel ou ancien format) et l'enregistre en .CIX",
     ExecuteConvertir},
    {"image", "dessine un circuit dans une image PNG, comme la zone de dessin de l'éditeur",
     ExecuteImage},
    {"gerber", "écrit les fichiers Gerber des faces et de l'implantation", ExecuteGerber},
    {"percage", "écrit le fichier de perçage (Excellon, ISO, HPGL ou PEX)", ExecutePercage},
    // Run by main before anything else, in the program korv4-typon (LanceTypon.h).
    {"typon", "imprime les documents du circuit à l'échelle 1:1 dans un PDF", nullptr},
    {"fabrication",
     "écrit le jeu de fabrication (couches, vernis, contour, perçage) en zip ou en dossier",
     ExecuteFabrication},
    {"apercu", "dessine le dessus et le dessous de la carte telle que le fabricant la rendra",
     ExecuteApercu},
    {"verifier", "vérifie les isolements du cuivre (sortie 5 s'il y a des défauts)",
     ExecuteVerifier},
    {"equipotentielles", "liste les équipotentielles du cuivre et leurs pastilles",
     ExecuteEquipotentielles},
    {nullptr, nullptr, nullptr},
};

}  // namespace korv4::cli
