#include "verification/Continue.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "verification/Interne.h"

namespace korv4 {

namespace {

auto Cle(const Defaut& d) {
  return std::make_tuple(d.Genre, d.Couche, d.Y, d.X, d.Distance, d.Minimum);
}

}  // namespace

bool MemeDefaut(const Defaut& a, const Defaut& b) { return Cle(a) == Cle(b); }

void VerificationContinue::Copie(const Circuit& c) {
  copie_.assign(c.Elements.begin() + 1, c.Elements.begin() + 1 + c.NbElements);
  diametres_ = c.EnteteCI.DiametresPercage;
  surfaceX_ = c.EnteteCI.SurfaceX;
  surfaceY_ = c.EnteteCI.SurfaceY;
}

ResultatVerification VerificationContinue::Entier(const Circuit& c) {
  ++verifications_;
  if (suivable_ && suivi_.Construit(c, options_)) return suivi_.Resultat(c);
  // Copper too crowded to follow stays so until the check begins again; a store whose plotting
  // runs from element to element is tried again at the next step (a cheap look).
  if (suivable_ && !options_.SansIndex && suivi_.DernierPas().Paires > 0) suivable_ = false;
  return VerifieCircuit(c, options_);
}

const ResultatVerification& VerificationContinue::Commence(const Circuit& c,
                                                           const OptionsVerification& o) {
  options_ = o;
  suivable_ = true;
  resultat_ = Entier(c);
  nouveaux_.clear();
  debut_ = anciens_ = nouveauxNb_ = 0;
  Copie(c);
  commencee_ = true;
  return resultat_;
}

bool VerificationContinue::Suit(const Circuit& c) {
  nouveaux_.clear();
  if (!commencee_) return false;
  // The run that differs: between the common beginning and the common end of the stores.
  const DifferenceMagasins d = CompareMagasins(copie_, c);
  const bool store = d.Debut > 0;
  const bool entete = c.EnteteCI.DiametresPercage != diametres_ ||
                      c.EnteteCI.SurfaceX != surfaceX_ || c.EnteteCI.SurfaceY != surfaceY_;
  if (!store && !entete) return false;
  debut_ = d.Debut;
  anciens_ = d.Anciens;
  nouveauxNb_ = d.Nouveaux;
  ResultatVerification r;
  if (store && suivi_.Pret() && suivi_.Applique(c, copie_, d.Debut, d.Anciens, d.Nouveaux)) {
    ++suivis_;
    r = suivi_.Resultat(c);
  } else if (!store && suivi_.Pret()) {
    ++suivis_;
    r = suivi_.Resultat(c);  // the drills or the surface: read from what is kept
  } else {
    r = Entier(c);
  }
  // The faults not among the last ones (as many times as they are more): both lists are in the
  // check's order, which tells apart any two faults that are not the same.
  std::set_difference(r.Defauts.begin(), r.Defauts.end(), resultat_.Defauts.begin(),
                      resultat_.Defauts.end(), std::back_inserter(nouveaux_),
                      interne::AvantDansLaListe);
  resultat_ = std::move(r);
  Copie(c);
  return true;
}

}  // namespace korv4
