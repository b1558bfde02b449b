// The manufacturing and picture code on opened circuits: the fuzz bytes are opened as a circuit
// file (current or old format, through the open pipeline), then every Gerber layer is written
// in both pad styles, every drill format for each hole set and side, and a small picture of the
// circuit is drawn with the Qt canvas as the editor's drawing area shows it, with a selection
// highlight shown and hidden. Whatever the bytes: no crash, no sanitizer report, the files keep
// their forms and the highlight leaves the picture as it was.

#include <QImage>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Verifications.h"
#include "export/Fabrication.h"
#include "export/Gerber.h"
#include "export/Percage.h"
#include "model/Fichiers.h"
#include "partage/canevas/CanevasQt.h"
#include "render/ContexteTrace.h"
#include "render/TraceCircuit.h"
#include "verification/Isolements.h"

using namespace korv4;

namespace {

bool CommencePar(const std::vector<uint8_t>& v, const std::string& debut) {
  return v.size() >= debut.size() && std::equal(debut.begin(), debut.end(), v.begin());
}

bool FinitPar(const std::vector<uint8_t>& v, const std::string& fin) {
  return v.size() >= fin.size() && std::equal(fin.rbegin(), fin.rend(), v.rbegin());
}

// The bytes of a file written as it is produced, kept.
struct Tampon final : FluxOctets {
  bool Ecrit(const uint8_t* o, size_t n) override {
    octets.insert(octets.end(), o, o + n);
    return true;
  }
  std::vector<uint8_t> octets;
};

void FichiersGerber(const Circuit& c, const Cadre& etendue) {
  for (StylePastilles style : {StylePastilles::Octogonales, StylePastilles::Circulaires}) {
    const std::vector<FichierGerber> fichiers = ExporteGerber(c, etendue, style, "fuzz");
    KORV4_VERIFIE(fichiers.size() <= 3);
    for (const FichierGerber& f : fichiers) {
      KORV4_VERIFIE(f.Nom == "fuzz-FC1.GBR" || f.Nom == "fuzz_FC2.GBR" || f.Nom == "fuzz_SER.GBR");
      KORV4_VERIFIE(FinitPar(f.Octets, "M02*\r\n"));
    }
    // Written as plotted (korv4-cli and the editor), each layer is the same bytes.
    const std::vector<CoucheGerber> couches = CouchesGerber(c);
    KORV4_VERIFIE(couches.size() == fichiers.size());
    for (size_t k = 0; k < couches.size(); ++k) {
      Tampon flux;
      KORV4_VERIFIE(
          EcritFichierGerber(CollecteElementsGerber(c, couches[k].Masque), etendue, style, flux));
      KORV4_VERIFIE(flux.octets == fichiers[k].Octets);
    }
  }
}

void FichiersPercage(const Circuit& c, const Cadre& etendue) {
  const ListePercages l = CollectePercages(c);
  KORV4_VERIFIE(l.NbPions >= 0 && l.NbPions <= l.NbPercages && l.NbPercages <= c.NbElements);
  KORV4_VERIFIE(l.Percages.size() == static_cast<size_t>(l.NbPercages) + 1);
  KORV4_VERIFIE(l.Diametres.size() == static_cast<size_t>(l.NbDiametres) + 1);
  for (ElementsAPercer elements :
       {ElementsAPercer::CI, ElementsAPercer::Pions, ElementsAPercer::Aucun}) {
    for (FacePercage face : {FacePercage::Composants, FacePercage::Cuivre, FacePercage::Aucune}) {
      const OptionsPercage o{elements, face};
      // The export refuses damaged diameters; the writers must stand them all the same.
      std::string erreur;
      if (!VerifieDiametresPercage(c, o, erreur)) KORV4_VERIFIE(!erreur.empty());
      KORV4_VERIFIE(CommencePar(SaveExcellon(l, etendue, o), "M48\r\nINCH,LZ\r\n"));
      KORV4_VERIFIE(FinitPar(SaveExcellon(l, etendue, o), "T00\r\nM30\r\n"));
      const std::vector<uint8_t> iso = SaveISO(l, etendue, o);
      KORV4_VERIFIE(CommencePar(iso, "%5000Dimensions du circuit : X="));
      KORV4_VERIFIE(FinitPar(iso, std::string("M2\r\n\0\x13", 6)));
      KORV4_VERIFIE(CommencePar(SaveHPGL(l, etendue, o), "IN;"));
      const std::vector<uint8_t> pex = SavePEX(l, etendue, o);
      const size_t trous = PercagesChoisis(l, etendue, o).size();
      KORV4_VERIFIE(pex.empty() ? trous > static_cast<size_t>(kPercagesMaxPEX)
                                : pex.size() == 2 + 6 * trous);
    }
  }
}

// A 64 x 48 window on the surface, at the zoom and on the works the first byte chose, centred
// on the first record (elsewhere most of the circuit lies outside the window: clipping).
void Image(const Circuit& c, uint8_t choix) {
  ContexteTrace ctx;
  ctx.Zoom = (choix >> 1) % static_cast<int>(kValeursZoom.size());
  ctx.SurfaceX = c.EnteteCI.SurfaceX;
  ctx.SurfaceY = c.EnteteCI.SurfaceY;
  const int64_t z = ValeurZoom(ctx);
  const int64_t largeur = ((int64_t{ctx.ResolX} * ctx.SurfaceX * z) / ctx.EchelleX) / 20;
  const int64_t hauteur = ((int64_t{ctx.ResolY} * ctx.SurfaceY * z) / ctx.EchelleY) / 20;
  if (largeur < 1 || hauteur < 0 || largeur > INT32_MAX / 2 || hauteur > INT32_MAX / 2)
    return;  // korv4-cli refuses such a surface (exit 2), the editor's window never shows it
  ctx.LargeurSurface = static_cast<int32_t>(largeur);
  ctx.HauteurSurface = static_cast<int32_t>(hauteur);
  QImage image(64, 48, QImage::Format_RGB32);
  CanevasQt toile(image);
  ctx.Toile = &toile;
  ctx.Zone = {0, 0, 64, 48};
  const ElementCI& e = c.Elements[c.NbElements > 0 ? 1 : 0];
  ctx.OrigineX = PixelX(ctx, e.X) - 32;
  ctx.OrigineY = PixelY(ctx, e.Y) + 24;
  ctx.SansCurseur = true;
  ctx.Elagage = (choix & 0x20) != 0;
  EtatTravail etat;
  etat.Travail = 1 + ((choix >> 6) & 3);
  etat.VisuFace1 = etat.VisuFace2 = etat.VisuImplantation = 1;
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
  KORV4_VERIFIE(image.width() == 64 && image.height() == 48);
  // The selection highlight of the second half of the store, in exclusive-or: shown and hidden
  // again, it leaves the picture as it was.
  if (c.NbElements > 0) {
    const QImage avant = image.copy();
    ChoixSelection(c, Plage{(c.NbElements + 1) / 2, c.NbElements}, etat, ctx);
    AnnuleSelection(c, ctx);
    KORV4_VERIFIE(image == avant);
  }
}

}  // namespace

