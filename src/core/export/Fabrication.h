#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/FluxOctets.h"
#include "export/Gerber.h"
#include "model/Circuit.h"
#include "verification/Contour.h"

// The board-house set: every file a manufacturer asks for, beside the Gerber and drill exports
// (which stay as they are). All layers are seen from the component side, in the store's
// coordinates turned into millimetres exactly (a unit is 0.0254 mm), so that they lie on each
// other:
//   BASE.GTL       top copper: face 2 (pads included)
//   BASE.GBL       bottom copper: face 1 (its texts are stored mirrored, to read on the copper)
//   BASE.GTO       top legend: the placement plan
//   BASE.GTS, BASE.GBS  solder masks: an opening over every copper pad of the face, larger
//                  than the pad by the margin on every side
//   BASE.GKO       outline: a rectangle drawn on the drilling plan, or the extent of the
//                  elements plus a margin, or the work surface
//   BASE-PTH.DRL   Excellon drill file, plated holes
//   BASE-NPTH.DRL  Excellon drill file, non-plated holes: the spare-diameter pads (a hole
//                  without copper), the diameters the user marks as non-plated, and every hole
//                  of a board with copper on one face only
//   BASE-netlist.ipc  the nets of the copper (IPC-D-356A), for the bare-board electrical test
//   BASE.gbrjob    the job file (JSON): what the set holds, the board's size and layer count
//   LISEZMOI.md    what the set holds, in French and in English
// The extensions are the ones board houses and layer-guessing tools recognise without being
// told; the text file's name and extension are none of theirs. Gerber files are metric
// (%MOMM*%, 4.6), their X2 attributes written as "G04 #@! T...*" comments (read by X2 readers,
// a comment for the others), every aperture with its function. Centring targets serve home
// etching: they are left out of the set's copper and drill files.
//
// The files are made one at a time into a flux (PrepareJeu, then EcritFichier): a board of any
// size takes little memory; FabriqueJeu makes them all in memory.

namespace korv4 {

// The outline (ContourFabrication, verification/Contour.h): Carte is the rectangle drawn on the
// drilling plan (the largest when there are several), or when there is none the extent of the
// elements plus the margin.

struct OptionsFabrication {
  std::string Base = "carte";  // start of every layer file's name (made safe: NomSur)
  double MargeMasqueMm = 0.1;  // 0 to 5 mm
  ContourFabrication Contour = ContourFabrication::Carte;
  double MargeContourMm = 1.0;  // for Carte (without a drawn outline) and Etendue, 0 to 50 mm
  StylePastilles Pastilles = StylePastilles::Octogonales;
  // Drill diameters (tenths of a millimetre) whose holes are not plated.
  std::vector<int32_t> DiametresNonMetallises;
  // The moment the set is made, ISO 8601 with its time zone ("2026-12-11T01:41:55+01:00");
  // empty: no date is written.
  std::string Date;
};

struct FichierFabrication {
  std::string Nom;
  std::string Couche;  // the layer in French (UTF-8), as the text file lists it
  std::vector<uint8_t> Octets;
};

struct JeuFabrication {
  std::vector<FichierFabrication> Fichiers;  // empty: nothing to make (or an error)
  std::string Erreur;                        // French (UTF-8); empty when the set is made
  // What the board house would make wrong, said before the set is written (which it still
  // is): copper past the outline, faults of the check. French, UTF-8.
  std::vector<std::string> Avertissements;
};

// What a set holds and how each of its files is made. It reads the circuit, which must outlive
// it and stay unchanged.
class PlanFabrication {
 public:
  struct Fichier {
    std::string Nom;
    std::string Couche;  // French, UTF-8
    int genre = 0;       // how it is made (internal)
    uint8_t masque = 0;  // its layer, for layer files
  };
  const std::vector<Fichier>& Fichiers() const { return fichiers_; }
  const std::string& Erreur() const { return erreur_; }
  const std::vector<std::string>& Avertissements() const { return avertissements_; }
  // Gives file k to the flux, in pieces; false when the flux refused one.
  bool EcritFichier(size_t k, FluxOctets& sortie) const;

