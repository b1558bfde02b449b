#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "editeur/Editeur.h"
#include "render/Curseur.h"
#include "render/TraceBandes.h"
#include "render/TraceCircuit.h"

// The view: the surface laid out in the drawing area with its scroll bars, the zoom and the
// grid, the cursor on the grid and its coordinates in the status bar.

namespace korv4 {

namespace {

using C = Controle;

// The drawing area: what the scroll bars shown leave of the client area.
RectPixel ZoneLibre(const Editeur& ed) {
  RectPixel r;
  r.Droite = ed.LargeurClient - (EstVisible(ed, C::PanelAscVertical) ? ed.EpaisseurAscenseur : 0);
  r.Bas = ed.HauteurClient - (EstVisible(ed, C::PanelAscHorizontal) ? ed.EpaisseurAscenseur : 0);
  r.Droite = std::max(r.Droite, 0);
  r.Bas = std::max(r.Bas, 0);
  return r;
}

void Pas(Ascenseur& a, int32_t page) {
  a.GrandPas = std::max(page / 10, 1);
  a.PetitPas = std::max(page / 100, 1);
}

}  // namespace

void calculascenseurX(Editeur& ed, int32_t v, int32_t t) {
  if (!(t > v && v >= 1)) return;
  Ascenseur& a = ed.AscHorizontal;
  a.Page = static_cast<int32_t>((1000LL * v) / t);
  if (a.Position + a.Page >= 1000) a.Position = 1000 - a.Page;
  Pas(a, a.Page);
  ++ed.Version;
}

void calculascenseurY(Editeur& ed, int32_t v, int32_t t) {
  if (!(t > v && v >= 1)) return;
  Ascenseur& a = ed.AscVertical;
  const int32_t bas = a.Position + a.Page;
  a.Page = static_cast<int32_t>((1000LL * v) / t);
  // The lower edge of the page stays; the page never starts above the surface's top.
  a.Position = std::clamp(bas - a.Page, 0, 1000 - a.Page);
  Pas(a, a.Page);
  ++ed.Version;
}

void VueALOrigine(Editeur& ed) {
  // The next layout keeps the page's lower edge: at the bottom of the surface.
  ed.AscHorizontal.Position = 0;
  ed.AscVertical.Position = 1000 - ed.AscVertical.Page;
  ++ed.Version;
}

namespace {

// The part of the surface left of (or below) the view, in the screen's pixels, rounded down to
// a whole pixel of the window: on a screen of twice the density every scroll moves the picture
// by an even number of the screen's pixels, which the window can have the screen move.
int32_t Decalage(const Editeur& ed, int64_t surface, int32_t milliemes) {
  const int64_t pixel = ed.Resolution % 10 == 0 ? ed.Resolution / 10 : 1;
  return static_cast<int32_t>((surface * milliemes) / 1000 / pixel * pixel);
}

}  // namespace

void calculorigineX(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  if (EstVisible(ed, C::PanelAscHorizontal)) {
    ctx.OrigineX = Decalage(ed, ctx.LargeurSurface, ed.AscHorizontal.Position) - ctx.Zone.Gauche;
  } else {
    ctx.OrigineX = -ctx.Zone.Gauche;
  }
}

void calculorigineY(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  const Ascenseur& a = ed.AscVertical;
  if (EstVisible(ed, C::PanelAscVertical)) {
    ctx.OrigineY = Decalage(ed, ctx.HauteurSurface, 1000 - a.Page - a.Position) + ctx.Zone.Bas - 1;
  } else {
    ctx.OrigineY = ctx.Zone.Bas;
  }
}

void Affichage(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  ctx.SansCurseur = false;
  RectPixel r = ZoneLibre(ed);
  const int32_t wpx = PixelX(ctx, ctx.SurfaceX);
  const int32_t hpx = PixelY(ctx, ctx.SurfaceY);
  Visible(ed, C::PanelAscHorizontal, r.Droite - r.Gauche < wpx);
  Visible(ed, C::PanelAscVertical, r.Bas - r.Haut < hpx);
  r = ZoneLibre(ed);
  ed.AscHorizontal.Visible = EstVisible(ed, C::PanelAscHorizontal);
  ed.AscVertical.Visible = EstVisible(ed, C::PanelAscVertical);
  calculascenseurX(ed, r.Droite - r.Gauche, wpx);
  calculascenseurY(ed, r.Bas - r.Haut, hpx);
  ctx.Zone = r;
  ctx.LargeurSurface = wpx;
  ctx.HauteurSurface = hpx;
  ctx.Toile = &ed.toile;
}

void DeplacePixels(Editeur& ed, const RectPixel& r, int32_t dx, int32_t dy, bool deux) {
  const int32_t largeur = r.Droite - r.Gauche - std::abs(dx);
  const int32_t gaucheSource = r.Gauche + std::max(-dx, 0);
  const int32_t gaucheCible = r.Gauche + std::max(dx, 0);
  auto ligne = [&](int32_t y) { return ed.Image.Pixels + y * ed.Image.Pas; };
  // Columns [c0, c1) of the row span moved, rows [h, b) of the rows written.
  auto deplace = [&](int32_t c0, int32_t c1, int32_t h, int32_t b) {
    const size_t octets = static_cast<size_t>(c1 - c0) * 4u;
    if (dy > 0) {
      for (int32_t y = b - 1; y >= h; --y)
        std::memmove(ligne(y) + gaucheCible + c0, ligne(y - dy) + gaucheSource + c0, octets);
    } else {
      for (int32_t y = h; y < b; ++y)
        std::memmove(ligne(y) + gaucheCible + c0, ligne(y - dy) + gaucheSource + c0, octets);
    }
  };
  const int32_t haut = dy > 0 ? r.Haut + dy : r.Haut, bas = dy > 0 ? r.Bas : r.Bas + dy;
  if (largeur <= 0 || bas <= haut) return;
  // Up or down, each side moves its own columns; sideways, each its own rows: no part reads
  // what the other writes.
  if (!deux || (dx == 0) == (dy == 0) || largeur < 2 || bas - haut < 2) {
    deplace(0, largeur, haut, bas);
    return;
  }
  const double part = ed.equipe.PartAppelant();
  if (dx == 0) {
    const int32_t m = std::clamp(static_cast<int32_t>(largeur * part), 1, largeur - 1);
    const double travail[2] = {static_cast<double>(m), static_cast<double>(largeur - m)};
    ed.equipe.Partage(
        2, [&](int i) { i == 0 ? deplace(0, m, haut, bas) : deplace(m, largeur, haut, bas); },
        travail);
  } else {
    const int32_t m =
        std::clamp(haut + static_cast<int32_t>((bas - haut) * part), haut + 1, bas - 1);
    const double travail[2] = {static_cast<double>(m - haut), static_cast<double>(bas - m)};
    ed.equipe.Partage(
        2, [&](int i) { i == 0 ? deplace(0, largeur, haut, m) : deplace(0, largeur, m, bas); },
        travail);
  }
}

namespace {

// The background, the circuit and the origin mark, drawn straight into the pixels of r (inside
// the drawing area) of the image, as a full redraw leaves them there (r must not start on a grid
// row or column other than the area's own first ones). The cursor and the selection's marks are
// the caller's.
void TraceRectangle(const Editeur& ed, const RectPixel& r, bool origine = true) {
  std::function<void(ContexteTrace&)> marque;
  if (origine && ed.OrigineRelative) {
    marque = [&ed](ContexteTrace& t) {
      TraceMarqueOrigine(t, ed.X0, ed.Y0, ModePlume::OuExclusif, ed.ctx.CouleurCurseur, 0);
    };
  }
  TraceRectangleImage(ed.circuit, ed.Etat, ed.ctx, ed.Image.Pixels, ed.Image.Pas, r, marque);
}

// Where the area r splits into two bands for the two threads of a redraw, the first band
// holding the share of the work the team keeps for its caller. No split when no second
// processor is free, or when the work is too small to pay for the second thread: waking it
// costs a few tenths of a millisecond on a virtual machine, which a redraw of fewer than about
// 16000 records in view does not win back (measured at every zoom on the 100000-record
// benchmark). The work is guessed from one record in eight: the rows of those in view, counted
// by slices, with each row's own background (a record drawn costs about as much as 256 pixels
// of background).
struct Partage {
  int32_t Rang = 0;  // the second band's first row; r.Haut: no split
  double Travail[2] = {};
};

Partage PartageEnBandes(const Editeur& ed, const RectPixel& r) {
  constexpr int32_t kTranches = 64, kMarge = 64, kVusMin = 16000, kPas = 8;
  Partage p{r.Haut, {}};
  const int32_t hauteur = r.Bas - r.Haut;
  if (hauteur < 2 * kTranches) return p;
  const ContexteTrace& ctx = ed.ctx;
  const double kx = ctx.ResolX * static_cast<double>(ValeurZoom(ctx)) / (ctx.EchelleX * 20.0);
  const double ky = ctx.ResolY * static_cast<double>(ValeurZoom(ctx)) / (ctx.EchelleY * 20.0);
  const int32_t tranche = (hauteur + kTranches - 1) / kTranches;
  double poids[kTranches] = {};
  const Circuit& c = ed.circuit;
  double vus = 0;
  // In slices from the area's top: x and y of a record's point, the rows as slices.
  const double x0 = ctx.OrigineX + r.Gauche - kMarge, x1 = ctx.OrigineX + r.Droite + kMarge;
  const double parTranche = 1.0 / tranche;
  const double y0 = (ctx.OrigineY - r.Haut) * parTranche, dy = ky * parTranche;
  const double marge = static_cast<double>(kMarge) / tranche;
  for (int32_t i = 1; i <= c.NbElements; i += kPas) {
    const ElementCI& e = c.Elements[i];
    const double x = e.X * kx, t = y0 - e.Y * dy;
    if (x < x0 || x >= x1 || t < -marge || t >= kTranches + marge) continue;
    poids[std::clamp(static_cast<int32_t>(t), 0, kTranches - 1)] += kPas;
    vus += kPas;
  }
  if (vus < kVusMin || !Equipe::ProcesseurLibre()) return p;
  const double fond = (r.Droite - r.Gauche) / 256.0;
  double total = 0;
  for (int32_t k = 0; k < kTranches; ++k) {
    poids[k] += fond * std::max(0, std::min(tranche, hauteur - k * tranche));
    total += poids[k];
  }
  const double premiere = total * ed.equipe.PartAppelant();
  int32_t m = r.Bas;
  double cumul = 0;
  for (int32_t k = 0; k < kTranches; ++k) {
    if (cumul + poids[k] >= premiere) {
      const double part = poids[k] > 0 ? (premiere - cumul) / poids[k] : 0;
      m = r.Haut + k * tranche + static_cast<int32_t>(part * tranche);
      break;
    }
    cumul += poids[k];
  }
  m = RangHorsGrille(ctx, std::clamp(m, r.Haut + kMarge / 4, r.Bas - kMarge / 4));
  // The work on each side of the row, the slice it falls in shared by rows.
  const int32_t km = (m - r.Haut) / tranche;
  double haut = 0;
  for (int32_t k = 0; k < km; ++k) haut += poids[k];
  haut += poids[km] * (m - r.Haut - km * tranche) / tranche;
  p.Rang = m;
  p.Travail[0] = haut;
  p.Travail[1] = total - haut;
  return p;
}

// The drawing area within the image.
RectPixel ZoneImage(const Editeur& ed) {
  const RectPixel& z = ed.ctx.Zone;
  return RectPixel{std::max(z.Gauche, 0), std::max(z.Haut, 0), std::min(z.Droite, ed.Image.Largeur),
                   std::min(z.Bas, ed.Image.Hauteur)};
}

// The image holds a full redraw of the drawing area (with the marks shown), drawn into these
// very pixels.
bool ImageDessinee(const Editeur& ed) {
  return ed.Image.Pixels != nullptr && ed.ctx.Toile == &ed.toile &&
         ed.Image.Dessinee == ed.Image.Pixels && ed.Image.LargeurDessinee == ed.Image.Largeur &&
         ed.Image.HauteurDessinee == ed.Image.Hauteur;
}

// After a scroll: the picture already drawn moved by the change of origin, and only the strips
// it uncovers drawn, when the image holds a full redraw of the same area at the same zoom.
// `avant` is the context of that redraw. False when the whole area must be drawn again.
bool Defile(Editeur& ed, const ContexteTrace& avant) {
  ContexteTrace& ctx = ed.ctx;
  if (ctx.Toile != &ed.toile || ctx.Zoom != avant.Zoom || ctx.Zone.Gauche != avant.Zone.Gauche ||
      ctx.Zone.Haut != avant.Zone.Haut || ctx.Zone.Droite != avant.Zone.Droite ||
      ctx.Zone.Bas != avant.Zone.Bas || ctx.LargeurSurface != avant.LargeurSurface ||
      ctx.HauteurSurface != avant.HauteurSurface) {
    return false;
  }
  const RectPixel r = ZoneImage(ed);
  // A point at pixel column X - OrigineX and row OrigineY - Y.
  const int32_t dx = avant.OrigineX - ctx.OrigineX, dy = ctx.OrigineY - avant.OrigineY;
  if (std::abs(dx) >= r.Droite - r.Gauche || std::abs(dy) >= r.Bas - r.Haut) return false;
  if (dx != 0 || dy != 0) {
    // A large move on two threads when a second processor is free.
    constexpr int64_t kPixelsDeux = int64_t{1} << 20;
    DeplacePixels(ed, r, dx, dy,
                  int64_t{r.Droite - r.Gauche} * (r.Bas - r.Haut) >= kPixelsDeux &&
                      Equipe::ProcesseurLibre());
    // The window lets the screen move its pixels too, and copies only what is drawn below.
    ed.toile.Defile(r, dx, dy);
  } else {
    ed.toile.Tout(r);
  }
  auto trace = [&ed](const RectPixel& bande) {
    TraceRectangle(ed, bande, false);
    ed.toile.Tout(bande);
  };
  // The strips uncovered, each starting one pixel early on a grid row or column, whose dots
  // the background leaves out on the first row and column it draws (and leaves out of the
  // area's first row and column: moved, these are drawn again).
  int32_t pas = (ValeurZoom(ctx) * 10) / 20;
  if (pas < 10) pas *= 2;
  const bool grille = ctx.Zoom > 0 && pas > 0;
  RectPixel reste = r;  // what the rows drawn leave
  if (dy != 0) {
    RectPixel bande = r;
    if (dy > 0) {
      // With the area's first row as it was, now moved below the strip: drawn without grid
      // dots, it may be a grid row now.
      bande.Bas = std::min(r.Haut + dy + 1, r.Bas);
      reste.Haut = bande.Bas;
    } else {
      bande.Haut = r.Bas + dy;
      reste.Bas = bande.Haut;
      if (bande.Haut > 0 && grille && (ctx.OrigineY - bande.Haut) % pas == 0) --bande.Haut;
    }
    trace(bande);
  }
  if (dx != 0 && reste.Bas > reste.Haut) {
    RectPixel bande = reste;
    if (dx > 0) {
      bande.Droite = std::min(r.Gauche + dx + 1, r.Droite);  // the first column too, as above
    } else {
      bande.Gauche = r.Droite + dx;
      if (bande.Gauche > 0 && grille && (bande.Gauche + ctx.OrigineX) % pas == 0) --bande.Gauche;
    }
    if (bande.Haut > 0 && grille && (ctx.OrigineY - bande.Haut) % pas == 0) {
      // The row above is already drawn: the strip takes it again, unchanged by the move.
      --bande.Haut;
    }
    trace(bande);
  }
  // The first row and column of the area never show grid dots: those the move brought there
  // go, by drawing that row or column again.
  if (dy < 0 && grille && (ctx.OrigineY - r.Haut) % pas == 0)
    trace(RectPixel{r.Gauche, r.Haut, r.Droite, r.Haut + 1});
  if (dx < 0 && grille && (r.Gauche + ctx.OrigineX) % pas == 0)
    trace(RectPixel{r.Gauche, r.Haut, r.Gauche + 1, r.Bas});
  return true;
}

}  // namespace

namespace {

// The full redraw straight into the image's pixels, in one pass over the drawing area (what
// lies under the scroll bars is never seen), split at row `rang` into two bands drawn on two
// threads when it falls inside the area; `travail`: the work of each band, if known.
void ReTraceImage(Editeur& ed, int32_t rang, const double* travail) {
  ContexteTrace& ctx = ed.ctx;
  Circuit& c = ed.circuit;
  CacheCurseur(ctx);
  // The sizes of the zoom, which every band's copy of the context takes.
  CalculTailles(ctx, c.EnteteCI.DiametresPercage);
  const RectPixel r = ZoneImage(ed);
  if (r.Droite > r.Gauche && r.Bas > r.Haut) {
    if (rang > r.Haut && rang < r.Bas) {
      const RectPixel bandes[2] = {{r.Gauche, r.Haut, r.Droite, rang},
                                   {r.Gauche, rang, r.Droite, r.Bas}};
      ed.equipe.Partage(
          2, [&](int i) { TraceRectangle(ed, bandes[i]); }, travail);
    } else {
      TraceRectangle(ed, r);
    }
    ed.toile.Tout(r);
  }
  ed.Image.Dessinee = ed.Image.Pixels;
  ed.Image.LargeurDessinee = ed.Image.Largeur;
  ed.Image.HauteurDessinee = ed.Image.Hauteur;
  if (!ctx.SansCurseur) MontreCurseur(ctx);
  MontreSelection(c, ctx);
}

}  // namespace

void ReTraceCimpEnBandes(Editeur& ed, int32_t rang) {
  if (ed.Image.Pixels == nullptr || ed.ctx.Toile != &ed.toile) {
    ReTraceCimp(ed);
    return;
  }
  CacheSelection(ed.circuit, ed.ctx);
  ReTraceImage(ed, RangHorsGrille(ed.ctx, rang), nullptr);
}

void ReTraceCimp(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  Circuit& c = ed.circuit;
  CacheSelection(c, ctx);
  if (ed.Image.Pixels != nullptr && ctx.Toile == &ed.toile) {
    const Partage p = PartageEnBandes(ed, ZoneImage(ed));
    ReTraceImage(ed, p.Rang, p.Travail);
    return;
  }
  ed.Image.Dessinee = nullptr;  // drawn elsewhere: the image no longer holds this redraw
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, ed.Etat);
  MontreSelection(c, ctx);
  if (ed.OrigineRelative) {
    TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
  }
}

