#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"

// Drill export: the hole list read from the store, and the four drill file writers (Excellon,
// ISO G-code, HPGL, the binary hole list PEX). The writers take the hole list, the board extent
// and the options chosen in the dialog, and return the bytes of the file; writing them to the
// disk is the caller's job.

namespace korv4 {

// One hole: diameter in tenths of a millimetre (0 for a centring pin), position in units.
struct Percage {
  uint16_t Diametre = 0;
  uint16_t X = 0;
  uint16_t Y = 0;
  bool operator==(const Percage& o) const { return Diametre == o.Diametre && X == o.X && Y == o.Y; }
};

// The holes of a circuit: the pins first (entries 1..NbPions), then the circuit holes grouped
// by drill index, ascending, each group in store order (entries NbPions+1..NbPercages).
// Entry 0 of both lists is never a hole and stays zero.
struct ListePercages {
  std::vector<Percage> Percages{Percage{}};
  int32_t NbPercages = 0;
  int32_t NbPions = 0;
  // The circuit holes' diameters with consecutive repeats collapsed: the Excellon tool list.
  std::vector<int32_t> Diametres{0};
  int32_t NbDiametres = 0;

  int32_t NbPercagesCI() const { return NbPercages - NbPions; }
};

ListePercages CollectePercages(const Circuit& c);

// Which holes go into the file (radio buttons "Perçage du CI" / "Perçage des pions de
// centrage"), and from which side the board is drilled ("Coté composants" / "Coté cuivre").
// Aucun stands for a group in which no button is checked: then no hole is written.
enum class ElementsAPercer { Aucun, CI, Pions };
enum class FacePercage { Aucune, Composants, Cuivre };

struct OptionsPercage {
  ElementsAPercer Elements = ElementsAPercer::CI;
  FacePercage Face = FacePercage::Composants;
};

// The options the dialog shows when it opens: the circuit holes when there are any, otherwise
// the pins; component side.
OptionsPercage OptionsInitiales(const ListePercages& l);

// Position of a hole in the file, in thousandths of an inch with a margin of 100 on the low
// sides, mirrored left to right when drilled from the copper side. 16-bit arithmetic: it wraps
// around modulo 65536. `etendue` is the board's box (CadreElements over the whole store).
uint16_t XPercage(const Percage& p, const Cadre& etendue, FacePercage face);
uint16_t YPercage(const Percage& p, const Cadre& etendue);

// The holes the options select, in list order, each with its transformed X, Y (diameter 0
// for the pins). Empty when no side or no hole set is chosen.
std::vector<Percage> PercagesChoisis(const ListePercages& l, const Cadre& etendue,
                                     const OptionsPercage& o);

// The one Excellon writer: the drill export's file below, and the board-house set's files.
// A tool: its size as written after "C", the X2 function of its holes (written as a "; #@! "
// comment before it; none when empty), and its holes, as positions in the file's coordinates.
struct OutilExcellon {
  std::string Taille;
  std::string Fonction;
  std::vector<std::pair<int32_t, int32_t>> Trous;
};
struct FormatExcellon {
  // false: "INCH,LZ", positions in thousandths of an inch written as 5 digits, the tool
  // unloaded (T00) at the end; true: "METRIC,LZ" with "FMAT,2", positions in units written in
  // millimetres with a point (a unit is exactly 0.0254 mm), absolute (G90) drilling (G05).
  bool Metrique = false;
  std::vector<std::string> Commentaires;  // after M48, each behind "; "
};
// The header lists every tool; the body selects each tool that has holes, then its holes.
std::vector<uint8_t> EcritExcellon(const std::vector<OutilExcellon>& outils,
                                   const FormatExcellon& f);

std::vector<uint8_t> SaveExcellon(const ListePercages& l, const Cadre& etendue,
                                  const OptionsPercage& o);
std::vector<uint8_t> SaveISO(const ListePercages& l, const Cadre& etendue, const OptionsPercage& o);
std::vector<uint8_t> SaveHPGL(const ListePercages& l, const Cadre& etendue,
                              const OptionsPercage& o);
// The PEX count is 16-bit: a selection of more than 65535 holes cannot be written and gives
// an empty result (a PEX file is never empty: it holds at least its count).
std::vector<uint8_t> SavePEX(const ListePercages& l, const Cadre& etendue, const OptionsPercage& o);
constexpr int32_t kPercagesMaxPEX = 65535;

// The drill diameters a drilling machine can be given, in tenths of a millimetre: 0,1 mm up to
// 800 mm, the largest work surface. Every diameter the drill diameter dialog offers is in this
// range; 0, a negative value or one that would wrap in the 16-bit hole list only come from a
// damaged file.
constexpr int32_t kDiametrePercageMin = 1;
constexpr int32_t kDiametrePercageMax = 8000;

// Before a drill file is written: the diameter of every drill index that a circuit hole of the
// file uses (pads drilled from the table, EstPastillePercee, with drill index 1..13, when the
// options choose the circuit holes) must be in the range above. Pins take no diameter from the
// table, and entries no hole uses change nothing. False otherwise, and `erreur` names each faulty
// drill index with its value (French, UTF-8), to follow "Le circuit a " ("un diamètre de perçage
// invalide : n° 2 = 0 ...").
bool VerifieDiametresPercage(const Circuit& c, const OptionsPercage& o, std::string& erreur);

// The four formats, in the order of the dialog's buttons.
enum class FormatPercage { Excellon, ISO, HPGL, PEX };
std::vector<uint8_t> EcritFichierPercage(FormatPercage f, const ListePercages& l,
                                         const Cadre& etendue, const OptionsPercage& o);

}  // namespace korv4
