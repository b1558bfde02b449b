#include "render/TraceBandes.h"

#include "render/CanevasImage.h"
#include "render/TraceCircuit.h"

namespace korv4 {

void TraceRectangleImage(const Circuit& c, const EtatTravail& etat, const ContexteTrace& ctx,
                         uint32_t* pixels, std::ptrdiff_t pas, const RectPixel& r,
                         const std::function<void(ContexteTrace&)>& ensuite) {
  CanevasImage partie(pixels + r.Haut * pas + r.Gauche, r.Droite - r.Gauche, r.Bas - r.Haut, pas);
  ContexteTrace t = ctx;
  t.Toile = &partie;
  t.OrigineX += r.Gauche;
  t.OrigineY -= r.Haut;
  t.Zone = RectPixel{0, 0, r.Droite - r.Gauche, r.Bas - r.Haut};
  t.SansCurseur = true;
  t.CurseurVisible = false;
  t.SelectionVisible = false;
  TraceFond(t);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), t, etat);
  if (ensuite) ensuite(t);
}

int32_t RangHorsGrille(const ContexteTrace& ctx, int32_t rang) {
  int32_t pas = (ValeurZoom(ctx) * ctx.ResolX) / 20;
  if (pas < ctx.ResolX) pas *= 2;
  return ctx.Zoom > 0 && pas > 0 && (ctx.OrigineY - rang) % pas == 0 ? rang + 1 : rang;
}

}  // namespace korv4