void ReTraceBoite(Editeur& ed, const Cadre& b, int32_t marge) {
  ContexteTrace& ctx = ed.ctx;
  if (ed.Image.Pixels == nullptr) {
    ReTraceCimp(ed);
    return;
  }
  const PointPixel hg = PixelPoint(ctx, b.Gauche, b.Haut), bd = PixelPoint(ctx, b.Droite, b.Bas);
  RectPixel r{std::max({hg.X - marge, ctx.Zone.Gauche, 0}),
              std::max({hg.Y - marge, ctx.Zone.Haut, 0}),
              std::min({bd.X + marge + 1, ctx.Zone.Droite, ed.Image.Largeur}),
              std::min({bd.Y + marge + 1, ctx.Zone.Bas, ed.Image.Hauteur})};
  if (r.Droite <= r.Gauche || r.Bas <= r.Haut) return;  // nothing of it shows
  // The background leaves out the grid dots of the first row and column of what it draws
  // (row and column 0 of the whole area): the box starts one pixel before a grid row or column.
  int32_t pas = (ValeurZoom(ctx) * ctx.ResolX) / 20;
  if (pas < ctx.ResolX) pas *= 2;
  if (r.Gauche > 0 && pas > 0 && (r.Gauche + ctx.OrigineX) % pas == 0) --r.Gauche;
  if (r.Haut > 0 && pas > 0 && (ctx.OrigineY - r.Haut) % pas == 0) --r.Haut;

  Circuit& c = ed.circuit;
  CacheSelection(c, ctx);
  CacheCurseur(ctx);
  TraceRectangle(ed, r);
  ed.toile.Tout(r);
  MontreSelection(c, ctx);
  MontreCurseur(ctx);
}

