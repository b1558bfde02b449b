#pragma once

#include <array>
#include <cstdint>

#include "editeur/Session.h"
#include "model/Fichiers.h"

// One user gesture from three bytes, for the random-gesture tests and the fuzz target: a click
// on any control, pointer presses, moves and releases at grid points, right clicks with a popup
// choice, keys, typed texts, a resized window, a component to insert, the wheel (scrolling and
// zooming around the pointer), panning with the middle button, menu shortcuts.

namespace korv4 {

// A component of two pads in a group, saved once on the scripted disk.
inline void PrepareDisque(DialoguesScript& d) {
  static const std::vector<uint8_t> composant = [] {
    Circuit c;
    AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
    AjoutElement(c, 1, uint8_t{200}, 1300, 1000);
    c.Selection = TSelection{1, 1, 2, CadreElements(c, 1, 2)};
    return EcritComposant(c);
  }();
  d.disque["/c/R.CPX"] = composant;
  d.resultatFenetre = 1;
}

// Gestures by the first byte modulo this; 7 resizes the window.
constexpr int kNombreGestes = 13;
constexpr int kGesteRedimensionne = 7;

inline void JoueGeste(Session& s, uint8_t op, uint8_t a, uint8_t b) {
  constexpr std::array<Touche, 10> kTouches = {
      Touche::PagePrecedente, Touche::PageSuivante, Touche::Fin,   Touche::Debut, Touche::Espace,
      Touche::Echap,          Touche::Plus,         Touche::Moins, Touche::Suppr, Touche::Entree};
  // Grid points spread over a 300 x 200 mm surface and a little beyond it.
  const int32_t x = a * 50, y = b * 34;
  switch (op % kNombreGestes) {
    case 0: {
      const int c = 1 + (a * 256 + b) % (kNombreControles - 1);
      const Controle k = static_cast<Controle>(c);
      if (k == Controle::Fermer1 || k == Controle::BoutonFermer) return;
      if (k == Controle::BpInsertionComposant) s.d.fichiers.push_back("/c/R.CPX");
      s.Clic(k);
      break;
    }
    case 1: s.Appui(x, y); break;
    case 2: s.Relache(x, y); break;
    case 3: s.Bouge(x, y); break;
    case 4: {
      constexpr std::array<Controle, 9> kChoix = {
          Controle::Deplacer1,       Controle::Rotation1,      Controle::Inversion1,
          Controle::Duplication1,    Controle::Suppression1,   Controle::Originerelative1,
          Controle::Origineabsolue1, Controle::Affichageenmm1, Controle::Aucun};
      s.d.choixMenu = {kChoix[b % kChoix.size()]};
      s.Droit(x, y);
      break;
    }
    case 5: s.Touche(kTouches[a % kTouches.size()]); break;
    case 6: s.d.textes.push_back(std::string(1 + b % 5, static_cast<char>('A' + a % 26))); break;
    case 7: FormResize(s.ed, 300 + a * 4, 200 + b * 3); break;
    case 8: {
      // A press with the right button while the left one is held.
      const PointPixel p = s.Ecran(x, y);
      FormMouseDown(s.ed, BoutonSouris::Droit, true, p.X, p.Y);
      break;
    }
    case 9: {
      // The wheel or the touchpad, the pointer over a grid point.
      const PointPixel p = s.Ecran(x, y);
      DefilePixels(s.ed, (a - 128) * 3, (b - 128) * 3, p.X, p.Y);
      break;
    }
    case 10: {
      const PointPixel p = s.Ecran(x, y);
      ZoomAutour(s.ed, s.ed.ctx.Zoom + (a % 2 == 0 ? 1 : -1), p.X, p.Y);
      break;
    }
    case 11: {
      // The middle button pressed or released; moves pan in between.
      const PointPixel p = s.Ecran(x, y);
      if (b % 2 == 0) {
        FormMouseDown(s.ed, BoutonSouris::Milieu, false, p.X, p.Y);
      } else {
        FormMouseUp(s.ed, BoutonSouris::Milieu);
      }
      break;
    }
    default: {
      constexpr std::array<Controle, 6> kRaccourcis = {Controle::Ajusterfenetre1,
                                                       Controle::Defaire1,
                                                       Controle::Refaire1,
                                                       Controle::Copier1,
                                                       Controle::Enregistrerunfichier1,
                                                       Controle::Enregistrersous1};
      if (b % 2 == 0) s.d.fichiers.push_back("/c/Circuit.CIX");
      Raccourci(s.ed, kRaccourcis[a % kRaccourcis.size()]);
      break;
    }
  }
}

}  // namespace korv4
