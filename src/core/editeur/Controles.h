#pragma once

#include <cstdint>
#include <string>

// The main window's controls: one row each in Controles.def (name, caption, hint, container,
// kind, exclusive group, code, click, shortcut), and the state the editor keeps of each.

namespace korv4 {

enum class Controle : int16_t {
  Aucun = 0,
#define X(nom, libelle, bulle, conteneur, genre, groupe, code, clic, raccourci) nom,
#include "editeur/Controles.def"
#undef X
  Nombre
};
constexpr int kNombreControles = static_cast<int>(Controle::Nombre);

enum class Genre {
  Racine,            // the menu bar
  Menu,              // a menu of the bar
  ElementMenu,       // a menu item
  ElementMenuCoche,  // a menu item with a check mark
  Surgissant,        // a popup menu
  BarreOutils,       // a toolbar or bar of buttons
  Conteneur,         // a panel that holds other panels
  Panneau,           // an option panel (its code: the panel's default action code)
  Poussoir,          // a push button
  Bascule,           // a toggle button (its code: the action code it selects)
  Liste,             // a drop-down list
  Etiquette,         // a label
  Saisie,            // a one-line edit (its code: the maximum length)
};

// Exclusive groups: at most one button of a group is down; the work group always has one.
enum Groupe {
  GAucun = 0,
  GTravail,
  GTypon,
  GImplantation,
  GOutilsPercage,
  GPastilles,
  GPistes,
  GDessin,
  GEpaisseur,
  GTexte,
  GTaille,
  GPerc,
  GModifTotale,
  GModifPartielle,
  GInsertion,
  GTitre,
};

struct DefinitionControle {
  const char* Nom;      // object name
  const char* Libelle;  // caption (UTF-8)
  const char* Bulle;    // hint (UTF-8)
  Controle Conteneur;
  Genre Type;
  int Groupe;
  int Code;
  const char* Raccourci;  // keys of a menu item ("Ctrl+Z", "; " between several), or ""
};
const DefinitionControle& Definition(Controle c);
inline int Index(Controle c) { return static_cast<int>(c); }

struct EtatControle {
  bool Enfonce = false;  // a toggle down, a menu item checked
  bool Visible = true;
  bool Actif = true;    // enabled
  std::string Libelle;  // caption (UTF-8)
};

}  // namespace korv4