void TraceCimp(Editeur& ed) {
  Affichage(ed);
  calculorigineX(ed);
  calculorigineY(ed);
  ReTraceCimp(ed);
}

void Affichagecurseur(Editeur& ed, int32_t px, int32_t py) {
  ContexteTrace& ctx = ed.ctx;
  const int32_t s = kPasGrille[ctx.Grille];
  const int32_t h = PixelX(ctx, s) / 2;
  AmeneCurseur(ed, std::max(GrilleX(ctx, h + px + ctx.OrigineX), 0),
               std::max(GrilleY(ctx, h - py + ctx.OrigineY), 0));
}

void AmeneCurseur(Editeur& ed, int32_t x, int32_t y) {
  ContexteTrace& ctx = ed.ctx;
  const int32_t s = kPasGrille[ctx.Grille];
  if (ctx.FormeCurseur == Curseur::CadrePorte) {
    const Cadre& z = ed.circuit.Selection.CadreZone;
    const int32_t w = z.Droite - z.Gauche;
    const int32_t hg = z.Haut - z.Bas;
    // Held at the last grid point that keeps the frame on the surface: what is put down stays
    // on the grid.
    if (w + x > ctx.SurfaceX) x = (ctx.SurfaceX - w) / s * s;
    if (hg + y > ctx.SurfaceY) y = (ctx.SurfaceY - hg) / s * s;
    // The box is held by the grid point nearest its corner: a step back while that puts it over
    // the edge.
    while (x >= s && z.Droite + DeplacementPorteX(ed, x) > ctx.SurfaceX) x -= s;
    while (y >= s && z.Haut + DeplacementPorteY(ed, y) > ctx.SurfaceY) y -= s;
    // A frame larger than the surface cannot be held inside it: it stays at the origin.
    x = std::max(x, 0);
    y = std::max(y, 0);
  }
  Affichecurseur(ed, x, y);
}

