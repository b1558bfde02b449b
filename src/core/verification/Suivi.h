#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/Circuit.h"
#include "verification/Equipotentielles.h"
#include "verification/Isolements.h"

// The check kept up to date from the records a step changed: what the whole check reads is
// kept between steps (the shapes of each layer by element, a grid of them, the touching pairs
// and the close pairs of each face with their faults, the pieces of copper, the faults of the
// track ends), and a step reads again only its own elements, measures them against the copper
// around them, follows the pieces its elements belonged to or touch (the pieces elsewhere keep
// their names) and searches again the track ends near its copper or whose piece changed. The
// faults that read the whole board at once but cheaply (the outline and its margin, the work
// surface, the drills and rings) are taken again from what is kept. The result is the whole
// check's, to the last digit. Standard library only; the circuit is read, never changed.

namespace korv4 {

// Where two stores differ: the records debut..debut+anciens-1 of `avant` (records 1..m at
// avant[0..m-1]) became debut..debut+nouveaux-1 of c, the records before and after them are
// the same (those after moved by the difference); debut 0 when the stores are the same.
struct DifferenceMagasins {
  int32_t Debut = 0, Anciens = 0, Nouveaux = 0;
};
DifferenceMagasins CompareMagasins(const std::vector<ElementCI>& avant, const Circuit& c);

class SuiviVerification {
 public:
  SuiviVerification();
  ~SuiviVerification();
  SuiviVerification(const SuiviVerification&) = delete;
  SuiviVerification& operator=(const SuiviVerification&) = delete;

  // Reads the whole circuit. False, and nothing kept, when it cannot be followed: a store whose
  // plotting runs from one element into the next (a track or a drawing's second record cut
  // from its first), copper so crowded that its pairs would outgrow the board, or the options'
  // plain search.
  bool Construit(const Circuit& c, const OptionsVerification& o);

  // After a step: the records debut..debut+anciens-1 of `avant` (records 1..m as last read, at
  // avant[0..]) became debut..debut+nouveaux-1 of c, the others are the same (those after moved
  // by the difference). False, and nothing kept, when the step is too large to follow (more
  // than an eighth of the store) or leaves a store that cannot be followed: then the whole
  // board must be read again.
  bool Applique(const Circuit& c, const std::vector<ElementCI>& avant, int32_t debut,
                int32_t anciens, int32_t nouveaux);

  bool Pret() const;

  // The whole check's result for c, as it was last read (what is kept of the faults that read
  // the whole board brought up to date).
  ResultatVerification Resultat(const Circuit& c);

  // The nets of the circuit as last read, as CalculeEquipotentielles gives them with the
  // options' style and these drill diameters not plated: from the pieces kept, no copper read
  // or measured again (the records listed and the nets named: a pass over the store).
  Equipotentielles Nets(const Circuit& c, const std::vector<int32_t>& nonMetallises = {}) const;

  // The work of the last Construit or Applique, what the budgets count: records read again,
  // pairs of shapes whose boxes were compared, elements whose piece was followed, track ends
  // searched again.
  struct Travail {
    int64_t Relus = 0, Paires = 0, Parcourus = 0, Bouts = 0;
  };
  const Travail& DernierPas() const { return travail_; }

 private:
  struct Etat;
  std::unique_ptr<Etat> e_;
  Travail travail_;
};

}  // namespace korv4