// Byte 0 chooses: bit 0 the old format, bits 1..4 the zoom, bit 5 culling, bits 6..7 the work
// drawn; the other bytes are the file.
// The isolation check and the board-house set on whatever the store holds: the circuit stays as
// it was, every fault is somewhere and measured, every Gerber file of the set ends.
void VerificationEtFabrication(const Circuit& c, uint8_t choix) {
  const int32_t avant = c.NbElements;
  OptionsVerification ov;
  ov.IsolementMm = (choix & 2) ? 0.3 : 1.5;
  ov.Pastilles = (choix & 4) ? StylePastilles::Circulaires : StylePastilles::Octogonales;
  for (const Defaut& d : VerifieCircuit(c, ov).Defauts)
    KORV4_VERIFIE(std::isfinite(d.X) && std::isfinite(d.Y) && d.Distance > 0);
  OptionsFabrication of;
  of.Contour = (choix & 8) ? ContourFabrication::Etendue : ContourFabrication::Surface;
  const JeuFabrication jeu = FabriqueJeu(c, of);
  KORV4_VERIFIE(jeu.Erreur.empty() || jeu.Fichiers.empty());
  for (const FichierFabrication& f : jeu.Fichiers)
    if (f.Nom.size() > 4 && f.Nom[f.Nom.size() - 4] == '.' && f.Nom[f.Nom.size() - 3] == 'G')
      KORV4_VERIFIE(FinitPar(f.Octets, "M02*\r\n"));
  KORV4_VERIFIE(c.NbElements == avant);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  if (taille < 1) return 0;
  const uint8_t choix = donnees[0];
  const std::vector<uint8_t> octets(donnees + 1, donnees + taille);
  Circuit& c = fuzz::CircuitVierge();
  std::string erreur;
  if (!OuvreCircuit(c, octets, (choix & 1) ? "fuzz.CIP" : "fuzz.CIX", erreur)) return 0;
  fuzz::VerifieLimites(c);
  const Cadre etendue = c.NbElements > 0 ? CadreElements(c, 1, c.NbElements) : Cadre{};
  FichiersGerber(c, etendue);
  FichiersPercage(c, etendue);
  Image(c, choix);
  VerificationEtFabrication(c, choix);
  return 0;
}