void Affichecurseur(Editeur& ed, int32_t x, int32_t y) {
  ContexteTrace& ctx = ed.ctx;
  if (x < ctx.SurfaceX && y < ctx.SurfaceY) {
    const int32_t ancienX = ctx.CurseurX, ancienY = ctx.CurseurY;
    PlaceCurseur(ctx, x, y);
    ed.ApercuTouches = true;
    if (ctx.CurseurX != ancienX || ctx.CurseurY != ancienY) Affichepositioncurseur(ed);
  } else if (ed.OrigineRelative) {
    Panneau(ed, 0, "Xr = ----");
    Panneau(ed, 1, "Yr = ----");
  } else {
    Panneau(ed, 0, "X = ----");
    Panneau(ed, 1, "Y = ----");
    Panneau(ed, 2, "");
    Panneau(ed, 3, "");
  }
}

void Affichepositioncurseur(Editeur& ed) {
  const ContexteTrace& ctx = ed.ctx;
  if (ed.OrigineRelative) {
    Panneau(ed, 0, "X0 = " + FormatCoordonnee(ed, ed.X0));
    Panneau(ed, 1, "Y0 = " + FormatCoordonnee(ed, ed.Y0));
    Panneau(ed, 2, "Xr = " + FormatCoordonnee(ed, ctx.CurseurX - ed.X0));
    Panneau(ed, 3, "Yr = " + FormatCoordonnee(ed, ctx.CurseurY - ed.Y0));
  } else {
    Panneau(ed, 0, "X = " + FormatCoordonnee(ed, ctx.CurseurX));
    Panneau(ed, 1, "Y = " + FormatCoordonnee(ed, ctx.CurseurY));
    Panneau(ed, 2, "");
    Panneau(ed, 3, "");
  }
}

