#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editeur/Controles.h"
#include "model/Circuit.h"

// The editor's one seam for everything modal (messages, questions, file dialogs, text entry,
// popup menus, the other windows) and for the disk: the window shows real dialogs and writes
// through the disk layer, tests answer from a script and keep files in memory.

namespace korv4 {

// The windows the main window opens.
enum class Fenetre {
  AboutBox,
  Aide,
  FicheModifDiametre,
  Surfacedetravail,
  FicheImpression,
  ConfigurationImprimante,
  Enregistrepercage,
  ExportGerber,
  PressePapier,  // the clipboard picture of the circuit
  Fabrication,   // the board-house set
  Verification,  // the isolation check and its faults
};

// OuiNonAnnuler: the question before work may be lost; Escape answers Annuler.
enum class Boutons { OuiNon, OkAnnuler, OuiNonAnnuler };
enum class Reponse { Oui, Non, Ok, Annuler };

// A common file dialog as the commands describe it.
struct DemandeFichier {
  std::string Titre;
  std::vector<std::string> Filtres;  // "description|*.EXT"
  std::string Extension;             // default extension, "CIX"
  std::string Dossier;               // the folder it opens in
  std::string DossierSecours;        // where it opens when that folder does not exist
  std::string Nom;                   // the file name it shows first
  bool ConfirmeEcrasement = false;
};

class Dialogues {
 public:
  virtual ~Dialogues() = default;
  // A warning box with an OK button (UTF-8).
  virtual void Message(const std::string& texte) = 0;
  virtual Reponse Question(const std::string& texte, Boutons boutons) = 0;
  // The chosen file name, empty when cancelled.
  virtual std::string FichierAOuvrir(const DemandeFichier& d) = 0;
  virtual std::string FichierAEnregistrer(const DemandeFichier& d) = 0;
  // The text entry window, centred over the drawing area, with `texte` (Windows-1252) in its
  // edit field; returns 1 when confirmed (texte is then the line typed), 2 when cancelled.
  virtual int SaisieTexte(std::string& texte) = 0;
  // A popup menu at a point of the drawing area; the item chosen or Controle::Aucun.
  virtual Controle MenuSurgissant(Controle menu, int32_t x, int32_t y) = 0;
  // Another window, modally; returns its result (1 confirmed, 2 cancelled, 0 not shown).
  virtual int Ouvre(Fenetre f) = 0;
  // A question whose answers are the buttons named in `boutons` (UTF-8): the index of the one
  // chosen, `echap` when the box is closed with Escape.
  virtual int Choix(const std::string& texte, const std::vector<std::string>& boutons,
                    int echap) = 0;
  // Today's date in the system's short format (Windows-1252).
  virtual std::string DateDuJour() = 0;
  // The disk: false with a French message (UTF-8) naming the file and the reason; a failed
  // write leaves the previous file as it was.
  virtual bool LitFichier(const std::string& nom, std::vector<uint8_t>& octets,
                          std::string& erreur) = 0;
  virtual bool EcritFichier(const std::string& nom, const std::vector<uint8_t>& octets,
                            std::string& erreur) = 0;
  // The circuit file this editor has open, held so that another editor opening it knows:
  // false when another running editor holds `nom` (this editor then holds nothing). Whatever
  // was held before is let go; "" holds nothing.
  virtual bool RetientFichier(const std::string& nom) {
    (void)nom;
    return true;
  }
  // What tells a change of the file on the disk (its size, time of change and identity); ""
  // when it does not exist or cannot be seen.
  virtual std::string EtatFichier(const std::string& nom) {
    (void)nom;
    return {};
  }
};

// The model's messages reach the user through the editor's dialogues.
class RelaisMessages : public Messages {
 public:
  explicit RelaisMessages(Dialogues* const& d) : d_(d) {}
  void Message(const std::string& texte) override {
    if (d_ != nullptr) d_->Message(texte);
  }

 private:
  Dialogues* const& d_;
};

}  // namespace korv4
