#pragma once

#include <array>
#include <cstdint>

#include "model/Tables.h"
#include "render/Canevas.h"

// The drawing context of one surface (the screen image, a printer page, a picture): the scale
// between stored units and device pixels, the per-zoom size table, the cursor and the
// selection highlight of that surface.

namespace korv4 {

// Zoom value Z by zoom index 0..9 (Z = percentage / 5; 20 is 100 %).
constexpr std::array<int32_t, 10> kValeursZoom = {5, 10, 20, 30, 40, 60, 80, 120, 160, 200};
// Grid step in units by grid index 0..5 (1, 1/2, 1/4, 1/10, 1/20 and 1/100 pas).
constexpr std::array<int32_t, 6> kPasGrille = {100, 50, 25, 10, 5, 1};

// A rectangle in device pixels; Droite and Bas are excluded.
struct RectPixel {
  int32_t Gauche = 0;
  int32_t Haut = 0;
  int32_t Droite = 0;
  int32_t Bas = 0;
};

struct PointPixel {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const PointPixel& o) const { return X == o.X && Y == o.Y; }
};

// Every pixel size a drawing pass needs, computed once per pass by CalculTailles.
struct TaillesTrace {
  // Pad half-sizes on the screen by shape index (the pad's row in model/Pastilles.def,
  // IndicePastille): (half-width, half-height); (corner offset, half-size across flats) for
  // the eight-sided pads; (ring radius, half the cross) for the targets.
  std::array<std::array<int32_t, 2>, kNbSortesPastille> Pastille{};
  std::array<int32_t, 14> Trou{};            // hole diameter by drill index
  std::array<int32_t, 13> SymbolePercage{};  // drill symbol half-size by drill index
  std::array<int32_t, 7> LargeurPiste{};     // by track code - 160
  std::array<int32_t, 7> EpaisseurDessin{};  // by drawing thickness index
  std::array<int32_t, 8> TailleCaractere{};  // four font units, by text size index
  std::array<int32_t, 8> TraitCaractere{};   // stroke width, by text size index

  // The centring target's ring and cross, its inner ring, and the origin mark's circle (whose
  // cross is the target's).
  int32_t RayonMire() const { return Pastille[IndicePastille(pastille::Mire)][0]; }
  int32_t CroixMire() const { return Pastille[IndicePastille(pastille::Mire)][1]; }
  int32_t RayonInterieurMire() const { return rayonInterieurMire; }
  int32_t RayonMarqueOrigine() const { return rayonMarqueOrigine; }
  int32_t rayonInterieurMire = 0;
  int32_t rayonMarqueOrigine = 0;
  int32_t PlumeMarqueOrigine() const { return LargeurPiste[1]; }
  int32_t PlumeSymbolePercage() const { return EpaisseurDessin[1]; }
};

// What is drawn: the edited work and the works shown under it.
struct EtatTravail {
  int32_t Travail = 1;  // 1 face 1, 2 face 2, 3 placement, 4 drilling; 5, 6 mirrored face 2
  uint8_t VisuFace1 = 0;
  uint8_t VisuFace2 = 0;
  uint8_t VisuImplantation = 0;
};

// The shapes of the cursor and of its rubber band, from the press to the cursor.
enum class Curseur : int8_t {
  Croix,       // the cross alone; a dotted frame from the anchor to the second point
  Pastille,    // the cross in a square; the same frame
  Zone,        // the cross; a dotted rectangle from the anchor
  Trait,       // a line from the anchor, at the drawings' thickness
  Piste,       // the cross and its diagonals; a line from the anchor at the track's width,
               // along the grid's eight directions while a track is drawn
  Cercle,      // a circle around the anchor, at the drawings' thickness
  Rectangle,   // a rectangle from the anchor, at the drawings' thickness
  Ellipse,     // an ellipse in the rectangle from the anchor, at the drawings' thickness
  Cadre,       // the cross; a dotted frame from the anchor to the second point
  CadrePorte,  // the cross carrying a dotted frame of the anchor's frame size
};

struct ContexteTrace {
  int32_t Zoom = 2;    // index into kValeursZoom
  int32_t Grille = 1;  // index into kPasGrille
  int32_t ResolX = 10;
  int32_t ResolY = 10;
  int32_t LargeurSurface = 0;  // surface size in device pixels
  int32_t HauteurSurface = 0;
  RectPixel Zone;        // the visible drawing rectangle
  int32_t OrigineX = 0;  // device x of unit 0 is -OrigineX
  int32_t OrigineY = 0;  // device y of unit 0
  int32_t PlumeX = 0;    // last point of a track or line pass
  int32_t PlumeY = 0;
  int32_t EchelleX = 100;
  int32_t EchelleY = 100;
  int32_t SurfaceX = 11820;  // surface size in units
  int32_t SurfaceY = 7880;
  Canevas* Toile = nullptr;  // the surface drawn on, not owned

  // Cursor and rubber band.
  Curseur FormeCurseur = Curseur::Croix;
  int32_t CurseurX = 0, CurseurY = 0;
  int32_t CurseurPixX = 0, CurseurPixY = 0;
  int32_t AncreX = 0, AncreY = 0;
  int32_t SecondX = 0, SecondY = 0;
  int32_t AncrePixX = 0, AncrePixY = 0, SecondPixX = 0, SecondPixY = 0;
  int32_t LargeurElastique = 1;
  int32_t EpaisseurElastique = 1;  // drawing thickness index of the drawing tools' rubber band
  Couleur CouleurCurseur = 0;      // set on the screen's context at start-up (kCouleurCurseur)
  bool CurseurVisible = false;
  bool ElastiqueActif = false;
  bool PisteEnCours = false;
  int32_t PisteCurseur = 0;    // thickness index of the track the rubber band draws (0: none)
  bool DessinCurseur = false;  // the rubber band draws a drawing (at its chosen thickness)

  // When set, drawing passes neither hide nor show the cursor (pictures, printer frames).
  bool SansCurseur = false;

  // Selection highlight.
  bool SelectionVisible = false;
  int32_t SelectionDebut = 0;
  int32_t SelectionFin = 0;
  EtatTravail EtatSelection;

  // When set, elements lying wholly outside Zone are not sent to the canvas. Only for a
  // canvas that shows nothing outside Zone (the editor's drawing area, an image); the picture
  // is the same either way.
  bool Elagage = false;

  TaillesTrace Tailles;
};

inline int32_t ValeurZoom(const ContexteTrace& ctx) { return kValeursZoom[ctx.Zoom]; }

// Scaled pixels of a value in units (no origin applied).
int32_t PixelX(const ContexteTrace& ctx, int32_t x);
int32_t PixelY(const ContexteTrace& ctx, int32_t y);
// Device point of a stored point.
PointPixel PixelPoint(const ContexteTrace& ctx, int32_t x, int32_t y);
// Units of a scaled pixel value, snapped down to the grid step.
int32_t GrilleX(const ContexteTrace& ctx, int32_t p);
int32_t GrilleY(const ContexteTrace& ctx, int32_t p);
// Fills ctx.Tailles for the current scale and zoom and the given drill diameters (tenths
// of a millimetre, index 0 = no hole).
void CalculTailles(ContexteTrace& ctx, const std::array<int32_t, 14>& diametresPercage);

}  // namespace korv4
