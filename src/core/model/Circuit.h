#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Tables.h"

// The circuit: the element store, the undo store, the zone and the header, and every operation
// that reads or changes them. The operations are free functions that take the circuit first.

namespace korv4 {

// A range of record indexes (first, last); (0, 0) is none.
struct Plage {
  int32_t Premier = 0;
  int32_t Dernier = 0;
  bool operator==(const Plage& o) const { return Premier == o.Premier && Dernier == o.Dernier; }
  bool Vide() const { return Premier == 0; }
};

// A box in units: left, top, right, bottom with top >= bottom.
struct Cadre {
  int32_t Gauche = 0;
  int32_t Haut = 0;
  int32_t Droite = 0;
  int32_t Bas = 0;
  bool operator==(const Cadre& o) const {
    return Gauche == o.Gauche && Haut == o.Haut && Droite == o.Droite && Bas == o.Bas;
  }
};

// The zone: a contiguous range at the end of the store, with the number of stacked copies.
struct TSelection {
  int32_t Active = 0;
  int32_t Premier = 0;
  int32_t Dernier = 0;
  Cadre CadreZone;
};

// The circuit header as it lives in memory; strings hold Windows-1252 bytes.
struct TEnteteCI {
  std::string Titre;
  std::string TitreBis;
  std::string DateCI;
  std::string Auteur;
  int32_t Nombre = 0;
  int32_t SurfaceX = 11820;
  int32_t SurfaceY = 7880;
  std::array<int32_t, 14> DiametresPercage = kDiametresPercageDefaut;
};

// How the model shows a message to the user (a modal box with OK in the editor).
class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Message(const std::string& texte) = 0;  // UTF-8
};

struct Circuit {
  Circuit();
  Circuit(const Circuit&) = default;
  Circuit& operator=(const Circuit&) = default;

  std::vector<ElementCI> Elements;  // kMaxElements + 1 records, index 0 never used
  int32_t NbElements = 0;
  std::vector<ElementCI> Supprimes;  // undo copy of the last deletion, 1..NbSupprimes
  int32_t NbSupprimes = 0;
  bool CircuitModifie = false;
  TSelection Selection;
  uint8_t EpaisseurDessin = 1;
  uint8_t TailleTexte = 1;
  std::string NomFichier;
  TEnteteCI EnteteCI;
  Messages* messages = nullptr;  // not owned; no message is shown when null

  const ElementCI& operator[](int32_t i) const { return Elements[i]; }
  ElementCI& operator[](int32_t i) { return Elements[i]; }
};

// ---- Store, tables and queries ----
void RazCircuit(Circuit& c);
Cadre CadreElements(const Circuit& c, int32_t premier, int32_t dernier);
std::array<uint8_t, 14> PercagesUtilises(const Circuit& c);
// Flags: pads, face 1, face 2, placement plan, drilling.
std::array<uint8_t, 5> CouchesUtilisees(const Circuit& c);
int Direction(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Shows the element limit message; the caller then changes nothing.
void MessageLimite(const Circuit& c);
// Group marker contribution of a code to the group level: +1, -1 or 0.
inline int32_t DeltaNiveau(uint8_t code) {
  return code == code::DebutGroupe ? 1 : (code == code::FinGroupe ? -1 : 0);
}

// The end-of-text record of the text whose first character is i: the first code 79 after i,
// looked for up to fin at the most (then fin itself).
int32_t FinDuTexte(const Circuit& c, int32_t i, int32_t fin);
// The last character of the text i..e: e - 1, or e itself when e is no end-of-text record
// (a text cut off by a damaged file); never before i.
int32_t DernierCaractere(const Circuit& c, int32_t i, int32_t e);

// ---- Creation and joining ----
// A click of the editor at x, y on work `travail`: adds a record of kind `genre` (a track's
// point, a pad, a drawing's first or second point) at the end of the store, or ends what the
// click completes; a kind that no click creates adds nothing. The editor maps its tools to the
// kinds they create: a tool code is no kind, hence the deleted overload.
void AjoutElement(Circuit& c, int travail, uint8_t genre, uint16_t x, uint16_t y);
void AjoutElement(Circuit& c, int travail, int outil, uint16_t x, uint16_t y) = delete;
// Ends the track being drawn, the open run at the end of the store: its last point becomes the
// track's last point and the track is joined; a track of one point is no track. Nothing happens
// when the store ends with no track being drawn (its first click was refused at the limit).
void TermineTrace(Circuit& c);
void AjoutTexte(Circuit& c, uint16_t x, uint16_t y, int orientation, const std::string& texte,
                int taille, int travail);
// A pad of kind `genre` at x, y would cross the surface's lower or left edge or overlap a pad.
bool PastilleGenante(const Circuit& c, int32_t x, int32_t y, uint8_t genre);
bool PastilleGenante(const Circuit& c, int32_t x, int32_t y, int outil) = delete;
void JonctionPistes(Circuit& c);
void FusionPistes(Circuit& c, Plage a, Plage b, bool partageDebutA, bool partageFinB);

// ---- Pointing ----
Plage ChercherPastille(const Circuit& c, int32_t x, int32_t y);
Plage ChercherPastilleProche(const Circuit& c, int32_t x, int32_t y);
Plage ChercherSegment(const Circuit& c, int travail, int32_t x, int32_t y);
Plage ChercherPiste(const Circuit& c, int travail, int32_t x, int32_t y);
Plage ChercherTexte(const Circuit& c, int travail, int32_t x, int32_t y);
Plage ChercherDessin(const Circuit& c, int travail, int32_t x, int32_t y);
Plage ChercherGroupe(const Circuit& c, int32_t x, int32_t y);

// ---- Deletion and undo ----
void Suppression(Circuit& c, Plage p);
void SauveSupprimes(Circuit& c, Plage p);
void AnnuleSuppression(Circuit& c);
void SupprimeElements(Circuit& c, Plage p);
void SupprimeElement(Circuit& c, int32_t i);
void SupprimeDernier(Circuit& c);
void EffaceElement(Circuit& c, int32_t i);

// ---- Zones and groups ----
Plage SelectionRectangle(Circuit& c, const Cadre& rectangle);
void PlaceEnFin(Circuit& c, Plage& p);
void DeplaceZone(Circuit& c, int32_t dx, int32_t dy);
void DupliqueZone(Circuit& c, int32_t dx, int32_t dy);
void SupprimeZone(Circuit& c);
void EffaceZone(Circuit& c);
void TourneZone(Circuit& c);
void InverseZone(Circuit& c);
void GroupeZone(Circuit& c);
void DissocieZone(Circuit& c);
bool EstUnGroupe(const Circuit& c);
void DeselectionZone(Circuit& c);

}  // namespace korv4
