#include "render/ContexteTrace.h"

#include <algorithm>

namespace korv4 {

namespace {

// Sizes in tenths of a unit (0.00254 mm); the pads' are in model/Pastilles.def.
constexpr int32_t kRayonInterieurMire = 177;
constexpr int32_t kRayonMarqueOrigine = 787;
constexpr int32_t kSymbolePercage[13] = {0,    400,  400,  500,  600,  800, 900,
                                         1000, 1200, 1400, 1000, 1000, 1000};
// The widest hole drawn, in tenths of a millimetre.
constexpr int32_t kDiametreMax = 8000;
// Index 0 of these three is the constant 1 pixel.
constexpr int32_t kLargeurPiste[7] = {0, 118, 197, 394, 590, 787, 984};
constexpr int32_t kTailleCaractere[8] = {0, 500, 750, 1000, 1250, 1500, 1750, 2000};
constexpr int32_t kTraitCaractere[8] = {0, 100, 150, 200, 250, 300, 350, 400};
constexpr int32_t kEpaisseurDessin[7] = {118, 118, 197, 315, 394, 590, 787};

}  // namespace

// The products are formed in 64 bits: a printer context (ResolX = dots per inch, EchelleX =
// 1000) at 1200 dpi and 1000 % passes 32 bits from 9 inches on. Within 32 bits the results
// are those of the 32-bit formula, truncation for truncation.
int32_t PixelX(const ContexteTrace& ctx, int32_t x) {
  return static_cast<int32_t>(((int64_t{ctx.ResolX} * x * ValeurZoom(ctx)) / ctx.EchelleX) / 20);
}

int32_t PixelY(const ContexteTrace& ctx, int32_t y) {
  return static_cast<int32_t>(((int64_t{ctx.ResolY} * y * ValeurZoom(ctx)) / ctx.EchelleY) / 20);
}

PointPixel PixelPoint(const ContexteTrace& ctx, int32_t x, int32_t y) {
  return {PixelX(ctx, x) - ctx.OrigineX, ctx.OrigineY - PixelY(ctx, y)};
}

int32_t GrilleX(const ContexteTrace& ctx, int32_t p) {
  const int32_t pas = kPasGrille[ctx.Grille];
  return static_cast<int32_t>(
      ((((int64_t{ctx.EchelleX} * p) / ctx.ResolX) * 20) / ValeurZoom(ctx)) / pas * pas);
}

int32_t GrilleY(const ContexteTrace& ctx, int32_t p) {
  const int32_t pas = kPasGrille[ctx.Grille];
  return static_cast<int32_t>(
      ((((int64_t{ctx.EchelleY} * p) / ctx.ResolY) * 20) / ValeurZoom(ctx)) / pas * pas);
}

void CalculTailles(ContexteTrace& ctx, const std::array<int32_t, 14>& diametresPercage) {
  // 64 bits, as PixelX: a 2400-dpi printer at 1000 % makes M = 480000.
  const int64_t m = int64_t{ctx.ResolX} * ValeurZoom(ctx);
  const int64_t n = int64_t{ctx.EchelleX} * 200;
  const int64_t h = std::max<int64_t>((int64_t{ctx.EchelleX} * 20000) / 3937, 1);
  auto px = [&](int32_t k) { return static_cast<int32_t>((m * k) / n); };
  TaillesTrace& t = ctx.Tailles;
  for (int s = 0; s < kNbSortesPastille; ++s) {
    t.Pastille[s][0] = px(kSortesPastille[s].Ecran[0]);
    t.Pastille[s][1] = px(kSortesPastille[s].Ecran[1]);
  }
  for (int s = 0; s < 13; ++s) t.SymbolePercage[s] = px(kSymbolePercage[s]);
  t.rayonInterieurMire = px(kRayonInterieurMire);
  t.rayonMarqueOrigine = px(kRayonMarqueOrigine);
  t.Trou[0] = 0;
  for (int i = 1; i < 14; ++i) {
    // A damaged table may hold anything: no hole is wider than the largest surface, 800 mm.
    const int32_t d = std::clamp(diametresPercage[i], 0, kDiametreMax);
    t.Trou[i] = static_cast<int32_t>((d * m) / h);
  }
  for (int w = 0; w < 7; ++w) {
    t.LargeurPiste[w] = w == 0 ? 1 : px(kLargeurPiste[w]);
    t.EpaisseurDessin[w] = px(kEpaisseurDessin[w]);
  }
  for (int i = 0; i < 8; ++i) {
    t.TailleCaractere[i] = i == 0 ? 1 : px(kTailleCaractere[i]);
    t.TraitCaractere[i] = i == 0 ? 1 : px(kTraitCaractere[i]);
  }
}

}  // namespace korv4
