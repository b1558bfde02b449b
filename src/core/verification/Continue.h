#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/Circuit.h"
#include "verification/Isolements.h"
#include "verification/Suivi.h"

// The check that follows the circuit as it is drawn: after each step of the history the faults
// are brought up to date, and the faults that were not there before are told apart (the window
// announces them). Standard library only; the circuit is read, never changed.
//
// The result is always the one the whole check gives for the circuit as it is. A step that
// changed the store is followed from its own records (Suivi.h): the copper around them measured
// again, the pieces they belonged to or touch followed, whatever lies elsewhere kept. A step
// too large to follow, or a store that cannot be followed, is checked over the whole board; a
// step that changed nothing the check reads (the selection, the title block) is not checked
// again.

namespace korv4 {

class VerificationContinue {
 public:
  // Checks the whole circuit with these options; the next steps are compared with it.
  const ResultatVerification& Commence(const Circuit& c, const OptionsVerification& o);

  // After a step: false, and nothing done, when nothing the check reads changed since the last
  // check (or nothing was begun); otherwise the circuit is checked again. Nouveaux() then gives
  // the faults that were not among the last ones (as many of each as there are more), and is
  // empty after a false.
  bool Suit(const Circuit& c);

  bool Commencee() const { return commencee_; }
  const OptionsVerification& Options() const { return options_; }
  const ResultatVerification& Resultat() const { return resultat_; }
  const std::vector<Defaut>& Nouveaux() const { return nouveaux_; }
  // The records the last step changed: the first, and how many there were before and after
  // (0, 0, 0 when only the drill diameters or the surface changed).
  int32_t DebutChange() const { return debut_; }
  int32_t AnciensChanges() const { return anciens_; }
  int32_t NouveauxChanges() const { return nouveauxNb_; }
  // Whole checks made since the object was made, and steps followed from their own records
  // (the work, for tests).
  uint64_t Verifications() const { return verifications_; }
  uint64_t Suivis() const { return suivis_; }
  // The work of the last step followed.
  const SuiviVerification::Travail& Travail() const { return suivi_.DernierPas(); }

 private:
  void Copie(const Circuit& c);
  // The whole board read again (followed from there when it can be), or checked whole.
  ResultatVerification Entier(const Circuit& c);

  OptionsVerification options_;
  ResultatVerification resultat_;
  std::vector<Defaut> nouveaux_;
  std::vector<ElementCI> copie_;  // records 1..n as last checked
  std::array<int32_t, 14> diametres_{};
  int32_t surfaceX_ = 0, surfaceY_ = 0;
  int32_t debut_ = 0, anciens_ = 0, nouveauxNb_ = 0;
  uint64_t verifications_ = 0, suivis_ = 0;
  SuiviVerification suivi_;
  bool suivable_ = true;  // false after crowded copper: whole checks until the next Commence
  bool commencee_ = false;
};

// Whether two faults are the same: kind, layer, place and measure.
bool MemeDefaut(const Defaut& a, const Defaut& b);

}  // namespace korv4
