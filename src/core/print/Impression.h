#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/ContexteTrace.h"
#include "render/TraceCircuit.h"

// Printing without the platform: the printable area of a page, the checks
// of the print dialog's document boxes, the printer's drawing context at exactly 1:1, the
// placing of the documents on the one page of a job, the frame, the title block and the drill
// legend. Everything is drawn on a Canevas: the print dialog and korv4-cli give a canvas over
// a printer or PDF page (src/app/partage/impression/ImprimePage.h), tests a recording canvas.
//
// Exact scale. The Part's printer context has ResolX = dots per inch div 10 and EchelleX = 100,
// which prints a 203-dpi printer 1.5 % small and a 96-dpi one 6 % small. Here ResolX = dots per
// inch and EchelleX = 1000 (the same for Y): one unit (1/1000 inch) is dpi / 1000 dots at any
// resolution, and for a resolution that is a multiple of 10 every position and size is the
// Part's, truncation for truncation. PixelX and CalculTailles form their products in 64 bits.

namespace korv4 {

// The page of a printer as the platform reports it.
struct PageImprimante {
  int32_t PointsParPouceX = 600;  // dots per inch
  int32_t PointsParPouceY = 600;
  int32_t LargeurPoints = 0;  // printable area in dots
  int32_t HauteurPoints = 0;
  bool Paysage = false;  // landscape orientation (else portrait)
};

// LargeurImprimable and HauteurImprimable: the printable area in units (1/1000
// inch), dots x 1000 div dots per inch; 0 for a page without resolution.
int32_t LargeurImprimable(const PageImprimante& page);
int32_t HauteurImprimable(const PageImprimante& page);

// "  330 mm ": a length in units shown as the print dialog shows it (x 254 div 10000, two
// leading blanks and one trailing).
std::string TexteMillimetres(int32_t unites);

// Init, step 7: the document boxes of the print dialog for this circuit.
struct CasesDocuments {
  bool Face1 = false;  // Face1 checked and enabled (otherwise unchecked and disabled)
  bool Face2Active = false;
  bool Face3Active = false;
  bool Face4Active = false;
};
CasesDocuments InitCases(const Circuit& c);

// DocumentsImprimes bits.
constexpr int32_t kDocFace1 = 1;
constexpr int32_t kDocFace2 = 2;
constexpr int32_t kDocImplantation = 4;
constexpr int32_t kDocPercage = 8;

// The title block's description of the documents printed (mask 0..15), Windows-1252 bytes.
const char* DescriptionDocuments(int32_t documents);

// The legend's text of a drill diameter in tenths of a millimetre: "0,8 mm", "3,2 mm".
std::string TexteDiametreLegende(int32_t diametre);

// "La taille du CI ets trop grande. Désirez-vous continuer ?" (UTF-8).
extern const char* const kQuestionTaille;

// What BoutonImpressionClick prints: the boxes of the print dialog.
struct ChoixDocuments {
  bool Face1 = true;
  bool Face2 = false;
  bool Face3 = false;
  bool Face4 = false;
  bool Cadre = false;           // "Cadre et cartouche"
  bool InversionFace2 = false;  // face 2 mirrored (top to bottom in portrait, left to right in
                                // landscape)
};

// One print job, set up before the printer document begins (so that a refused or empty job
// opens no document), then drawn by Imprime.
struct TravailImpression {
  ContexteTrace Contexte;  // ContexteImpression; Toile is set by Imprime
  int32_t W = 0, H = 0;    // LargeurImprimable, HauteurImprimable
  int32_t pw = 0, ph = 0;  // available width and height in dots
  Cadre Encombrement;      // EncombrementCI
  int32_t x1 = 0, x2 = 0, yt = 0, yb = 0;
  bool Paysage = false;
  EtatTravail EtatImpression;
  int32_t DocumentsImprimes = 0;
  // The works printed, in order: one document each (documents), or the view (one entry).
  std::vector<int32_t> Travaux;
  bool Ecran = false;          // printing as on the screen
  bool AvecCadre = false;      // frame and title block
  bool AvecLegende = false;    // drill legend in the title block
  bool TailleAcceptee = true;  // TailleAcceptable's answer (false: ask kQuestionTaille)

  // Nothing to print (no document checked, or an empty circuit).
  bool Vide() const { return Travaux.empty(); }
};

// The common set-up, steps 1 to 3: the printer's context at 100 % and the available area.
// surfaceX, surfaceY: the screen context's work surface, copied.
void PrepareContexte(TravailImpression& t, const PageImprimante& page, int32_t surfaceX,
                     int32_t surfaceY, bool cadre, bool percage);

// BoutonImpressionClick up to the size check. travailCourant: the main window's current work.
TravailImpression PrepareDocuments(const Circuit& c, const PageImprimante& page,
                                   const ChoixDocuments& choix, int32_t travailCourant,
                                   int32_t surfaceX, int32_t surfaceY);
// ImprimeEcranClick up to the size check: the current view (work and overlays) at the screen
// context's zoom, with the frame when `cadre` (Cadre2).
TravailImpression PrepareEcran(const Circuit& c, const PageImprimante& page,
                               const EtatTravail& etat, const ContexteTrace& ecran, bool cadre);

// TailleAcceptable (available height, available width, document count) at the context's zoom.
bool TailleAcceptable(const TravailImpression& t, int32_t ah, int32_t aw, int32_t n);

// Draws the job on the page's canvas (between the begin and end of the printer document): the
// frame and title block, then every document, or the view.
void Imprime(const Circuit& c, TravailImpression& t, Canevas& toile);

// The pieces of a page (t.Contexte.Toile must be set).
// ImprimeDocument: the k-th (from 1) of n documents, of work t.EtatImpression.Travail.
void ImprimeDocument(const Circuit& c, TravailImpression& t, int32_t k, int32_t n);
// Frame and title block, with the drill legend when asked; the context is left as it was.
void Tracecadre(const Circuit& c, TravailImpression& t, bool legende);
void EcritTexte(ContexteTrace& ctx, int32_t x, int32_t y, const std::string& texte);

}  // namespace korv4
