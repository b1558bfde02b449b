#include "render/TraceCircuit.h"

#include <algorithm>

#include "render/Curseur.h"
#include "render/EcriturePetiteFonte.h"

namespace korv4 {

namespace {

ModePlume ModeDe(Couleur entree0) {
  return entree0 == kModeOuExclusif ? ModePlume::OuExclusif : ModePlume::Copie;
}

// True when culling is on and the box (inclusive, any corner order) misses the visible zone.
bool HorsZone(const ContexteTrace& ctx, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              int32_t marge) {
  if (!ctx.Elagage) return false;
  const RectPixel& z = ctx.Zone;
  return std::max(x1, x2) + marge < z.Gauche || std::min(x1, x2) - marge >= z.Droite ||
         std::max(y1, y2) + marge < z.Haut || std::min(y1, y2) - marge >= z.Bas;
}

void Plume(Canevas& t, Couleur couleur, int epaisseur, ModePlume mode, StyleBrosse brosse) {
  t.CouleurPlume(couleur);
  t.EpaisseurPlume(epaisseur);
  t.StyleDePlume(StylePlume::Plein);
  t.ModeDePlume(mode);
  t.CouleurBrosse(couleur);
  t.StyleDeBrosse(brosse);
}

int32_t Epaisseur(const ContexteTrace& ctx, uint8_t attribut) {
  // Thickness indexes run 0..6; the low three bits of a damaged record may give 7.
  return ctx.Tailles.EpaisseurDessin[std::min(attribut & 7, 6)];
}

// A segment, a rectangle, an oval or a circle in a pen of that width, colour and mode (the
// closed figures hollow), unless culling leaves it out: the pen is set only for what is drawn,
// so that what lies outside the zone costs no more than its test.
void Segment(ContexteTrace& ctx, PointPixel a, PointPixel b, int32_t largeur, Couleur couleur,
             ModePlume mode) {
  if (HorsZone(ctx, a.X, a.Y, b.X, b.Y, largeur / 2 + 2)) return;
  Plume(*ctx.Toile, couleur, largeur, mode, StyleBrosse::Plein);
  ctx.Toile->MoveTo(a.X, a.Y);
  ctx.Toile->LineTo(b.X, b.Y);
}

void Rect(ContexteTrace& ctx, PointPixel a, PointPixel b, int32_t largeur, Couleur couleur,
          ModePlume mode) {
  if (HorsZone(ctx, a.X, a.Y, b.X, b.Y, largeur / 2 + 2)) return;
  Plume(*ctx.Toile, couleur, largeur, mode, StyleBrosse::Creux);
  ctx.Toile->Rectangle(a.X, a.Y, b.X, b.Y);
}

void Ovale(ContexteTrace& ctx, PointPixel a, PointPixel b, int32_t largeur, Couleur couleur,
           ModePlume mode) {
  if (HorsZone(ctx, a.X, a.Y, b.X, b.Y, largeur / 2 + 2)) return;
  Plume(*ctx.Toile, couleur, largeur, mode, StyleBrosse::Creux);
  ctx.Toile->Ellipse(a.X, a.Y, b.X, b.Y);
}

void Cercle(ContexteTrace& ctx, int32_t x, int32_t y, int32_t r, int32_t largeur, Couleur couleur,
            ModePlume mode) {
  Ovale(ctx, PixelPoint(ctx, x - r, y - r), PixelPoint(ctx, x + r, y + r), largeur, couleur, mode);
}

bool EstCaractere(uint8_t code) { return code >= 64 && code <= 71; }

// Orientation of a mirrored character of kind 64 + k, top to bottom and left to right.
constexpr int32_t kOrientationMiroirHB[8] = {8, 11, 10, 9, 12, 15, 14, 13};
constexpr int32_t kOrientationMiroirGD[8] = {10, 9, 8, 11, 14, 13, 12, 15};

// Clamps a range to the live records; false when nothing is left.
bool Borne(const Circuit& c, int32_t& premier, int32_t& dernier) {
  premier = std::max(premier, 1);
  dernier = std::min(dernier, c.NbElements);
  return premier <= dernier;
}

}  // namespace

CouleursTrace CouleursNormales() {
  return {kModeCopie, kRouge, kVert, kBleu, kBordeaux, kNoir, kBlanc};
}

CouleursTrace CouleursSurbrillance(int32_t travail) {
  constexpr Couleur kTravail[5] = {kNoir, kRouge, kVert, kBleu, kBordeaux};
  const Couleur edite = (travail >= 1 && travail <= 4) ? kTravail[travail] : kNoir;
  return {kModeOuExclusif, 0x0000FF, 0x007F00, 0x00FF00, 0x008000, edite, kBlanc};
}

void TraceFond(ContexteTrace& ctx) {
  // Always: a cursor left shown under the new background would be drawn back by its erasure.
  CacheCurseur(ctx);
  if (ctx.Toile == nullptr) return;
  Canevas& t = *ctx.Toile;
  // The navy fill takes a navy outline too, so that the zone's edge never keeps the colour of
  // whatever was drawn before. Only what the surface leaves of the zone is filled: the surface
  // covers it next (the pixels, inclusive, that a pen of 1 gives each rectangle).
  Plume(t, kMarine, 1, ModePlume::Copie, StyleBrosse::Plein);
  const RectPixel& z = ctx.Zone;
  const int32_t sx1 = -ctx.OrigineX, sy1 = ctx.OrigineY + 1;
  const int32_t sx2 = ctx.LargeurSurface - ctx.OrigineX, sy2 = ctx.OrigineY - ctx.HauteurSurface;
  const int32_t zl = std::min(z.Gauche, z.Droite), zt = std::min(z.Haut, z.Bas);
  const int32_t zr = std::max(zl, std::max(z.Gauche, z.Droite) - 1);
  const int32_t zb = std::max(zt, std::max(z.Haut, z.Bas) - 1);
  const int32_t sl = std::min(sx1, sx2), st = std::min(sy1, sy2);
  const int32_t sr = std::max(sl, std::max(sx1, sx2) - 1);
  const int32_t sb = std::max(st, std::max(sy1, sy2) - 1);
  if (sr < zl || sl > zr || sb < zt || st > zb) {
    t.Rectangle(z.Gauche, z.Haut, z.Droite, z.Bas);
  } else {
    auto marine = [&t](int32_t l, int32_t h, int32_t r, int32_t b) {
      if (l <= r && h <= b) t.Rectangle(l, h, r + 1, b + 1);
    };
    marine(zl, zt, zr, st - 1);
    marine(zl, sb + 1, zr, zb);
    marine(zl, std::max(zt, st), sl - 1, std::min(zb, sb));
    marine(sr + 1, std::max(zt, st), zr, std::min(zb, sb));
  }

  t.CouleurPlume(kRouge);
  t.CouleurBrosse(kBlanc);
  t.Rectangle(sx1, sy1, sx2, sy2);

  if (ctx.Zoom <= 0) return;
  // The dots every 1/2 pas (every pas when they would be closer than 10 pixels at the screen's
  // usual resolution of 10).
  int32_t pas = (ValeurZoom(ctx) * ctx.ResolX) / 20;
  if (pas < ctx.ResolX) pas *= 2;
  const int32_t xDebut = pas - (ctx.OrigineX % pas);
  const int32_t xFin = std::min(ctx.Zone.Droite, ctx.LargeurSurface - ctx.OrigineX);
  for (int32_t y = ctx.OrigineY; y >= 1 && y > ctx.OrigineY - ctx.HauteurSurface; y -= pas) {
    if (ctx.Elagage && (y < ctx.Zone.Haut || y >= ctx.Zone.Bas)) continue;
    for (int32_t x = xDebut; x < xFin; x += pas) t.Pixel(x, y, kNoir);
  }
}

void TracePastille(ContexteTrace& ctx, int32_t x, int32_t y, int32_t forme, int32_t percage,
                   Couleur pastille, Couleur trou) {
  if (ctx.Toile == nullptr || forme < 0 || forme >= kNbSortesPastille) return;
  Canevas& t = *ctx.Toile;
  const TaillesTrace& tl = ctx.Tailles;
  const PointPixel p = PixelPoint(ctx, x, y);
  const FormePastille f = kSortesPastille[forme].Forme;
  const std::array<int32_t, 2>& taille = tl.Pastille[forme];
  // Drill indexes beyond the table only come from damaged files: no hole.
  const int32_t r = (percage >= 0 && percage < 14) ? tl.Trou[percage] / 2 : 0;
  int32_t etendue = r;
  if (f != FormePastille::Trou) etendue = std::max({etendue, taille[0], taille[1]});
  if (HorsZone(ctx, p.X, p.Y, p.X, p.Y, etendue + 2)) return;

  t.CouleurPlume(pastille);
  t.EpaisseurPlume(1);
  t.StyleDePlume(StylePlume::Plein);
  t.CouleurBrosse(pastille);
  t.StyleDeBrosse(StyleBrosse::Plein);
  if (f == FormePastille::Rectangle) {
    const int32_t hw = taille[0], hh = taille[1];
    t.Rectangle(p.X - hw, p.Y - hh, p.X + hw, p.Y + hh);
  } else if (f == FormePastille::Ronde) {
    const int32_t a = taille[0], b = taille[1];
    const int xy[16] = {p.X + a, p.Y + b, p.X + b, p.Y + a, p.X + b, p.Y - a, p.X + a, p.Y - b,
                        p.X - a, p.Y - b, p.X - b, p.Y - a, p.X - b, p.Y + a, p.X - a, p.Y + b};
    t.Polygone(xy, 8);
  } else if (f == FormePastille::Mire) {
    t.StyleDeBrosse(StyleBrosse::Creux);
    const int32_t c = taille[1];
    t.MoveTo(p.X + c, p.Y);
    t.LineTo(p.X - c, p.Y);
    t.MoveTo(p.X, p.Y + c);
    t.LineTo(p.X, p.Y - c);
    const int32_t re = taille[0], ri = tl.RayonInterieurMire();
    t.Ellipse(p.X - re, p.Y - re, p.X + re, p.Y + re);
    t.Ellipse(p.X - ri, p.Y - ri, p.X + ri, p.Y + ri);
  }
  t.CouleurPlume(trou);
  t.CouleurBrosse(trou);
  if (r >= 1) t.Ellipse(p.X - r, p.Y - r, p.X + r, p.Y + r);
}

void TracePistes(const Circuit& c, int32_t premier, int32_t dernier, ModePlume mode,
                 ContexteTrace& ctx, Couleur couleur, int32_t selecteur, const Cadre& miroir) {
  if (ctx.Toile == nullptr || !Borne(c, premier, dernier)) return;
  const uint8_t couche = selecteur == 1 ? 1 : 2;
  PointPixel precedent;
  for (int32_t i = premier; i <= dernier; ++i) {
    const ElementCI& e = c.Elements[i];
    if (e.Couche != couche || !EstPiste(e.Code)) continue;
    int32_t x = e.X, y = e.Y;
    if (selecteur == 64) y = miroir.Bas + miroir.Haut - y;
    if (selecteur == 128) x = miroir.Gauche + miroir.Droite - x;
    const PointPixel p = PixelPoint(ctx, x, y);
    if (e.Attribut != kPremierPoint && i != premier) {
      const int32_t largeur = ctx.Tailles.LargeurPiste[e.Code - code::PisteSansLargeur];
      Segment(ctx, precedent, p, largeur, couleur, mode);
    }
    precedent = p;
    ctx.PlumeX = p.X;
    ctx.PlumeY = p.Y;
  }
}

void TraceCaractere(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur couleur,
                    uint8_t caractere, int32_t orientation, uint8_t taille) {
  if (ctx.Toile == nullptr) return;
  constexpr int32_t kDecalage[8] = {0, 10, 15, 20, 25, 30, 35, 40};
  const int32_t t = taille & 7;
  const int32_t o = kDecalage[t];
  switch (orientation) {
    case 0:
    case 7:
    case 9:
    case 14:
      x += o;
      y += o;
      break;
    case 1:
    case 4:
    case 10:
    case 15:
      x -= o;
      y += o;
      break;
    case 2:
    case 5:
    case 11:
    case 12:
      x -= o;
      y -= o;
      break;
    default:
      x += o;
      y -= o;
      break;
  }
  const PointPixel p = PixelPoint(ctx, x, y);
  const int32_t echelle = ctx.Tailles.TailleCaractere[t];
  const int32_t trait = ctx.Tailles.TraitCaractere[t];
  // A glyph stays within -2..9 font units on both axes, four units being `echelle` pixels.
  if (HorsZone(ctx, p.X, p.Y, p.X, p.Y, (10 * echelle) / 4 + 1 + trait / 2 + 2)) return;
  Canevas& tl = *ctx.Toile;
  tl.CouleurPlume(couleur);
  tl.EpaisseurPlume(trait);
  tl.StyleDePlume(StylePlume::Plein);
  tl.ModeDePlume(mode);
  tl.StyleDeBrosse(StyleBrosse::Creux);
  TraceLettre(tl, p.X, p.Y, echelle, orientation, caractere);
}

void TraceDessins(const Circuit& c, int32_t premier, int32_t dernier, ModePlume mode,
                  ContexteTrace& ctx, Couleur couleur, uint8_t couche) {
  if (ctx.Toile == nullptr || !Borne(c, premier, dernier)) return;
  for (int32_t i = premier; i <= dernier; ++i) {
    const ElementCI& e = c.Elements[i];
    if (e.Couche != couche) continue;
    if (EstCaractere(e.Code)) {
      TraceCaractere(ctx, e.X, e.Y, mode, couleur, e.Caractere, e.Code - 64, e.Attribut);
      continue;
    }
    if (e.Code < 128 || e.Code > 134 || (e.Code & 1) != 0) continue;
    // The second record of a drawing must follow within the range.
    if (i == dernier || c.Elements[i + 1].Code != e.Code + 1) continue;
    const ElementCI& f = c.Elements[i + 1];
    const PointPixel a = PixelPoint(ctx, e.X, e.Y);
    if (e.Code == code::Trait1) {
      const PointPixel b = PixelPoint(ctx, f.X, f.Y);
      Segment(ctx, a, b, Epaisseur(ctx, f.Attribut), couleur, mode);
      ctx.PlumeX = b.X;
      ctx.PlumeY = b.Y;
    } else {
      const int32_t largeur = Epaisseur(ctx, e.Attribut);
      if (e.Code == code::Rectangle1) {
        Rect(ctx, a, PixelPoint(ctx, f.X, f.Y), largeur, couleur, mode);
      } else if (e.Code == code::Cercle) {
        Cercle(ctx, e.X, e.Y, f.X, largeur, couleur, mode);
      } else {
        Ovale(ctx, a, PixelPoint(ctx, f.X, f.Y), largeur, couleur, mode);
      }
    }
    ++i;
  }
}

void TraceSymbolePercage(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur couleur,
                         int32_t percage) {
  if (ctx.Toile == nullptr || percage < 1 || percage > 10) return;
  Canevas& t = *ctx.Toile;
  const int32_t largeur = ctx.Tailles.PlumeSymbolePercage();
  const int32_t s = ctx.Tailles.SymbolePercage[percage];
  const PointPixel p = PixelPoint(ctx, x, y);
  if (HorsZone(ctx, p.X, p.Y, p.X, p.Y, s + largeur / 2 + 2)) return;
  Plume(t, couleur, largeur, mode, StyleBrosse::Creux);
  const bool croix = percage == 1 || percage >= 6;
  if (percage == 2) {
    t.MoveTo(p.X - s, p.Y + s);
    t.LineTo(p.X + s, p.Y + s);
    t.LineTo(p.X, p.Y - s);
    t.LineTo(p.X - s, p.Y + s);
  } else if (percage == 3 || percage == 7) {
    t.Ellipse(p.X - s, p.Y - s, p.X + s, p.Y + s);
  } else if (percage == 4) {
    const int32_t d = s / 2;
    t.Rectangle(p.X - s, p.Y - d, p.X + s, p.Y + d);
    t.Rectangle(p.X - d, p.Y - s, p.X + d, p.Y + s);
  } else if (percage == 5 || percage == 6) {
    t.Rectangle(p.X - s, p.Y - s, p.X + s, p.Y + s);
  }
  if (croix) {
    t.MoveTo(p.X - s, p.Y);
    t.LineTo(p.X + s, p.Y);
    t.MoveTo(p.X, p.Y - s);
    t.LineTo(p.X, p.Y + s);
  }
}

void TraceCircuit(const Circuit& c, int32_t premier, int32_t dernier, const CouleursTrace& couleurs,
                  ContexteTrace& ctx, const EtatTravail& etat) {
  const CouleursTrace coul = couleurs;
  const EtatTravail et = etat;
  if (!ctx.SansCurseur) CacheCurseur(ctx);
  const ModePlume mode = ModeDe(coul[0]);
  if (ctx.Toile != nullptr) ctx.Toile->ModeDePlume(mode);
  CalculTailles(ctx, c.EnteteCI.DiametresPercage);

  if (ctx.Toile != nullptr && c.NbElements >= 1 && Borne(c, premier, dernier) && et.Travail >= 1 &&
      et.Travail <= 6) {
    auto face = [&](int32_t n, Couleur couleur) {
      TracePistes(c, premier, dernier, mode, ctx, couleur, n);
      TraceDessins(c, premier, dernier, mode, ctx, couleur, static_cast<uint8_t>(n));
    };
    auto pastilles = [&](Couleur couleur) {
      for (int32_t i = premier; i <= dernier; ++i) {
        const ElementCI& e = c.Elements[i];
        if (EstPastille(e.Code)) {
          TracePastille(ctx, e.X, e.Y, IndicePastille(e.Code), e.Attribut, couleur, coul[6]);
        }
      }
    };
    switch (et.Travail) {
      case 1:
        if (et.VisuFace2) face(2, coul[2]);
        if (et.VisuImplantation) TraceDessins(c, premier, dernier, mode, ctx, coul[3], 4);
        face(1, coul[5]);
        pastilles(coul[5]);
        break;
      case 2:
        if (et.VisuFace1) face(1, coul[1]);
        if (et.VisuImplantation) TraceDessins(c, premier, dernier, mode, ctx, coul[3], 4);
        face(2, coul[5]);
        pastilles(coul[5]);
        break;
      case 3:
      case 4:
        if (et.VisuFace1) face(1, coul[1]);
        if (et.VisuFace2) face(2, coul[2]);
        if (et.VisuFace2) {
          pastilles(coul[2]);
        } else if (et.VisuFace1) {
          pastilles(coul[1]);
        }
        if (et.Travail == 3) {
          TraceDessins(c, premier, dernier, mode, ctx, coul[5], 4);
          break;
        }
        if (et.VisuImplantation) TraceDessins(c, premier, dernier, mode, ctx, coul[3], 4);
        TraceDessins(c, premier, dernier, mode, ctx, coul[5], 8);
        // Drill symbols take the pass's mode, so that a highlight drawn twice leaves nothing.
        for (int32_t i = premier; i <= dernier; ++i) {
          const ElementCI& e = c.Elements[i];
          if (EstPastille(e.Code)) TraceSymbolePercage(ctx, e.X, e.Y, mode, coul[5], e.Attribut);
        }
        break;
      default: {  // 5 and 6: face 2 mirrored for printing
        const Cadre cadre = CadreElements(c, premier, dernier);
        const bool hautBas = et.Travail == 5;
        TracePistes(c, premier, dernier, mode, ctx, coul[5], hautBas ? 64 : 128, cadre);
        for (int32_t i = premier; i <= dernier; ++i) {
          const ElementCI& e = c.Elements[i];
          if (e.Couche != 2 || !EstCaractere(e.Code)) continue;
          const int k = e.Code - 64;
          int32_t x = e.X, y = e.Y;
          if (hautBas) {
            y = cadre.Bas + cadre.Haut - y;
          } else {
            x = cadre.Gauche + cadre.Droite - x;
          }
          TraceCaractere(ctx, x, y, mode, coul[5], e.Caractere,
                         hautBas ? kOrientationMiroirHB[k] : kOrientationMiroirGD[k], e.Attribut);
        }
        for (int32_t i = premier; i <= dernier; ++i) {
          const ElementCI& e = c.Elements[i];
          if (!EstPastille(e.Code)) continue;
          int32_t x = e.X, y = e.Y;
          if (hautBas) {
            y = cadre.Bas + cadre.Haut - y;
          } else {
            x = cadre.Gauche + cadre.Droite - x;
          }
          TracePastille(ctx, x, y, IndicePastille(e.Code), e.Attribut, coul[5], coul[6]);
        }
        break;
      }
    }
  }
  if (!ctx.SansCurseur) MontreCurseur(ctx);
}

void TraceElement(const Circuit& c, int32_t index, const CouleursTrace& couleurs,
                  ContexteTrace& ctx) {
  if (index < 1 || index > c.NbElements) return;
  if (!ctx.SansCurseur) CacheCurseur(ctx);
  CalculTailles(ctx, c.EnteteCI.DiametresPercage);
  if (ctx.Toile != nullptr) {
    ctx.Toile->ModeDePlume(ModePlume::Copie);
    const ElementCI& e = c.Elements[index];
    const Couleur couleur = couleurs[5];
    const bool avecPrecedent = index > 1;
    const ElementCI& d = c.Elements[avecPrecedent ? index - 1 : index];
    const PointPixel a = PixelPoint(ctx, d.X, d.Y);
    const PointPixel b = PixelPoint(ctx, e.X, e.Y);
    if (EstPiste(e.Code)) {
      if (e.Attribut != kPremierPoint && avecPrecedent) {
        const int32_t largeur = ctx.Tailles.LargeurPiste[e.Code - code::PisteSansLargeur];
        Segment(ctx, a, b, largeur, couleur, ModePlume::Copie);
      }
    } else if (EstPastille(e.Code)) {
      TracePastille(ctx, e.X, e.Y, IndicePastille(e.Code), e.Attribut, couleur, couleurs[6]);
    } else if (avecPrecedent && (e.Code == code::Trait2 || e.Code == code::Rectangle2 ||
                                 e.Code == code::Rayon || e.Code == code::Ellipse2)) {
      const int32_t largeur = Epaisseur(ctx, e.Attribut);
      const ModePlume copie = ModePlume::Copie;
      if (e.Code == code::Trait2) {
        Segment(ctx, a, b, largeur, couleur, copie);
      } else if (e.Code == code::Rectangle2) {
        Rect(ctx, a, b, largeur, couleur, copie);
      } else if (e.Code == code::Rayon) {
        Cercle(ctx, d.X, d.Y, e.X, largeur, couleur, copie);
      } else {
        Ovale(ctx, a, b, largeur, couleur, copie);
      }
    }
  }
  if (!ctx.SansCurseur) MontreCurseur(ctx);
}

namespace {

void TraceSurbrillance(const Circuit& c, ContexteTrace& ctx) {
  if (ctx.SelectionDebut <= 0) return;
  TraceCircuit(c, ctx.SelectionDebut, ctx.SelectionFin,
               CouleursSurbrillance(ctx.EtatSelection.Travail), ctx, ctx.EtatSelection);
}

}  // namespace

void ChoixSelection(const Circuit& c, Plage p, const EtatTravail& etat, ContexteTrace& ctx) {
  CacheSelection(c, ctx);
  ctx.SelectionDebut = p.Premier;
  ctx.SelectionFin = p.Dernier;
  ctx.EtatSelection = etat;
  TraceSurbrillance(c, ctx);
  ctx.SelectionVisible = true;
}

void CacheSelection(const Circuit& c, ContexteTrace& ctx) {
  if (ctx.SelectionVisible) TraceSurbrillance(c, ctx);
  ctx.SelectionVisible = false;
}

void MontreSelection(const Circuit& c, ContexteTrace& ctx) {
  if (!ctx.SelectionVisible) TraceSurbrillance(c, ctx);
  ctx.SelectionVisible = true;
}

void AnnuleSelection(const Circuit& c, ContexteTrace& ctx) {
  CacheSelection(c, ctx);
  ctx.SelectionDebut = 0;
  ctx.SelectionFin = 0;
}

void AnnuleSelectionSiVisible(const Circuit& c, ContexteTrace& ctx) {
  if (ctx.SelectionVisible) AnnuleSelection(c, ctx);
}

}  // namespace korv4
