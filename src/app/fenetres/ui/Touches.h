#pragma once

#include <QKeyEvent>

#include "editeur/Editeur.h"

// Qt keys as the keys the editor's handlers know.

namespace korv4 {

inline Touche CodeTouche(const QKeyEvent& e) {
  switch (e.key()) {
    case Qt::Key_PageUp: return Touche::PagePrecedente;
    case Qt::Key_PageDown: return Touche::PageSuivante;
    case Qt::Key_End: return Touche::Fin;
    case Qt::Key_Home: return Touche::Debut;
    case Qt::Key_Space: return Touche::Espace;
    case Qt::Key_Escape: return Touche::Echap;
    case Qt::Key_Delete: return Touche::Suppr;
    case Qt::Key_Left: return Touche::Gauche;
    case Qt::Key_Up: return Touche::Haut;
    case Qt::Key_Right: return Touche::Droite;
    case Qt::Key_Down: return Touche::Bas;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Touche::Entree;
    // + and - of the main keyboard zoom as the keypad's do ("=" is + without Shift on many
    // keyboards).
    case Qt::Key_Plus:
    case Qt::Key_Equal: return Touche::Plus;
    case Qt::Key_Minus: return Touche::Moins;
    default: return Touche::Autre;
  }
}

// The keys the drawing area's dispatcher acts on.
inline bool ToucheDuDispatcher(Touche t) {
  switch (t) {
    case Touche::Espace:
    case Touche::PagePrecedente:
    case Touche::PageSuivante:
    case Touche::Fin:
    case Touche::Debut:
    case Touche::Echap:
    case Touche::Suppr:
    case Touche::Plus:
    case Touche::Moins: return true;
    default: return false;
  }
}

// The keys that draw from the keyboard: the arrows move the cursor, Enter clicks. They reach
// the dispatcher only while the drawing area has the focus (elsewhere they move in lists and
// press buttons).
inline bool ToucheDuDessin(Touche t) {
  return t == Touche::Gauche || t == Touche::Haut || t == Touche::Droite || t == Touche::Bas ||
         t == Touche::Entree;
}

}  // namespace korv4
