#include "render/CanevasImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace korv4 {

namespace {

// Ceiling and floor of a value within the range of int: the truncation corrected by one
// comparison (std::ceil and std::floor take a dozen instructions without SSE4.1, and ran at
// every row of every figure).
inline int Plafond(double v) {
  const int i = static_cast<int>(v);
  return i + (static_cast<double>(i) < v ? 1 : 0);
}
inline int Plancher(double v) {
  const int i = static_cast<int>(v);
  return i - (static_cast<double>(i) > v ? 1 : 0);
}

// Pixels whose centre x + 0.5 lies in [lo, hi].
inline int PremierPixel(double lo) { return Plafond(lo - 0.5 - 1e-9); }
inline int DernierPixel(double hi) { return Plancher(hi - 0.5 + 1e-9); }

// Span of row centre yc across the ellipse of centre (cx, cy) and radii (ax, ay).
bool SpanEllipse(double cx, double cy, double ax, double ay, double yc, int& x1, int& x2) {
  if (ax <= 0 || ay <= 0) return false;
  const double dy = (yc - cy) / ay;
  if (dy * dy > 1.0 + 1e-9) return false;
  const double h = ax * std::sqrt(std::max(0.0, 1.0 - dy * dy));
  x1 = PremierPixel(cx - h);
  x2 = DernierPixel(cx + h);
  return x1 <= x2;
}

bool Convexe(const int* xy, int n) {
  int signe = 0;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n, k = (i + 2) % n;
    const long long cx =
        static_cast<long long>(xy[2 * j] - xy[2 * i]) * (xy[2 * k + 1] - xy[2 * j + 1]) -
        static_cast<long long>(xy[2 * j + 1] - xy[2 * i + 1]) * (xy[2 * k] - xy[2 * j]);
    if (cx == 0) continue;
    const int s = cx > 0 ? 1 : -1;
    if (signe == 0) signe = s;
    if (s != signe) return false;
  }
  return true;
}

}  // namespace

CanevasImage::CanevasImage(uint32_t* pixels, int largeur, int hauteur, std::ptrdiff_t pas)
    : pixels_(pixels), largeur_(largeur), hauteur_(hauteur), pas_(pas) {}

// Inlined into every figure: most spans are a few pixels long, and the call costs as much as
// the fill.
__attribute__((always_inline)) inline void CanevasImage::Ligne(int y, int x1, int x2, Couleur c) {
  if (y < 0 || y >= hauteur_) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, largeur_ - 1);
  if (x1 > x2) return;
  uint32_t* p = pixels_ + pas_ * y;
  if (mode_ == ModePlume::OuExclusif) {
    const uint32_t v = c & 0xFFFFFF;
    for (int x = x1; x <= x2; ++x) p[x] ^= v;
  } else {
    const uint32_t v = 0xFF000000u | c;
    // A long span by the C library's wmemset (wchar_t is a 32-bit pixel here), which takes the
    // widest stores the processor has: a third faster on large figures.
    static_assert(sizeof(wchar_t) == sizeof(uint32_t), "wmemset fills 32-bit pixels");
    if (x2 - x1 >= 15) {
      wmemset(reinterpret_cast<wchar_t*>(p + x1), static_cast<wchar_t>(v), x2 - x1 + 1);
    } else {
      for (int x = x1; x <= x2; ++x) p[x] = v;
    }
  }
}

void CanevasImage::LigneContour(int y, int x1, int x2) {
  if (style_ != StylePlume::Pointille || epaisseur_ > 1) {
    Ligne(y, x1, x2, plume_);
    return;
  }
  for (int x = x1; x <= x2; ++x) {
    if (!Pointille(x, y)) Point(x, y, plume_);
  }
}

void CanevasImage::MoveTo(int x, int y) {
  posX_ = x;
  posY_ = y;
}

void CanevasImage::LineTo(int x, int y) {
  const int x0 = posX_, y0 = posY_;
  posX_ = x;
  posY_ = y;
  if (SansEffet(false)) return;
  if (epaisseur_ <= 1) {
    TraitFin(x0, y0, x, y, false);
  } else {
    TraitLarge(x0, y0, x, y);
  }
}