std::string FormatCoordonnee(const Editeur& ed, int32_t v) {
  const int64_t n = ed.EnMillimetres ? (int64_t{v} * 254) / 100 : v;
  std::string chiffres = std::to_string(n < 0 ? -n : n);
  if (chiffres.size() < 3) {
    chiffres.insert(0, ",");
  } else {
    chiffres.insert(chiffres.size() - 2, ",");
  }
  return (n < 0 ? "-" : "") + chiffres + (ed.EnMillimetres ? " mm" : " pas");
}

void FormResize(Editeur& ed, int32_t largeur, int32_t hauteur) {
  // The drawing area takes exactly the new space, scroll bars or not: the window lays it out
  // again.
  if (std::max(largeur, 0) != ed.LargeurClient || std::max(hauteur, 0) != ed.HauteurClient) {
    ++ed.Version;
  }
  ed.LargeurClient = std::max(largeur, 0);
  ed.HauteurClient = std::max(hauteur, 0);
  TraceCimp(ed);
}

void DensiteEcran(Editeur& ed, int32_t resolution) {
  resolution = std::clamp(resolution, 10, 40);
  if (resolution == ed.Resolution) return;
  CacheCurseur(ed.ctx);  // hidden at the size it was drawn at
  ed.Resolution = resolution;
  ed.ctx.ResolX = ed.ctx.ResolY = resolution;
}

