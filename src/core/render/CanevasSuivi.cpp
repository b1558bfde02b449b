#include "render/CanevasSuivi.h"

#include <algorithm>

namespace korv4 {

namespace {

bool Vide(const RectPixel& r) { return r.Droite <= r.Gauche || r.Bas <= r.Haut; }

int64_t Aire(const RectPixel& r) {
  if (Vide(r)) return 0;
  return static_cast<int64_t>(r.Droite - r.Gauche) * (r.Bas - r.Haut);
}

RectPixel Union(const RectPixel& a, const RectPixel& b) {
  return RectPixel{std::min(a.Gauche, b.Gauche), std::min(a.Haut, b.Haut),
                   std::max(a.Droite, b.Droite), std::max(a.Bas, b.Bas)};
}

RectPixel Inter(const RectPixel& a, const RectPixel& b) {
  return RectPixel{std::max(a.Gauche, b.Gauche), std::max(a.Haut, b.Haut),
                   std::min(a.Droite, b.Droite), std::min(a.Bas, b.Bas)};
}

// The boxes kept apart at most; more are joined into the last.
constexpr size_t kBoitesMax = 8;

}  // namespace

void CanevasSuivi::Ajoute(int x1, int y1, int x2, int y2, int largeur) {
  const int m = largeur / 2 + 2;  // half the pen and the pixel a figure may pass its box by
  AjouteBoite(RectPixel{std::min(x1, x2) - m, std::min(y1, y2) - m, std::max(x1, x2) + m + 1,
                        std::max(y1, y2) + m + 1});
}

void CanevasSuivi::AjouteBoite(const RectPixel& r) {
  if (Vide(r)) return;
  if (Vide(dommage_)) {
    dommage_ = r;
    return;
  }
  const RectPixel u = Union(dommage_, r);
  // Joined while the union covers little more than the two (a figure beside the last one);
  // a place far away starts a box of its own.
  constexpr int64_t kMarge = 64 * 64;
  if (Aire(u) > 2 * (Aire(dommage_) + Aire(r)) + kMarge && fermees_.size() < kBoitesMax) {
    fermees_.push_back(dommage_);
    dommage_ = r;
  } else {
    dommage_ = u;
  }
}

RectPixel CanevasSuivi::Prend() {
  RectPixel r = dommage_;
  for (const RectPixel& b : fermees_) r = Vide(r) ? b : Union(r, b);
  if (!Vide(defilement_.Zone)) r = Vide(r) ? defilement_.Zone : Union(r, defilement_.Zone);
  dommage_ = RectPixel{};
  fermees_.clear();
  defilement_ = Defilement{};
  return r;
}

void CanevasSuivi::Prend(Changement& c) {
  c.defilement = defilement_;
  c.boites.clear();
  c.boites.insert(c.boites.end(), fermees_.begin(), fermees_.end());
  if (!Vide(dommage_)) c.boites.push_back(dommage_);
  dommage_ = RectPixel{};
  fermees_.clear();
  defilement_ = Defilement{};
}

void CanevasSuivi::Defile(const RectPixel& r, int32_t dx, int32_t dy) {
  if (Vide(r)) return;
  if (!Vide(defilement_.Zone)) {
    // Two scrolls: the area changed as a whole.
    const RectPixel avant = defilement_.Zone;
    defilement_ = Defilement{};
    AjouteBoite(avant);
    AjouteBoite(r);
    return;
  }
  // The boxes touched before move with the pixels; what lay outside the area stays.
  std::vector<RectPixel> avant;
  avant.swap(fermees_);
  if (!Vide(dommage_)) avant.push_back(dommage_);
  dommage_ = RectPixel{};
  for (const RectPixel& b : avant) {
    const RectPixel dedans = Inter(b, r);
    AjouteBoite(Inter(
        RectPixel{dedans.Gauche + dx, dedans.Haut + dy, dedans.Droite + dx, dedans.Bas + dy}, r));
    if (Aire(dedans) != Aire(b)) AjouteBoite(b);
  }
  defilement_ = Defilement{r, dx, dy};
}

}  // namespace korv4
