#include "render/Curseur.h"

#include <algorithm>
#include <cstdlib>

namespace korv4 {

namespace {
// The cursor shape of each tool: the shape column of the editor's action table.
constexpr int8_t kFormes[] = {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) forme,
#include "model/Actions.def"
#undef A
};
}  // namespace

int32_t FormeDeOutil(int32_t o) {
  return o >= 0 && o < static_cast<int32_t>(sizeof kFormes) ? kFormes[o] : 0;
}

namespace {

PointPixel Device(const ContexteTrace& ctx, int32_t pixX, int32_t pixY) {
  return {pixX - ctx.OrigineX, ctx.OrigineY - pixY};
}

void PixelsCurseur(ContexteTrace& ctx) {
  ctx.CurseurPixX = PixelX(ctx, ctx.CurseurX);
  ctx.CurseurPixY = PixelY(ctx, ctx.CurseurY);
}

}  // namespace

void TraceCurseur(ContexteTrace& ctx) {
  if (ctx.Toile == nullptr) return;
  Canevas& t = *ctx.Toile;
  t.CouleurPlume(ctx.CouleurCurseur);
  t.ModeDePlume(ModePlume::OuExclusif);
  t.EpaisseurPlume(1);
  t.StyleDePlume(StylePlume::Plein);
  t.StyleDeBrosse(StyleBrosse::Creux);
  const PointPixel c = Device(ctx, ctx.CurseurPixX, ctx.CurseurPixY);
  PointPixel a = c, b = c;
  if (ctx.ElastiqueActif) {
    a = Device(ctx, ctx.AncrePixX, ctx.AncrePixY);
    b = Device(ctx, ctx.SecondPixX, ctx.SecondPixY);
  }
  // Half the cursor's cross: a grid step of 1/2 pas at the screen's resolution.
  const int32_t h = (ValeurZoom(ctx) * ctx.ResolX) / 20;
  const int32_t forme = ctx.FormeCurseur;

  t.MoveTo(c.X - h, c.Y);
  t.LineTo(c.X + h, c.Y);
  t.MoveTo(c.X, c.Y - h);
  t.LineTo(c.X, c.Y + h);
  if (forme == 1) {
    t.Rectangle(c.X - h, c.Y - h, c.X + h, c.Y + h);
  } else if (forme == 5) {
    t.MoveTo(c.X - h, c.Y - h);
    t.LineTo(c.X + h, c.Y + h);
    t.MoveTo(c.X + h, c.Y - h);
    t.LineTo(c.X - h, c.Y + h);
  }

  if (ctx.ElastiqueActif) {
    if (forme == 0 || forme == 1 || forme == 9) {
      t.StyleDePlume(StylePlume::Pointille);
      t.Rectangle(a.X, a.Y, b.X, b.Y);
    } else if (forme == 10) {
      t.StyleDePlume(StylePlume::Pointille);
      t.Rectangle(c.X, c.Y, c.X + b.X - a.X, c.Y + a.Y - b.Y);
    }
  }

  if (!(c == a)) {
    switch (forme) {
      case 3:
        t.StyleDePlume(StylePlume::Pointille);
        t.EpaisseurPlume(1);
        t.Rectangle(a.X, a.Y, c.X, c.Y);
        break;
      case 4:
      case 5:
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        t.MoveTo(a.X, a.Y);
        t.LineTo(c.X, c.Y);
        break;
      case 6: {
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        const int32_t r = std::max(std::abs(c.X - a.X), std::abs(c.Y - a.Y));
        t.Ellipse(a.X - r, a.Y - r, a.X + r, a.Y + r);
        break;
      }
      case 7:
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        t.Rectangle(a.X, a.Y, c.X, c.Y);
        break;
      case 8:
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        t.Ellipse(a.X, a.Y, c.X, c.Y);
        break;
      default: break;
    }
  }
  t.StyleDePlume(StylePlume::Plein);
  t.ModeDePlume(ModePlume::Copie);
}

void PlaceCurseur(ContexteTrace& ctx, int32_t x, int32_t y) {
  if (ctx.CurseurVisible) TraceCurseur(ctx);
  if (ctx.FormeCurseur == 5 && ctx.PisteEnCours) {
    // Tracks follow the grid's eight directions from the anchor.
    const int32_t dx = std::abs(x - ctx.AncreX);
    const int32_t dy = std::abs(y - ctx.AncreY);
    if (2 * dy < dx) {
      y = ctx.AncreY;
    } else if (dy > 2 * dx) {
      x = ctx.AncreX;
    } else if (dy >= dx) {
      x = ctx.AncreX < x ? ctx.AncreX + dy : ctx.AncreX - dy;
    } else {
      y = ctx.AncreY < y ? ctx.AncreY + dx : ctx.AncreY - dx;
    }
  }
  ctx.CurseurX = x;
  ctx.CurseurY = y;
  PixelsCurseur(ctx);
  TraceCurseur(ctx);
  ctx.CurseurVisible = true;
}