void CanevasImage::TraitFin(int x1, int y1, int x2, int y2, bool dernier) {
  if (std::max(x1, x2) < 0 || std::min(x1, x2) >= largeur_ || std::max(y1, y2) < 0 ||
      std::min(y1, y2) >= hauteur_) {
    return;
  }
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  const int n = std::max(dx, dy) + (dernier ? 1 : 0);  // the end point is left out
  const bool pointille = style_ == StylePlume::Pointille;
  int x = x1, y = y1, err = dx - dy;
  const bool ouex = mode_ == ModePlume::OuExclusif;
  const uint32_t v = ouex ? (plume_ & 0xFFFFFF) : (0xFF000000u | plume_);
  for (int i = 0; i < n; ++i) {
    if ((!pointille || (i & 1) == 0) &&
        static_cast<unsigned>(x) < static_cast<unsigned>(largeur_) &&
        static_cast<unsigned>(y) < static_cast<unsigned>(hauteur_)) {
      uint32_t* p = pixels_ + pas_ * y + x;
      *p = ouex ? (*p ^ v) : v;
    }
    const int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
}

// A wide line with round ends: every pixel whose centre lies within half the width of the
// segment, one span per row.
void CanevasImage::TraitLarge(int x1, int y1, int x2, int y2) {
  const double r = epaisseur_ / 2.0;
  const int marge = epaisseur_ / 2 + 2;
  if (std::max(x1, x2) + marge < 0 || std::min(x1, x2) - marge >= largeur_ ||
      std::max(y1, y2) + marge < 0 || std::min(y1, y2) - marge >= hauteur_) {
    return;
  }
  // Odd widths are centred on the pixel, even widths on its top-left corner.
  const double o = (epaisseur_ & 1) ? 0.5 : 0.0;
  // Half-width of the round end k rows away from its centre row (k = row - y of the point);
  // negative when the row misses it. Same for every figure of this width: kept.
  if (largeurDemi_ != epaisseur_) {
    largeurDemi_ = epaisseur_;
    const int n = epaisseur_ / 2 + 2;
    demi_.assign(2 * n + 1, -1.0);
    for (int k = -n; k <= n; ++k) {
      const double d = k + 0.5 - o;
      if (d * d <= r * r + 1e-9) demi_[k + n] = std::sqrt(std::max(0.0, r * r - d * d));
    }
  }
  const int n = static_cast<int>(demi_.size() / 2);
  auto bout = [&](int k) { return (k < -n || k > n) ? -1.0 : demi_[k + n]; };

  if (y1 == y2 || x1 == x2) {
    // Along an axis: the band between the ends plus the two round ends.
    const int xa = std::min(x1, x2), xb = std::max(x1, x2);
    const int ya = std::min(y1, y2), yb = std::max(y1, y2);
    const int yDebut = std::max(0, ya - n), yFin = std::min(hauteur_ - 1, yb + n);
    if (x1 == x2 && y1 != y2) {
      // Upright: every row between the ends has the same span.
      const int p1 = PremierPixel(xa + o - r), p2 = DernierPixel(xb + o + r);
      const int jDebut = std::max(yDebut, ya), jFin = std::min(yFin, yb);
      if (p1 <= p2) {
        for (int j = jDebut; j <= jFin; ++j) Ligne(j, p1, p2, plume_);
      }
      for (int j = yDebut; j <= yFin; ++j) {
        if (j >= ya && j <= yb) {
          j = std::max(j, jFin);
          continue;
        }
        const double h = j < ya ? bout(j - ya) : bout(j - yb);
        if (h < 0) continue;
        const int q1 = PremierPixel(xa + o - h), q2 = DernierPixel(xb + o + h);
        if (q1 <= q2) Ligne(j, q1, q2, plume_);
      }
      return;
    }
    for (int j = yDebut; j <= yFin; ++j) {
      double h;
      if (j < ya) {
        h = bout(j - ya);
      } else if (j > yb) {
        h = bout(j - yb);
      } else {
        h = y1 == y2 ? bout(j - ya) : r;
      }
      if (h < 0) continue;
      const int p1 = PremierPixel(xa + o - h), p2 = DernierPixel(xb + o + h);
      if (p1 <= p2) Ligne(j, p1, p2, plume_);
    }
    return;
  }

  const double ax = x1 + o, ay = y1 + o, bx = x2 + o, by = y2 + o;
  const double dx = bx - ax, dy = by - ay;
  const double l = std::sqrt(dx * dx + dy * dy);
  const double ux = dx / l, uy = dy / l;  // neither is 0 off the axes
  const double iux = 1.0 / ux, iuy = 1.0 / uy;
  const int yDebut = std::max(0, std::min(y1, y2) - n);
  const int yFin = std::min(hauteur_ - 1, std::max(y1, y2) + n);
  for (int j = yDebut; j <= yFin; ++j) {
    const double ty = j + 0.5 - ay;
    double lo = 1e18, hi = -1e18;
    const double h1 = bout(j - y1), h2 = bout(j - y2);
    if (h1 >= 0) {
      lo = std::min(lo, ax - h1);
      hi = std::max(hi, ax + h1);
    }
    if (h2 >= 0) {
      lo = std::min(lo, bx - h2);
      hi = std::max(hi, bx + h2);
    }
    // The band between the ends: 0 <= (p - a).u <= l and |(p - a).n| <= r with
    // n = (-uy, ux), solved for x on the row.
    double a1 = (0.0 - ty * uy) * iux, b1 = (l - ty * uy) * iux;
    if (a1 > b1) std::swap(a1, b1);
    double a2 = (-r - ty * ux) * -iuy, b2 = (r - ty * ux) * -iuy;
    if (a2 > b2) std::swap(a2, b2);
    const double bLo = ax + std::max(a1, a2), bHi = ax + std::min(b1, b2);
    if (bLo <= bHi) {
      lo = std::min(lo, bLo);
      hi = std::max(hi, bHi);
    }
    if (lo <= hi) {
      const int p1 = PremierPixel(lo), p2 = DernierPixel(hi);
      if (p1 <= p2) Ligne(j, p1, p2, plume_);
    }
  }
}

void CanevasImage::Rectangle(int x1, int y1, int x2, int y2) {
  // The right and bottom edges are excluded; an empty rectangle still shows one pixel.
  const int l = std::min(x1, x2), t = std::min(y1, y2);
  const int r = std::max(l, std::max(x1, x2) - 1), b = std::max(t, std::max(y1, y2) - 1);
  if (SansEffet(true)) return;
  const int w = std::max(epaisseur_, 1);
  const int bas = w / 2, haut = w - 1 - bas;
  const int ol = l - bas, ot = t - bas, orr = r + haut, ob = b + haut;
  const int il = l + haut + 1, it = t + haut + 1, ir = r - bas - 1, ib = b - bas - 1;
  if (orr < 0 || ol >= largeur_ || ob < 0 || ot >= hauteur_) return;
  const bool plein = styleBrosse_ == StyleBrosse::Plein;
  const bool uni = plein && brosse_ == plume_ && style_ == StylePlume::Plein;
  const int yDebut = std::max(ot, 0), yFin = std::min(ob, hauteur_ - 1);
  for (int y = yDebut; y <= yFin; ++y) {
    if (uni) {
      Ligne(y, ol, orr, plume_);
    } else if (y >= it && y <= ib && il <= ir) {
      LigneContour(y, ol, il - 1);
      if (plein) Ligne(y, il, ir, brosse_);
      LigneContour(y, ir + 1, orr);
    } else {
      LigneContour(y, ol, orr);
    }
  }
}

void CanevasImage::Ellipse(int x1, int y1, int x2, int y2) {
  const int l = std::min(x1, x2), t = std::min(y1, y2);
  const int r = std::max(l, std::max(x1, x2) - 1), b = std::max(t, std::max(y1, y2) - 1);
  if (SansEffet(true)) return;
  const int w = std::max(epaisseur_, 1);
  const double cx = (l + r + 1) / 2.0, cy = (t + b + 1) / 2.0;
  const double rx = (r - l + 1) / 2.0, ry = (b - t + 1) / 2.0;
  const double ex = rx + (w - 1) / 2.0, ey = ry + (w - 1) / 2.0;  // outer edge of the pen
  const double ix = rx - (w + 1) / 2.0, iy = ry - (w + 1) / 2.0;  // inner edge
  const int marge = w / 2 + 2;
  if (r + marge < 0 || l - marge >= largeur_ || b + marge < 0 || t - marge >= hauteur_) return;
  const bool plein = styleBrosse_ == StyleBrosse::Plein;
  const bool uni = plein && brosse_ == plume_ && style_ == StylePlume::Plein;
  const int yDebut = std::max(0, t - marge), yFin = std::min(hauteur_ - 1, b + marge);
  // Rows y and t + b - y lie at the same distance from the centre (exactly: half-integers), so
  // they have the same spans: computed once, drawn on both rows.
  const int somme = t + b;
  for (int y = yDebut; y <= yFin; ++y) {
    const int miroir = somme - y;
    if (miroir < y && miroir >= yDebut) continue;  // drawn with its mirror row
    const int rangs[2] = {y, miroir};
    const int nb = (miroir > y && miroir <= yFin) ? 2 : 1;
    int o1, o2;
    if (!SpanEllipse(cx, cy, ex, ey, y + 0.5, o1, o2)) continue;
    int i1, i2;
    if (uni) {
      for (int k = 0; k < nb; ++k) Ligne(rangs[k], o1, o2, plume_);
    } else if (SpanEllipse(cx, cy, ix, iy, y + 0.5, i1, i2)) {
      for (int k = 0; k < nb; ++k) {
        LigneContour(rangs[k], o1, i1 - 1);
        if (plein) Ligne(rangs[k], i1, i2, brosse_);
        LigneContour(rangs[k], i2 + 1, o2);
      }
    } else {
      for (int k = 0; k < nb; ++k) LigneContour(rangs[k], o1, o2);
    }
  }
}

void CanevasImage::Polygone(const int* xy, int n) {
  if (n < 1 || SansEffet(true)) return;
  const bool plein = styleBrosse_ == StyleBrosse::Plein;
  if (plein && !Convexe(xy, n)) {
    PolygoneConcave(xy, n);
    return;
  }
  const bool uni = plein && brosse_ == plume_ && style_ == StylePlume::Plein;
  if (plein) {
    // Convex: the pixels whose centre row band [y - 0.5, y + 0.5] meets the polygon, from the
    // leftmost to the rightmost centre the band reaches; this covers the 1-pixel outline too.
    int yMin = xy[1], yMax = xy[1];
    for (int i = 1; i < n; ++i) {
      yMin = std::min(yMin, xy[2 * i + 1]);
      yMax = std::max(yMax, xy[2 * i + 1]);
    }
    const Couleur c = uni ? plume_ : brosse_;
    // The edges, their ends in increasing y, once for every row.
    struct Cote {
      double px, py, qx, qy;
    };
    Cote pile[16];
    std::vector<Cote> tas;
    Cote* cotes = pile;
    if (n > 16) {
      tas.resize(n);
      cotes = tas.data();
    }
    for (int i = 0; i < n; ++i) {
      const int j = (i + 1) % n;
      Cote& k = cotes[i];
      k = {static_cast<double>(xy[2 * i]), static_cast<double>(xy[2 * i + 1]),
           static_cast<double>(xy[2 * j]), static_cast<double>(xy[2 * j + 1])};
      if (k.py > k.qy) {
        std::swap(k.px, k.qx);
        std::swap(k.py, k.qy);
      }
    }
    for (int y = std::max(yMin, 0); y <= std::min(yMax, hauteur_ - 1); ++y) {
      double lo = 1e18, hi = -1e18;
      const double b0 = y - 0.5, b1 = y + 0.5;
      for (int i = 0; i < n; ++i) {
        const double px = cotes[i].px, py = cotes[i].py, qx = cotes[i].qx, qy = cotes[i].qy;
        if (qy < b0 || py > b1) continue;
        if (qy == py) {
          lo = std::min({lo, px, qx});
          hi = std::max({hi, px, qx});
          continue;
        }
        if (qx == px) {  // upright: no division (it would add 0)
          lo = std::min(lo, px);
          hi = std::max(hi, px);
          continue;
        }
        const double ya = std::max(py, b0), yb = std::min(qy, b1);
        const double xa = px + (qx - px) * (ya - py) / (qy - py);
        const double xb = px + (qx - px) * (yb - py) / (qy - py);
        lo = std::min({lo, xa, xb});
        hi = std::max({hi, xa, xb});
      }
      if (lo > hi) continue;
      const int x1 = Plafond(lo - 1e-9);
      const int x2 = Plancher(hi + 1e-9);
      Ligne(y, x1, x2, c);
    }
    if (uni) return;
  }
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    TraitFin(xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], false);
  }
}