namespace {
void SuitAscenseurs(Editeur& ed);
}  // namespace

void AscenseurChange(Editeur& ed, bool vertical, int32_t position) {
  Ascenseur& a = vertical ? ed.AscVertical : ed.AscHorizontal;
  a.Position = std::clamp(position, 0, 1000);
  if (a.Position + a.Page > 1000) a.Position = 1000 - a.Page;
  ++ed.Version;
  SuitAscenseurs(ed);
}

namespace {

// The view follows the scroll bars' new positions: the picture drawn moves and only what it
// uncovers is drawn, or all is drawn again.
void SuitAscenseurs(Editeur& ed) {
  if (!ImageDessinee(ed)) {
    TraceCimp(ed);
    return;
  }
  // The marks drawn in exclusive-or leave the picture, which then moves with the origin; they
  // come back as a full redraw draws them.
  ContexteTrace& ctx = ed.ctx;
  const ContexteTrace avant = ctx;
  CacheSelection(ed.circuit, ctx);
  CacheCurseur(ctx);
  if (ed.OrigineRelative) {
    TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
  }
  Affichage(ed);
  calculorigineX(ed);
  calculorigineY(ed);
  if (!Defile(ed, avant)) {
    ReTraceCimp(ed);
    return;
  }
  CalculTailles(ctx, ed.circuit.EnteteCI.DiametresPercage);
  if (!ctx.SansCurseur) MontreCurseur(ctx);
  MontreSelection(ed.circuit, ctx);
  if (ed.OrigineRelative) {
    TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
  }
}

}  // namespace

void ChoixEchelle1Change(Editeur& ed, int32_t index) {
  index = std::clamp(index, 0, 9);
  if (ed.IndexEchelle != index) {
    ed.IndexEchelle = index;
    ++ed.Version;
  }
  if (index == ed.ctx.Zoom) return;
  // The cursor is hidden at the scale it was drawn at.
  CacheCurseur(ed.ctx);
  ed.ctx.Zoom = index;
  TraceCimp(ed);
}

void Choixgrille1Change(Editeur& ed, int32_t index) {
  ed.IndexGrille = std::clamp(index, 0, 5);
  ed.ctx.Grille = ed.IndexGrille;
  ++ed.Version;
}

void ZoomPlus1Click(Editeur& ed) {
  if (ed.IndexEchelle < 9) ChoixEchelle1Change(ed, ed.IndexEchelle + 1);
}

void Zoommoins1Click(Editeur& ed) {
  if (ed.IndexEchelle >= 1) ChoixEchelle1Change(ed, ed.IndexEchelle - 1);
}

void Originerelative1Click(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  if (ed.OrigineRelative) {
    TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
  }
  ed.OrigineRelative = true;
  ed.X0 = ctx.CurseurX;
  ed.Y0 = ctx.CurseurY;
  TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
}

void Origineabsolue1Click(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  if (ed.OrigineRelative) {
    TraceMarqueOrigine(ctx, ed.X0, ed.Y0, ModePlume::OuExclusif, ctx.CouleurCurseur, 0);
  }
  ed.OrigineRelative = false;
}

namespace {

int64_t Arrondi(int64_t n, int64_t d) { return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d); }

// The scroll positions that bring the surface pixel (sx from the surface's left edge, sy from
// its bottom edge) under the drawing area's pixel (px, py), within the surface's edges (a
// scroll bar moves by thousandths of the surface). Only the scroll bars shown move.
void PlacePoint(Editeur& ed, int64_t sx, int64_t sy, int32_t px, int32_t py) {
  const ContexteTrace& ctx = ed.ctx;
  if (EstVisible(ed, C::PanelAscHorizontal) && ctx.LargeurSurface > 0) {
    Ascenseur& a = ed.AscHorizontal;
    const int64_t p = Arrondi((sx - px + ctx.Zone.Gauche) * 1000, ctx.LargeurSurface);
    a.Position = static_cast<int32_t>(std::clamp<int64_t>(p, 0, std::max(1000 - a.Page, 0)));
  }
  if (EstVisible(ed, C::PanelAscVertical) && ctx.HauteurSurface > 0) {
    Ascenseur& a = ed.AscVertical;
    const int64_t k = Arrondi((py + sy - ctx.Zone.Bas + 1) * 1000, ctx.HauteurSurface);
    a.Position =
        static_cast<int32_t>(std::clamp<int64_t>(1000 - a.Page - k, 0, std::max(1000 - a.Page, 0)));
  }
  ++ed.Version;
}

