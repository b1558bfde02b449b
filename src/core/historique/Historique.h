#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/Circuit.h"

// The history of a circuit: every change of the element store, of the header and of the
// selection, as steps that can be taken back and done again.
//
// The history keeps a copy of the store as it was at the end of the last step. Recording a step
// compares the store with that copy and keeps only the records that differ (the run between
// the common beginning and the common end); a run of records that were only moved is kept as
// the move. Taking a step back swaps that run with the one in the store, so a step always holds
// the side that is not in the store. Whatever changed the store since the last step goes into
// the next one: nothing can change the circuit behind the history's back.

namespace korv4 {

// What a step restores besides the store: the drill diameters, the title block as typed, the
// surface size and the selection (the file header is made of these when the circuit is saved).
struct Instantane {
  std::array<int32_t, 14> Diametres = kDiametresPercageDefaut;
  std::array<std::string, 3> Titres;
  int32_t SurfaceX = 0, SurfaceY = 0;
  TSelection Selection;

  bool operator==(const Instantane& o) const;
  bool operator!=(const Instantane& o) const { return !(*this == o); }
};

class Historique {
 public:
  // The history drops its oldest steps when it holds more than `octetsMax` bytes or more than
  // `etapesMax` steps.
  explicit Historique(size_t octetsMax = size_t{64} << 20, size_t etapesMax = 10000);

  // A new history, empty, from the circuit as it is (a circuit opened, a new work); the state
  // it starts from is the saved one.
  void Commence(const Circuit& c, const Instantane& etat);

  // The changes since the last step become one step named `libelle` (the menu shows
  // "Annuler : libelle"); false when nothing but the selection changed. Steps that could be
  // done again are lost.
  bool Enregistre(const Circuit& c, const Instantane& etat, const std::string& libelle);

  bool PeutAnnuler() const { return position_ > 0; }
  bool PeutRetablir() const { return position_ < etapes_.size(); }
  const std::string& LibelleAnnuler() const;
  const std::string& LibelleRetablir() const;

  // Takes the last step back (does the next one again): the store, `etat` and the circuit's
  // modified flag become those of that point of the history. The store must be as the last
  // step left it (Enregistre first). False when there is nothing to do.
  bool Annule(Circuit& c, Instantane& etat);
  bool Retablit(Circuit& c, Instantane& etat);

  // The circuit was saved as it is now.
  void MarqueEnregistre();
  // The circuit is as it was last saved or opened.
  bool AuPointEnregistre() const { return pointEnregistre_ == static_cast<long>(position_); }

  size_t NombreEtapes() const { return etapes_.size(); }
  size_t Position() const { return position_; }
  // Bytes held by the steps (the copy of the store aside).
  size_t Octets() const { return octets_; }
  // Steps recorded since the history was made, whatever happened to them since.
  uint64_t Enregistrements() const { return enregistrements_; }

 private:
  // A run of records moved by (dx, dy) with everything else unchanged, or of records that
  // differ otherwise, kept as differences from the other side.
  struct Difference {
    uint32_t Nombre = 0;
    ElementCI Ecart;  // byte differences (X and Y: differences modulo 65536)
  };
  struct Etape {
    std::string Libelle;
    int32_t Debut = 0;               // first record of the run
    int32_t NbDansStore = 0;         // records of the run now in the store
    std::vector<ElementCI> Autres;   // the other side's records, or
    std::vector<Difference> Ecarts;  // the other side as differences from this side
    bool ParEcarts = false;
    Instantane Avant, Apres;
    size_t Octets() const;
  };

  void Echange(Circuit& c, Etape& e);
  void Limite();

  size_t octetsMax_, etapesMax_;
  std::vector<ElementCI> copie_;  // the store at the end of the last step
  int32_t nbCopie_ = 0;
  Instantane etat_;
  std::deque<Etape> etapes_;
  size_t position_ = 0;  // steps done
  long pointEnregistre_ = 0;
  size_t octets_ = 0;
  uint64_t enregistrements_ = 0;
};

}  // namespace korv4
