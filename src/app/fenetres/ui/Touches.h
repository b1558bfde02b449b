#pragma once

#include <QKeyEvent>

// Qt keys as the virtual key codes the editor's key handlers use.

namespace korv4 {

inline int CodeTouche(const QKeyEvent& e) {
  switch (e.key()) {
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Space: return 32;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    // + and - of the main keyboard zoom as the keypad's do ("=" is + without Shift on many
    // keyboards).
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 107;
    case Qt::Key_Minus: return 109;
    default: return 0;
  }
}

// The keys the drawing area's dispatcher acts on.
inline bool ToucheDuDispatcher(int code) {
  return (code >= 32 && code <= 36) || code == 27 || code == 46 || code == 107 || code == 109;
}

// The keys that draw from the keyboard: the arrows move the cursor, Enter clicks. They reach
// the dispatcher only while the drawing area has the focus (elsewhere they move in lists and
// press buttons).
inline bool ToucheDuDessin(int code) { return (code >= 37 && code <= 40) || code == 13; }

}  // namespace korv4