void CacheCurseur(ContexteTrace& ctx) {
  if (ctx.CurseurVisible) TraceCurseur(ctx);
  ctx.CurseurVisible = false;
}

void MontreCurseur(ContexteTrace& ctx) {
  if (ctx.CurseurVisible) return;
  PixelsCurseur(ctx);
  ctx.AncrePixX = PixelX(ctx, ctx.AncreX);
  ctx.AncrePixY = PixelY(ctx, ctx.AncreY);
  ctx.SecondPixX = PixelX(ctx, ctx.SecondX);
  ctx.SecondPixY = PixelY(ctx, ctx.SecondY);
  const int32_t o = ctx.OutilCurseur;
  // Tracks stretch at their width, drawings at the chosen thickness, the rest at one pixel.
  const bool dessin = (o >= 31 && o <= 37) || (o >= 101 && o <= 107);
  ctx.LargeurElastique =
      (o >= 1 && o <= 6)
          ? ctx.Tailles.LargeurPiste[o]
          : (dessin ? ctx.Tailles.EpaisseurDessin[std::clamp(ctx.EpaisseurElastique, 0, 6)] : 1);
  TraceCurseur(ctx);
  ctx.CurseurVisible = true;
}

void RazCurseur(ContexteTrace& ctx) {
  CacheCurseur(ctx);
  ctx.FormeCurseur = 0;
  ctx.ElastiqueActif = false;
  ctx.PisteEnCours = false;
}

void ChoixFormeCurseur(ContexteTrace& ctx, int32_t outil) {
  CacheCurseur(ctx);
  ctx.OutilCurseur = outil;
  ctx.FormeCurseur = FormeDeOutil(outil);
  if (ctx.FormeCurseur == 0) ctx.ElastiqueActif = false;
  MontreCurseur(ctx);
}

void Elastique(ContexteTrace& ctx, bool actif) {
  CacheCurseur(ctx);
  if (actif) {
    ctx.AncreX = ctx.CurseurX;
    ctx.AncreY = ctx.CurseurY;
  }
  ctx.ElastiqueActif = actif;
  MontreCurseur(ctx);
}

void FixeAncre(ContexteTrace& ctx, int32_t x, int32_t y) {
  CacheCurseur(ctx);
  ctx.AncreX = x;
  ctx.AncreY = y;
  ctx.AncrePixX = PixelX(ctx, x);
  ctx.AncrePixY = PixelY(ctx, y);
  PlaceCurseur(ctx, ctx.CurseurX, ctx.CurseurY);
}

void FixeCadre(ContexteTrace& ctx, const Cadre& r, bool actif) {
  CacheCurseur(ctx);
  ctx.AncreX = r.Gauche;
  ctx.AncreY = r.Haut;
  ctx.SecondX = r.Droite;
  ctx.SecondY = r.Bas;
  ctx.ElastiqueActif = actif;
  MontreCurseur(ctx);
}

Cadre ZoneCurseur(const ContexteTrace& ctx) {
  return {std::min(ctx.CurseurX, ctx.AncreX), std::max(ctx.CurseurY, ctx.AncreY),
          std::max(ctx.CurseurX, ctx.AncreX), std::min(ctx.CurseurY, ctx.AncreY)};
}

void TraceMarqueOrigine(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur plume,
                        Couleur brosse) {
  if (ctx.Toile == nullptr) return;
  Canevas& t = *ctx.Toile;
  t.CouleurPlume(plume);
  t.EpaisseurPlume(ctx.Tailles.PlumeMarqueOrigine());
  t.StyleDePlume(StylePlume::Plein);
  t.ModeDePlume(mode);
  t.CouleurBrosse(brosse);
  t.StyleDeBrosse(StyleBrosse::Creux);
  const PointPixel p = PixelPoint(ctx, x, y);
  const int32_t c = ctx.Tailles.CroixMire();
  const int32_t r = ctx.Tailles.RayonMarqueOrigine();
  t.MoveTo(p.X + c, p.Y);
  t.LineTo(p.X - c, p.Y);
  t.MoveTo(p.X, p.Y + c);
  t.LineTo(p.X, p.Y - c);
  t.Ellipse(p.X - r, p.Y - r, p.X + r, p.Y + r);
}

}  // namespace korv4