void CanevasImage::Pixel(int x, int y, Couleur c) {
  if (x < 0 || y < 0 || x >= largeur_ || y >= hauteur_) return;
  pixels_[pas_ * y + x] = 0xFF000000u | c;
}

void CanevasImage::PolygoneConcave(const int* xy, int n) {
  int yMin = xy[1], yMax = xy[1];
  for (int i = 1; i < n; ++i) {
    yMin = std::min(yMin, xy[2 * i + 1]);
    yMax = std::max(yMax, xy[2 * i + 1]);
  }
  const Couleur c = brosse_;
  std::vector<double> croisements;
  for (int y = std::max(yMin, 0); y <= std::min(yMax, hauteur_ - 1); ++y) {
    const double yc = y;  // pixel centres on whole coordinates, as for the convex fill
    croisements.clear();
    for (int i = 0; i < n; ++i) {
      const int j = (i + 1) % n;
      const double py = xy[2 * i + 1], qy = xy[2 * j + 1];
      if ((py <= yc) == (qy <= yc)) continue;
      const double px = xy[2 * i], qx = xy[2 * j];
      croisements.push_back(px + (qx - px) * (yc - py) / (qy - py));
    }
    std::sort(croisements.begin(), croisements.end());
    for (size_t k = 0; k + 1 < croisements.size(); k += 2) {
      Ligne(y, Plafond(croisements[k] - 1e-9), Plancher(croisements[k + 1] + 1e-9), c);
    }
  }
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    TraitFin(xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1], false);
  }
}

}  // namespace korv4
