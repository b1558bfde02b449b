#include <algorithm>

#include "editeur/Editeur.h"

namespace korv4 {

namespace {

constexpr DefinitionControle kDefinitions[] = {
    {"", "", "", Controle::Aucun, Genre::Racine, 0, 0},
#define X(nom, libelle, bulle, conteneur, genre, groupe, code) \
  {#nom, libelle, bulle, Controle::conteneur, Genre::genre, groupe, code},
#include "editeur/Controles.def"
#undef X
};
static_assert(sizeof(kDefinitions) / sizeof(kDefinitions[0]) == kNombreControles,
              "one definition per control");

}  // namespace

const DefinitionControle& Definition(Controle c) { return kDefinitions[Index(c)]; }

const std::array<const char*, 111> LibellesActions = {
    "KORV4",
    "Piste d'èpaisseur 0,3 mm",
    "Piste d'èpaisseur 0,5 mm",
    "Piste d'èpaisseur 1 mm",
    "Piste d'èpaisseur 1,5 mm",
    "Piste d'èpaisseur 2 mm",
    "Piste d'èpaisseur 2,5 mm",
    "Piste d'èpaisseur 3 mm",
    "Suppression d'un segment",
    "Suppression d'une piste",
    "Selection d'une piste",
    "Pastille rectangulaire 0,9x1,5 mm",
    "Pastille rectangulaire 1,5x0,9 mm",
    "Pastille rectangulaire 1,2x2,2 mm",
    "Pastille rectangulaire 2,2x1,2 mm",
    "Pastille carré 1,5x1,5 mm",
    "Pastille de diamètre = 2 mm",
    "Pastille de diamètre = 3,2 mm",
    "Pastille de diamètre = 4 mm",
    "Pastille de diamètre = 6,2 mm",
    "Pastille de diamètre = 8 mm",
    "Pastille de diamètre = 10 mm",
    "Pastille de diamètre = y mm",
    "Mire de centrage",
    "Implantation d'une pastille",
    "Tracé d'une piste",
    "-26-",
    "-27-",
    "-28-",
    "Suppression d'une pastille",
    "Sélection d'une pastille",
    "Tracé d'un trait",
    "Tracé d'un rectangle",
    "Tracé d'un cercle",
    "Tracé d'une ellipse",
    "Tracé d'un ",
    "Tracé d'un ",
    "Tracé d'un ",
    "Tracé d'un dessin",
    "Suppression d'un dessin",
    "Sélection d'un dessin",
    "Diamètre de perçage = 0,8 mm",
    "Diamètre de perçage = 1 mm",
    "Diamètre de perçage = 1,2 mm",
    "Diamètre de perçage = 1,5 mm",
    "Diamètre de perçage = 2 mm",
    "Diamètre de perçage = 2,5 mm",
    "Diamètre de perçage = 3,2 mm",
    "Diamètre de perçage = 4 mm",
    "Choix d'un perçage",
    "Suppression d'un perçage",
    "Tracé d'un texte horizontal",
    "Tracé d'un texte vertical",
    "Placement d'un texte horizontal",
    "Placement d'un texte vertical",
    "Tracé d'un texte",
    "Placement d'un texte horizontal",
    "Placement d'un texte vertical",
    "-58-",
    "Suppression d'un texte",
    "Sélection d'un texte",
    "Déplacement du CI",
    "Rotation du CI",
    "Inversion du CI",
    "Duplication du CI",
    "Placement du CI",
    "Placement du CI dupliqué",
    "-67-",
    "Modification totale du CI",
    "Suppression de la duplication",
    "Modification partielle du CI",
    "Sélection d'une zone",
    "Enregistrement de la zone",
    "Déplacement de la zone",
    "Rotation de la zone",
    "Inversion de la zone",
    "Duplication de la zone",
    "Sélection d'un élément",
    "Placement de la zone",
    "Placement de la zone dupliquée",
    "Suppression de la zone",
    "Insertion d'un élément",
    "Déplacement d'un élément",
    "Rotation d'un élément",
    "Inversion d'un élément",
    "Duplication d'un élément",
    "Sélection d'un élément",
    "Insertion d'un élément",
    "Placement de l'élément dupliqué",
    "Placement de l'élément",
    "Suppression d'un élément",
    "Placement de l'élément",
    "Déplacement de la piste",
    "Duplication de la piste",
    "Déplacement de la pastille",
    "Duplication de la pastille",
    "Déplacement du dessin",
    "Duplication du dessin",
    "Déplacement du texte",
    "Duplication du texte",
    "Fin de la sélection de la zone",
    "Fin du trait",
    "Fin du rectangle",
    "Fin du cercle",
    "Fin de l'ellipse",
    "",
    "",
    "",
    "",
    "",
    "",
};

const std::array<const char*, 10> kListeEchelles = {"25 %", "50 %", "100%", "150%", "200%",
                                                    "300%", "400%", "600%", "800%", "1000%"};
const std::array<const char*, 6> kListeGrilles = {
    "1 pas  = 2,54 mm",     "1/2 pas = 1,27 mm",    "1/4 pas = 0,635 mm",
    "1/10 pas = 0,254 mm", "1/20 pas = 0,127 mm", "1/100 pas = 0,0254 mm"};

void CanevasSuivi::Ajoute(int x1, int y1, int x2, int y2, int largeur) {
  const int m = largeur / 2 + 2;  // half the pen and the pixel a figure may pass its box by
  RectPixel r{std::min(x1, x2) - m, std::min(y1, y2) - m, std::max(x1, x2) + m + 1,
              std::max(y1, y2) + m + 1};
  if (dommage_.Droite <= dommage_.Gauche) {
    dommage_ = r;
    return;
  }
  dommage_.Gauche = std::min(dommage_.Gauche, r.Gauche);
  dommage_.Haut = std::min(dommage_.Haut, r.Haut);
  dommage_.Droite = std::max(dommage_.Droite, r.Droite);
  dommage_.Bas = std::max(dommage_.Bas, r.Bas);
}

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
