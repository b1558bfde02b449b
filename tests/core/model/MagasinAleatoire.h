#pragma once

// Seeded random stores for the differential tests and the benchmarks: well-formed elements on a
// small grid (so that track ends meet often) mixed, when asked, with the damage files and
// interrupted edits leave behind (open tracks, lone middle or last points, unclosed groups,
// stray markers, random codes).

#include <algorithm>
#include <random>
#include <vector>

#include "Enregistrement.h"
#include "model/Circuit.h"

namespace korv4::essai {

class MagasinAleatoire {
 public:
  explicit MagasinAleatoire(uint32_t graine) : g_(graine) {}

  int Tire(int de, int a) { return std::uniform_int_distribution<int>(de, a)(g_); }
  bool Chance(int pourcent) { return Tire(0, 99) < pourcent; }
  uint16_t Coord() { return static_cast<uint16_t>(100 * Tire(1, 6)); }

  // A track of n points walking the grid in the eight directions (some steps straight on, so
  // that the collinear pass has work).
  void Piste(std::vector<ElementCI>& v, int n, bool fermee = true) {
    const uint8_t couche = static_cast<uint8_t>(Tire(1, 2));
    const uint8_t code = static_cast<uint8_t>(Chance(70) ? 163 : 161);
    int x = Coord(), y = Coord();
    int dx = Tire(-1, 1), dy = Tire(-1, 1);
    for (int k = 0; k < n; ++k) {
      uint8_t attr = k == 0 ? kPremierPoint : (k == n - 1 && fermee ? kDernierPoint : kPointMilieu);
      v.push_back(Rec(couche, code, attr, static_cast<uint16_t>(x), static_cast<uint16_t>(y)));
      if (Chance(40)) dx = Tire(-1, 1), dy = Tire(-1, 1);
      if (dx == 0 && dy == 0) dx = 1;
      x = std::clamp(x + 100 * dx, 100, 600);
      y = std::clamp(y + 100 * dy, 100, 600);
    }
  }

  // A chain of points cut into fragments that share their ends, each fragment drawn in either
  // direction, the fragments in random order.
  void Chaine(std::vector<ElementCI>& v, int fragments, uint8_t couche, uint8_t code) {
    std::vector<std::pair<int, int>> pts;
    int x = 1000, y = 1000;
    pts.emplace_back(x, y);
    std::vector<std::vector<ElementCI>> frag;
    for (int f = 0; f < fragments; ++f) {
      const int n = Tire(2, 4);
      std::vector<ElementCI> t;
      for (int k = 0; k < n; ++k) {
        if (k > 0) {
          x += 100 * Tire(0, 1);
          y += 100;
        }
        t.push_back(
            Rec(couche, code, kPointMilieu, static_cast<uint16_t>(x), static_cast<uint16_t>(y)));
      }
      if (Chance(50)) std::reverse(t.begin(), t.end());
      t.front().Attribut = kPremierPoint;
      t.back().Attribut = kDernierPoint;
      frag.push_back(t);
    }
    std::shuffle(frag.begin(), frag.end(), g_);
    for (auto& t : frag) v.insert(v.end(), t.begin(), t.end());
  }

  // A store of about n records; damaged = true mixes in damage.
  std::vector<ElementCI> Magasin(int n, bool abime) {
    std::vector<ElementCI> v;
    std::vector<int> groupes;
    while (static_cast<int>(v.size()) < n) {
      const int genre = Tire(0, 99);
      if (genre < 40) {
        Piste(v, Tire(2, 5), !(abime && Chance(10)));
      } else if (genre < 50) {
        v.push_back(Rec(3, static_cast<uint8_t>(Tire(192, 205)), static_cast<uint8_t>(Tire(0, 9)),
                        Coord(), Coord()));
      } else if (genre < 58) {
        const uint8_t code = static_cast<uint8_t>(std::array<int, 4>{64, 65, 68, 69}[Tire(0, 3)]);
        const uint8_t couche = static_cast<uint8_t>(Tire(1, 4));
        const int m = Tire(1, 3);
        for (int k = 0; k < m; ++k)
          v.push_back(Rec(couche, code, static_cast<uint8_t>(Tire(1, 3)), Coord(), Coord(), 'A'));
        if (!(abime && Chance(10))) v.push_back(Rec(couche, 79, 0, 0, 0));
      } else if (genre < 66) {
        const uint8_t code = static_cast<uint8_t>(128 + 2 * Tire(0, 3));
        const uint8_t couche = static_cast<uint8_t>(Tire(1, 4));
        v.push_back(Rec(couche, code, 1, Coord(), Coord()));
        if (!(abime && Chance(10)))
          v.push_back(
              Rec(couche, code + 1, 1, code == 132 ? 100 : Coord(), code == 132 ? 0 : Coord()));
      } else if (genre < 74) {
        groupes.push_back(static_cast<int>(v.size()));
        v.push_back(Rec(0, 255, 0, Coord(), Coord()));
      } else if (genre < 82) {
        if (!groupes.empty()) {
          groupes.pop_back();
          v.push_back(Rec(0, 254, 0, Coord(), Coord()));
        }
      } else if (abime) {
        static const uint8_t codes[] = {0, 79, 128, 129, 133, 160, 161, 163, 166, 254, 255, 7};
        static const uint8_t attrs[] = {0, 0x40, 0x60, 0x80, 0x80, 0x40, 0x60, 3};
        v.push_back(Rec(static_cast<uint8_t>(Tire(0, 4)), codes[Tire(0, 11)], attrs[Tire(0, 7)],
                        Coord(), Coord()));
      }
    }
    if (!abime)
      while (!groupes.empty()) {
        groupes.pop_back();
        v.push_back(Rec(0, 254, 0, Coord(), Coord()));
      }
    return v;
  }

  // Track points of one layer and width on a 3 x 3 grid with random roles, and a few markers:
  // nearly every point is some track's partner, and most tracks are damaged.
  std::vector<ElementCI> MagasinDense(int n) {
    static const uint8_t roles[] = {0x80, 0x60, 0x40, 0x80, 0x40, 0x60, 0};
    std::vector<ElementCI> v;
    for (int k = 0; k < n; ++k) {
      const int genre = Tire(0, 99);
      const uint8_t code = genre < 4 ? 255 : (genre < 8 ? 254 : (genre < 12 ? 161 : 163));
      v.push_back(Rec(code >= 254 ? 0 : 1, code, roles[Tire(0, 6)],
                      static_cast<uint16_t>(100 * Tire(1, 3)),
                      static_cast<uint16_t>(100 * Tire(1, 3))));
    }
    return v;
  }

  std::mt19937& Generateur() { return g_; }

 private:
  std::mt19937 g_;
};

inline void Charge(Circuit& c, const std::vector<ElementCI>& v) {
  c.NbElements = static_cast<int32_t>(v.size());
  std::copy(v.begin(), v.end(), c.Elements.begin() + 1);
  c.CircuitModifie = false;
}

}  // namespace korv4::essai
