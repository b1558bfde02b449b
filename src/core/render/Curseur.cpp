#include "render/Curseur.h"

#include <algorithm>
#include <cstdlib>

namespace korv4 {

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
  const Curseur forme = ctx.FormeCurseur;

  t.MoveTo(c.X - h, c.Y);
  t.LineTo(c.X + h, c.Y);
  t.MoveTo(c.X, c.Y - h);
  t.LineTo(c.X, c.Y + h);
  if (forme == Curseur::Pastille) {
    t.Rectangle(c.X - h, c.Y - h, c.X + h, c.Y + h);
  } else if (forme == Curseur::Piste) {
    t.MoveTo(c.X - h, c.Y - h);
    t.LineTo(c.X + h, c.Y + h);
    t.MoveTo(c.X + h, c.Y - h);
    t.LineTo(c.X - h, c.Y + h);
  }

  if (ctx.ElastiqueActif) {
    if (forme == Curseur::Croix || forme == Curseur::Pastille || forme == Curseur::Cadre) {
      t.StyleDePlume(StylePlume::Pointille);
      t.Rectangle(a.X, a.Y, b.X, b.Y);
    } else if (forme == Curseur::CadrePorte) {
      t.StyleDePlume(StylePlume::Pointille);
      t.Rectangle(c.X, c.Y, c.X + b.X - a.X, c.Y + a.Y - b.Y);
    }
  }

  if (!(c == a)) {
    switch (forme) {
      case Curseur::Zone:
        t.StyleDePlume(StylePlume::Pointille);
        t.EpaisseurPlume(1);
        t.Rectangle(a.X, a.Y, c.X, c.Y);
        break;
      case Curseur::Trait:
      case Curseur::Piste:
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        t.MoveTo(a.X, a.Y);
        t.LineTo(c.X, c.Y);
        break;
      case Curseur::Cercle: {
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        const int32_t r = std::max(std::abs(c.X - a.X), std::abs(c.Y - a.Y));
        t.Ellipse(a.X - r, a.Y - r, a.X + r, a.Y + r);
        break;
      }
      case Curseur::Rectangle:
        t.StyleDePlume(StylePlume::Plein);
        t.EpaisseurPlume(ctx.LargeurElastique);
        t.Rectangle(a.X, a.Y, c.X, c.Y);
        break;
      case Curseur::Ellipse:
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
  if (ctx.FormeCurseur == Curseur::Piste && ctx.PisteEnCours) {
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
  // Tracks stretch at their width, drawings at the chosen thickness, the rest at one pixel.
  const int32_t p = ctx.PisteCurseur;
  ctx.LargeurElastique =
      (p >= 1 && p <= 6)
          ? ctx.Tailles.LargeurPiste[p]
          : (ctx.DessinCurseur
                 ? ctx.Tailles.EpaisseurDessin[std::clamp(ctx.EpaisseurElastique, 0, 6)]
                 : 1);
  TraceCurseur(ctx);
  ctx.CurseurVisible = true;
}

void RazCurseur(ContexteTrace& ctx) {
  CacheCurseur(ctx);
  ctx.FormeCurseur = Curseur::Croix;
  ctx.ElastiqueActif = false;
  ctx.PisteEnCours = false;
}

void ChoixFormeCurseur(ContexteTrace& ctx, Curseur forme, int32_t piste, bool dessin) {
  CacheCurseur(ctx);
  ctx.FormeCurseur = forme;
  ctx.PisteCurseur = piste;
  ctx.DessinCurseur = dessin;
  if (forme == Curseur::Croix) ctx.ElastiqueActif = false;
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