// Scroll pixels gathered until they make a thousandth of the surface: the thousandths they
// make, the rest kept.
int32_t Milliemes(int32_t& reste, int32_t pixels, int32_t surface) {
  if (surface <= 0) return 0;
  reste = static_cast<int32_t>(std::clamp<int64_t>(int64_t{reste} + pixels, -(1 << 30), 1 << 30));
  const int64_t m = (int64_t{reste} * 1000) / surface;
  reste -= static_cast<int32_t>((m * surface) / 1000);
  return static_cast<int32_t>(m);
}

}  // namespace

int32_t PixelsParCran(const Editeur& ed, bool vertical) {
  const Ascenseur& a = vertical ? ed.AscVertical : ed.AscHorizontal;
  const int64_t surface = vertical ? ed.ctx.HauteurSurface : ed.ctx.LargeurSurface;
  return static_cast<int32_t>(std::max<int64_t>((surface * a.GrandPas + 999) / 1000, 1));
}

void DefilePixels(Editeur& ed, int32_t dx, int32_t dy, int32_t px, int32_t py) {
  const ContexteTrace& ctx = ed.ctx;
  bool bouge = false;
  if (dx != 0 && EstVisible(ed, C::PanelAscHorizontal)) {
    Ascenseur& a = ed.AscHorizontal;
    const int32_t m = Milliemes(ed.ResteDefilement[0], dx, ctx.LargeurSurface);
    const int32_t p = std::clamp(a.Position + m, 0, std::max(1000 - a.Page, 0));
    if (p == 0 || p == 1000 - a.Page) ed.ResteDefilement[0] = 0;  // nothing left to go
    bouge |= p != a.Position;
    a.Position = p;
  }
  if (dy != 0 && EstVisible(ed, C::PanelAscVertical)) {
    Ascenseur& a = ed.AscVertical;
    const int32_t m = Milliemes(ed.ResteDefilement[1], dy, ctx.HauteurSurface);
    const int32_t p = std::clamp(a.Position + m, 0, std::max(1000 - a.Page, 0));
    if (p == 0 || p == 1000 - a.Page) ed.ResteDefilement[1] = 0;
    bouge |= p != a.Position;
    a.Position = p;
  }
  if (!bouge) return;
  ++ed.Version;
  SuitAscenseurs(ed);
  // The surface moved under the pointer: the cursor (and its rubber band) follow the pointer.
  Affichagecurseur(ed, px, py);
}

void ZoomAutour(Editeur& ed, int32_t index, int32_t px, int32_t py) {
  ContexteTrace& ctx = ed.ctx;
  index = std::clamp(index, 0, 9);
  if (index == ctx.Zoom) {
    ChoixEchelle1Change(ed, index);
    return;
  }
  // The point under the pointer, as a fraction of the surface's size in pixels.
  const int64_t sx = int64_t{px} + ctx.OrigineX, sy = int64_t{ctx.OrigineY} - py;
  const int64_t l = std::max(ctx.LargeurSurface, 1), h = std::max(ctx.HauteurSurface, 1);
  ed.IndexEchelle = index;
  CacheCurseur(ctx);  // hidden at the scale it was drawn at
  ctx.Zoom = index;
  Affichage(ed);
  PlacePoint(ed, (sx * ctx.LargeurSurface) / l, (sy * ctx.HauteurSurface) / h, px, py);
  ed.ResteDefilement = {};
  TraceCimp(ed);
}

void AjusteFenetre(Editeur& ed) {
  ContexteTrace& ctx = ed.ctx;
  const Circuit& c = ed.circuit;
  // The elements (pads at their size), widened by half the widest track; or the surface.
  Cadre b{0, ctx.SurfaceY, ctx.SurfaceX, 0};
  if (c.NbElements > 0) {
    const Cadre e = CadreElements(c, 1, c.NbElements);
    if (e.Droite >= e.Gauche && e.Haut >= e.Bas) {
      constexpr int32_t kMarge = 50;
      b = Cadre{std::max(e.Gauche - kMarge, 0), std::min(e.Haut + kMarge, ctx.SurfaceY),
                std::min(e.Droite + kMarge, ctx.SurfaceX), std::max(e.Bas - kMarge, 0)};
    }
  }
  CacheCurseur(ctx);
  int32_t zoom = 0;
  for (int32_t z = 9; z >= 0; --z) {
    ctx.Zoom = z;
    Affichage(ed);  // the scroll bars this zoom needs, and the drawing area they leave
    if (PixelX(ctx, b.Droite - b.Gauche) <= ctx.Zone.Droite - ctx.Zone.Gauche &&
        PixelY(ctx, b.Haut - b.Bas) <= ctx.Zone.Bas - ctx.Zone.Haut) {
      zoom = z;
      break;
    }
  }
  ctx.Zoom = zoom;
  ed.IndexEchelle = zoom;
  Affichage(ed);
  const int64_t cx = PixelX(ctx, b.Gauche) + PixelX(ctx, b.Droite - b.Gauche) / 2;
  const int64_t cy = PixelY(ctx, b.Bas) + PixelY(ctx, b.Haut - b.Bas) / 2;
  PlacePoint(ed, cx, cy, (ctx.Zone.Gauche + ctx.Zone.Droite) / 2,
             (ctx.Zone.Haut + ctx.Zone.Bas) / 2);
  ed.ResteDefilement = {};
  TraceCimp(ed);
}

