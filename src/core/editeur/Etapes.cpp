#include <cassert>

#include "editeur/Gestionnaires.h"

// The circuit's history in the editor: when a user's action becomes a step, and undo and redo.
// The deletion store ("Annulation suppression") is not part of the history: undo and redo empty
// it, as a change of tool does, so that records it holds can never come back twice; what it
// would have brought back is in the history.

namespace korv4 {

using C = Controle;

namespace {

uint8_t Bit(GesteLong geste) { return static_cast<uint8_t>(1u << static_cast<unsigned>(geste)); }

// "Rotation de la zone" as the menu names it: "rotation de la zone".
std::string EnMinuscule(std::string s) {
  if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
  return s;
}

void Applique(Editeur& ed, const Instantane& etat) {
  Circuit& c = ed.circuit;
  c.EnteteCI.DiametresPercage = etat.Diametres;
  ed.Titres = etat.Titres;
  const bool surface = ed.ctx.SurfaceX != etat.SurfaceX || ed.ctx.SurfaceY != etat.SurfaceY;
  ed.ctx.SurfaceX = etat.SurfaceX;
  ed.ctx.SurfaceY = etat.SurfaceY;
  SurfaceDansEntete(ed);
  c.Selection = etat.Selection;
  ++ed.Version;
  initialiseBpPercage(ed);
  if (surface) Affichage(ed);
}

// Undo or redo: whatever gesture is going on is cancelled first, and what it changed becomes
// a step of its own.
void Parcourt(Editeur& ed, bool enAvant) {
  if (TitreEnCours(ed)) {
    for (C b : {C::Boutontitre, C::Boutondate, C::Boutonauteur}) Enfonce(ed, b, false);
    for (C e : {C::EditTitre1, C::EditTitre2, C::EditTitre3}) Actif(ed, e, false);
  }
  ValideGeste(ed, GesteLong::Titre);
  // Whatever the tool was doing ends (a track as it is, a drawing's lone first point or an
  // inserted component taken back).
  if (GesteOuvert(ed)) action(ed, Geste::Annule);
  assert(!GesteOuvert(ed) && "a cancel ends every gesture of the tools");
  Etape(ed, "modification");
  AnnuleSelection(ed.circuit, ed.ctx);
  TermineCurseur(ed);
  Instantane etat = InstantaneDe(ed);
  const bool fait =
      enAvant ? ed.historique.Retablit(ed.circuit, etat) : ed.historique.Annule(ed.circuit, etat);
  if (fait) {
    Applique(ed, etat);
    ed.circuit.NbSupprimes = 0;
    // The zone comes back with its frame where a zone panel can carry it.
    const TSelection& s = ed.circuit.Selection;
    const bool zone = EstVisible(ed, C::PanelModifTotale) ||
                      EstVisible(ed, C::PanelModifPartielle) || EstVisible(ed, C::PanelInsertion);
    if (zone && s.Premier >= 1 && s.Dernier >= s.Premier && s.Dernier <= ed.circuit.NbElements) {
      FixeCadre(ed.ctx, s.CadreZone, true);
    }
    TraceCimp(ed);
  }
  Selectiontravail(ed);
  EtatAnnulation(ed);
  EtatHistorique(ed);
}

}  // namespace

Instantane InstantaneDe(const Editeur& ed) {
  Instantane i;
  i.Diametres = ed.circuit.EnteteCI.DiametresPercage;
  i.Titres = ed.Titres;
  i.SurfaceX = ed.ctx.SurfaceX;
  i.SurfaceY = ed.ctx.SurfaceY;
  i.Selection = ed.circuit.Selection;
  return i;
}

void OuvreGeste(Editeur& ed, GesteLong geste, const std::string& libelle) {
  ed.GestesOuverts |= Bit(geste);
  if (ed.LibelleEtape.empty()) ed.LibelleEtape = libelle;
}

// Ending a gesture records nothing yet: the step that ends the user's event (after the
// handlers and the tool's panels have settled) takes what it changed.
void ValideGeste(Editeur& ed, GesteLong geste) {
  ed.GestesOuverts &= static_cast<uint8_t>(~Bit(geste));
}

void AbandonneGeste(Editeur& ed, GesteLong geste) {
  ed.GestesOuverts &= static_cast<uint8_t>(~Bit(geste));
}

bool GesteOuvert(const Editeur& ed) { return ed.GestesOuverts != 0; }
bool GesteOuvert(const Editeur& ed, GesteLong geste) {
  return (ed.GestesOuverts & Bit(geste)) != 0;
}

void SurfaceDansEntete(Editeur& ed) {
  ed.circuit.EnteteCI.SurfaceX = ed.ctx.SurfaceX;
  ed.circuit.EnteteCI.SurfaceY = ed.ctx.SurfaceY;
}

void Etape(Editeur& ed, const std::string& libelle) {
  if (ed.LibelleEtape.empty()) ed.LibelleEtape = libelle;
  if (!GesteOuvert(ed)) {
    // Whatever becomes a step is a change of the circuit (drill diameters, surface and title
    // block included): closing offers to save it and the recovery copy follows it.
    if (ed.historique.Enregistre(ed.circuit, InstantaneDe(ed), ed.LibelleEtape)) {
      ed.circuit.CircuitModifie = true;
    }
    ed.LibelleEtape.clear();
    EtatHistorique(ed);
  }
  EtatCircuit(ed);
}

void CommenceHistorique(Editeur& ed, bool enregistre) {
  // The tools' gestures end with the circuit they were changing (a title being typed goes on:
  // its button is still down).
  for (GesteLong g : {GesteLong::Piste, GesteLong::Dessin, GesteLong::Insertion}) {
    AbandonneGeste(ed, g);
  }
  ed.historique.Commence(ed.circuit, InstantaneDe(ed), enregistre);
  ed.LibelleEtape.clear();
  EtatHistorique(ed);
  EtatCircuit(ed);
}

void EtatCircuit(Editeur& ed) {
  // Unsaved changes are those the close command would offer to save.
  const bool modifie = ed.circuit.CircuitModifie && ed.circuit.NbElements > 0;
  if (modifie != ed.MarqueModifie) {
    ed.MarqueModifie = modifie;
    ++ed.Version;
  }
  const bool plein = ed.circuit.NbElements > 0;
  for (C c : {C::Enregistrerunfichier1, C::BoutonEnregistrer, C::Impression1, C::BoutonImpression,
              C::Exporterlefichierdeperage1, C::BoutonExportPercage,
              C::ExporterlecircuitauformatGerber1, C::BoutonExportGerber}) {
    Actif(ed, c, plein);
  }
}

std::string TitreFenetre(const Editeur& ed) {
  const std::string legende =
      ed.CopieEnEchec ? ed.Legende + " (copie de récupération impossible)" : ed.Legende;
  return ed.MarqueModifie ? "*" + legende : legende;
}

void EtatHistorique(Editeur& ed) {
  const Historique& h = ed.historique;
  Actif(ed, C::Defaire1, h.PeutAnnuler());
  Actif(ed, C::BoutonDefaire, h.PeutAnnuler());
  Actif(ed, C::Refaire1, h.PeutRetablir());
  Actif(ed, C::BoutonRefaire, h.PeutRetablir());
  Libelle(ed, C::Defaire1,
          h.PeutAnnuler() ? "Annuler : " + EnMinuscule(h.LibelleAnnuler()) : "Annuler");
  Libelle(ed, C::Refaire1,
          h.PeutRetablir() ? "Rétablir : " + EnMinuscule(h.LibelleRetablir()) : "Rétablir");
}

void Defaire1Click(Editeur& ed) { Parcourt(ed, false); }
void Refaire1Click(Editeur& ed) { Parcourt(ed, true); }

}  // namespace korv4