  // Facts of the set, as the text and job files say them.
  struct Trous {
    std::vector<std::pair<int32_t, int32_t>> ParDiametre;  // (tenths of a mm, count)
    int32_t Total = 0;
  };
  double LargeurMm() const { return (droite_ - gauche_) * 0.0254; }
  // The outline, in units.
  int64_t Gauche() const { return gauche_; }
  int64_t Bas() const { return bas_; }
  int64_t Droite() const { return droite_; }
  int64_t Haut() const { return haut_; }
  // Whether the set holds the copper, the solder mask of a face (kMasqueFace1, kMasqueFace2),
  // the legend.
  bool Cuivre(uint8_t masque) const { return A(0, masque); }
  bool Vernis(uint8_t masque) const { return A(1, masque); }
  bool Legende() const { return A(2, kMasqueImplantation); }
  const OptionsFabrication& Options() const { return o_; }
  // What the outline is, in French ("surface de travail", "rectangle tracé sur le plan de
  // perçage"...).
  const std::string& DescriptionContour() const { return contour_; }
  double HauteurMm() const { return (haut_ - bas_) * 0.0254; }
  int NombreCuivres() const { return nbCuivres_; }

 private:
  friend PlanFabrication PrepareJeu(const Circuit& c, const OptionsFabrication& o);
  bool A(int genre, uint8_t masque) const {
    for (const Fichier& f : fichiers_)
      if (f.genre == genre && f.masque == masque) return true;
    return false;
  }
  const Circuit* c_ = nullptr;
  OptionsFabrication o_;
  std::vector<Fichier> fichiers_;
  std::string erreur_;
  std::vector<std::string> avertissements_;
  int64_t gauche_ = 0, bas_ = 0, droite_ = 0, haut_ = 0;
  std::string contour_, contourAnglais_;
  int nbCuivres_ = 0;
  bool deuxFaces_ = false;
  std::string guid_;
  Trous metallises_, nonMetallises_;
  std::string lisezMoi_, travail_;
};

// The set of a circuit; the circuit is not changed. An empty circuit, or one whose records
// reach no file, gives no file. Damaged drill diameters or options out of range give an error
// and no file.
PlanFabrication PrepareJeu(const Circuit& c, const OptionsFabrication& o);
JeuFabrication FabriqueJeu(const Circuit& c, const OptionsFabrication& o);

// The geometry of the set, for pictures of it: the records of a layer file (those of the
// Gerber export without the centring targets; `vernis`: the copper pads alone, as a mask
// opens them), an aperture at its true size in nanometres ('R' rectangle, 'P' octagon of outer
// diameter Largeur turned 22.5 degrees, 'C' circle; false for a D-code without one), the holes.
std::vector<ElementCI> ElementsDuJeu(const Circuit& c, uint8_t masque, bool vernis);
struct OuvertureJeuNm {
  char Forme = 'C';
  int64_t Largeur = 0, Hauteur = 0;
};
bool OuvertureDuJeu(int dcode, StylePastilles style, OuvertureJeuNm& o);
struct TrouJeu {
  int32_t X, Y, Diametre;  // units, tenths of a millimetre
};
std::vector<TrouJeu> TrousDuJeu(const Circuit& c);

// A name made of safe characters only (ASCII letters, digits, '-', '_', '.'; anything else
// becomes '_'; no leading dot; at most 64 bytes; "carte" when nothing is left): no separator of
// any system, nothing an unzip tool could take for a path.
std::string NomSur(const std::string& nom);

// Every name a set of that base may hold (those of this version and of the older ones): the
// files of an older set in a folder, that a new set replaces or removes.
std::vector<std::string> NomsPossiblesDuJeu(const std::string& base);

// The name of the text file of the set.
constexpr const char* kNomLisezMoi = "LISEZMOI.md";

}  // namespace korv4