void DebutGlisse(Editeur& ed, int32_t px, int32_t py) {
  ed.Glisse.Actif = true;
  ed.Glisse.X = int64_t{px} + ed.ctx.OrigineX;
  ed.Glisse.Y = int64_t{ed.ctx.OrigineY} - py;
}

void Glisse(Editeur& ed, int32_t px, int32_t py) {
  if (!ed.Glisse.Actif) return;
  const int32_t h = ed.AscHorizontal.Position, v = ed.AscVertical.Position;
  PlacePoint(ed, ed.Glisse.X, ed.Glisse.Y, px, py);
  if (ed.AscHorizontal.Position != h || ed.AscVertical.Position != v) TraceCimp(ed);
}

void CentreSur(Editeur& ed, int32_t x, int32_t y) {
  const ContexteTrace& ctx = ed.ctx;
  const int32_t largeur = ctx.Zone.Droite - ctx.Zone.Gauche;
  const int32_t hauteur = ctx.Zone.Bas - ctx.Zone.Haut;
  if (EstVisible(ed, C::PanelAscHorizontal) && ctx.LargeurSurface > 0) {
    const int64_t gauche = int64_t{PixelX(ctx, x)} - largeur / 2;
    const Ascenseur& a = ed.AscHorizontal;
    const int32_t p = static_cast<int32_t>(
        std::clamp<int64_t>((gauche * 1000) / ctx.LargeurSurface, 0, std::max(1000 - a.Page, 0)));
    if (p != a.Position) AscenseurChange(ed, false, p);
  }
  if (EstVisible(ed, C::PanelAscVertical) && ctx.HauteurSurface > 0) {
    // The page's top edge, counted from the surface's top.
    const int64_t haut = int64_t{ctx.HauteurSurface} - PixelY(ctx, y) - hauteur / 2;
    const Ascenseur& a = ed.AscVertical;
    const int32_t p = static_cast<int32_t>(
        std::clamp<int64_t>((haut * 1000) / ctx.HauteurSurface, 0, std::max(1000 - a.Page, 0)));
    if (p != a.Position) AscenseurChange(ed, true, p);
  }
}

void MontreEndroit(Editeur& ed, int couche, int32_t x, int32_t y) {
  // The work that holds what is shown: a face, or the placement plan; a pad (both faces) is
  // seen on the face in view, else on face 1.
  C bouton = C::Aucun;
  const int32_t travail = ed.Etat.Travail;
  switch (couche) {
    case 1: bouton = C::BoutonAffichageFace1; break;
    case 2: bouton = C::BoutonAffichageFace2; break;
    case 3:
      if (travail != 1 && travail != 2) bouton = C::BoutonAffichageFace1;
      break;
    case 4: bouton = C::BoutonAffichageImplantation; break;
    default: break;
  }
  if (bouton != C::Aucun && !EstEnfonce(ed, bouton)) Clic(ed, bouton);
  CentreSur(ed, x, y);
}

void DeplaceCurseurClavier(Editeur& ed, int32_t dx, int32_t dy) {
  ContexteTrace& ctx = ed.ctx;
  const int32_t s = kPasGrille[ctx.Grille];
  // From the grid point nearest the cursor, by whole steps, within the surface.
  const auto place = [s](int32_t v, int32_t d, int32_t surface) {
    const int32_t depart = (v + s / 2) / s * s;
    const int32_t dernier = std::max(surface - 1, 0) / s * s;
    return std::clamp(depart + d * s, 0, dernier);
  };
  const int32_t x = place(ctx.CurseurX, dx, ctx.SurfaceX);
  const int32_t y = place(ctx.CurseurY, dy, ctx.SurfaceY);
  // The view follows a cursor that would leave the drawing area.
  const PointPixel p = PixelPoint(ctx, x, y);
  if (p.X < ctx.Zone.Gauche || p.X >= ctx.Zone.Droite || p.Y < ctx.Zone.Haut ||
      p.Y >= ctx.Zone.Bas) {
    CentreSur(ed, x, y);
  }
  AmeneCurseur(ed, x, y);
}

}  // namespace korv4
