#pragma once

#include <string>
#include <vector>

#include "model/Circuit.h"

// Boards for the manufacturing tests: every pad kind with and without hole, every track width,
// the four drawings in every thickness, texts of three sizes in every orientation, pins.

namespace korv4::fabrication {

class Fabrique {
 public:
  Circuit c;

  void Rec(uint8_t couche, uint8_t code, uint8_t attribut, int32_t x, int32_t y,
           uint8_t caractere = 0) {
    ElementCI& e = c.Elements[++c.NbElements];
    e.Couche = couche;
    e.Code = code;
    e.Attribut = attribut;
    e.Caractere = caractere;
    e.X = static_cast<uint16_t>(x);
    e.Y = static_cast<uint16_t>(y);
  }
  void Piste(uint8_t couche, uint8_t code, const std::vector<std::pair<int32_t, int32_t>>& pts) {
    for (size_t k = 0; k < pts.size(); ++k) {
      const uint8_t role =
          k == 0 ? kPremierPoint : (k + 1 == pts.size() ? kDernierPoint : kPointMilieu);
      Rec(couche, code, role, pts[k].first, pts[k].second);
    }
  }
  void Dessin(uint8_t couche, uint8_t code, uint8_t epaisseur, int32_t x1, int32_t y1, int32_t x2,
              int32_t y2) {
    Rec(couche, code, epaisseur, x1, y1);
    Rec(couche, static_cast<uint8_t>(code + 1), epaisseur, x2, y2);
  }
  // A text of kind 64, 65 (read in order) or 68, 69 (face 1, seen through the board: stored
  // in reverse order); `texte` is Windows-1252.
  void Texte(uint8_t couche, uint8_t code, uint8_t taille, int32_t x, int32_t y,
             const std::string& texte) {
    const int32_t p = PasTexte[taille];
    const int32_t n = static_cast<int32_t>(texte.size());
    for (int32_t k = 0; k < n; ++k) {
      const bool miroir = code == code::TexteHMiroir || code == code::TexteVMiroir;
      const int32_t i = miroir ? n - 1 - k : k;
      int32_t cx = x, cy = y;
      if (code == code::TexteH) cx += i * p;
      if (code == code::TexteV) cy += i * p;
      if (code == code::TexteHMiroir) cx -= i * p;
      if (code == code::TexteVMiroir) cy += i * p;
      Rec(couche, code, taille, cx, cy, static_cast<uint8_t>(texte[static_cast<size_t>(i)]));
    }
    Rec(couche, code::FinTexte, 0, 0, 0);
  }
};

// A double-sided board that uses every kind.
inline Circuit CarteComplete() {
  Fabrique f;
  const int32_t x0 = 2000, y0 = 2000;
  // Pins at three corners.
  f.Rec(3, 205, 0, x0, y0);
  f.Rec(3, 205, 0, x0 + 5000, y0);
  f.Rec(3, 205, 0, x0, y0 + 3500);
  // Every pad kind in a row, with its default drill index, and the same row again with the
  // drill indices 1..13.
  for (int k = 193; k <= 204; ++k) {
    const int32_t x = x0 + 500 + (k - 193) * 400;
    f.Rec(3, static_cast<uint8_t>(k), static_cast<uint8_t>(PercageDefaut(static_cast<uint8_t>(k))),
          x, y0 + 600);
    f.Rec(3, static_cast<uint8_t>(k), static_cast<uint8_t>(k - 192), x, y0 + 1200);
  }
  // Every track width on face 1 (L-shaped, with a diagonal) and on face 2.
  for (int k = 161; k <= 166; ++k) {
    const int32_t x = x0 + 500 + (k - 161) * 600;
    f.Piste(1, static_cast<uint8_t>(k), {{x, y0 + 1700}, {x, y0 + 2100}, {x + 300, y0 + 2400}});
    f.Piste(2, static_cast<uint8_t>(k), {{x + 100, y0 + 200}, {x + 400, y0 + 200}});
  }
  // Tracks that join pads.
  f.Piste(1, 163, {{x0 + 500, y0 + 600}, {x0 + 500, y0 + 1200}});
  f.Piste(2, 164, {{x0 + 900, y0 + 600}, {x0 + 900, y0 + 1200}});
  // The four drawings in the four thicknesses on the placement plan.
  for (uint8_t t = 1; t <= 4; ++t) {
    const int32_t x = x0 + 400 + (t - 1) * 1100, y = y0 + 2700;
    f.Dessin(4, 128, t, x, y, x + 300, y + 300);
    f.Dessin(4, 130, t, x + 400, y, x + 700, y + 250);
    f.Dessin(4, 132, t, x + 200, y + 550, 150, 0);
    f.Dessin(4, 134, t, x + 500, y + 400, x + 900, y + 650);
  }
  // Texts of the three sizes: upright and vertical on the placement plan and face 2, mirrored
  // on face 1.
  f.Texte(4, 64, 1, x0 + 400, y0 + 3850, "R1 10k \xE9t\xE9");
  f.Texte(4, 64, 2, x0 + 400, y0 + 3550, "IC2 TL072");
  f.Texte(4, 65, 3, x0 + 5200, y0 + 2500, "KORV4");
  f.Texte(2, 64, 2, x0 + 2000, y0 + 1500, "Face 2");
  f.Texte(2, 65, 1, x0 + 5300, y0 + 300, "gnd");
  f.Texte(1, 68, 3, x0 + 3700, y0 + 3000, "CUIVRE");
  f.Texte(1, 69, 2, x0 + 4400, y0 + 1700, "+12V");
  // A drilling-plan drawing: never in a Gerber file.
  f.Dessin(8, 130, 1, x0 - 300, y0 - 300, x0 + 5300, y0 + 3800);
  return f.c;
}

// A single-sided board: pads and face-2 tracks only.
inline Circuit CarteSimpleFace() {
  Fabrique f;
  for (int i = 0; i < 8; ++i) {
    f.Rec(3, 198, 1, 1000 + i * 100, 1000);
    f.Rec(3, 198, 1, 1000 + i * 100, 1300);
    f.Piste(2, 162, {{1000 + i * 100, 1000}, {1000 + i * 100, 1100}, {1050 + i * 100, 1150}});
  }
  f.Rec(3, 200, 8, 800, 800);
  f.Rec(3, 200, 8, 2000, 800);
  f.Rec(3, 199, 3, 1500, 1600);
  return f.c;
}

// A board to measure prints by: on face 1 an L of two straight tracks of 100 mm (3937 units),
// along the top edge and down the left edge of its extent (1000..4937 by 1063..5000), no pad on
// them; on face 2 an L and a text in the bottom-left corner only (a mirrored print moves
// them); pads of drill indices 1, 3 and 5 inside; a placement outline with a text; a drilling
// plan line; a title block.
inline Circuit CarteMesure() {
  Fabrique f;
  f.Piste(1, 162, {{4937, 5000}, {1000, 5000}, {1000, 1063}});
  f.Rec(3, 199, 1, 2000, 2000);
  f.Rec(3, 199, 3, 4000, 2000);
  f.Rec(3, 200, 5, 3000, 3500);
  f.Piste(2, 163, {{1200, 1300}, {2200, 1300}, {2200, 1800}});
  f.Texte(2, 64, 2, 1300, 1900, "F2");
  f.Dessin(4, 130, 2, 1500, 1500, 4500, 4500);
  f.Texte(4, 64, 2, 2600, 2600, "IMPL");
  f.Dessin(8, 128, 1, 2500, 4000, 3500, 4000);
  f.c.EnteteCI.Titre = "Carte de mesure";
  f.c.EnteteCI.DateCI = "10/12/2026";
  f.c.EnteteCI.Auteur = "KORV4";
  return f.c;
}

// Pins only.
inline Circuit CartePions() {
  Fabrique f;
  f.Rec(3, 205, 0, 1000, 1000);
  f.Rec(3, 205, 0, 4000, 1000);
  f.Rec(3, 205, 0, 4000, 3000);
  return f.c;
}

}  // namespace korv4::fabrication
