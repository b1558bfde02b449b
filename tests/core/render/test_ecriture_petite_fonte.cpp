#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/EcriturePetiteFonte.h"

namespace korv4 {
namespace {

// Records the pen moves as "M x y" / "L x y"; any other call is recorded as "autre".
class CanevasTrace : public Canevas {
 public:
  std::vector<std::string> appels;

  void CouleurPlume(Couleur) override { appels.push_back("autre"); }
  void EpaisseurPlume(int) override { appels.push_back("autre"); }
  void StyleDePlume(StylePlume) override { appels.push_back("autre"); }
  void ModeDePlume(ModePlume) override { appels.push_back("autre"); }
  void CouleurBrosse(Couleur) override { appels.push_back("autre"); }
  void StyleDeBrosse(StyleBrosse) override { appels.push_back("autre"); }
  void MoveTo(int x, int y) override { Note("M", x, y); }
  void LineTo(int x, int y) override { Note("L", x, y); }
  void Rectangle(int, int, int, int) override { appels.push_back("autre"); }
  void Ellipse(int, int, int, int) override { appels.push_back("autre"); }
  void Polygone(const int*, int) override { appels.push_back("autre"); }
  void Pixel(int, int, Couleur) override { appels.push_back("autre"); }

 private:
  void Note(const char* quoi, int x, int y) {
    appels.push_back(std::string(quoi) + " " + std::to_string(x) + " " + std::to_string(y));
  }
};

// The Windows-1252 bytes of a UTF-8 text of the Latin-1 range.
std::string Octets(const char* utf8) {
  std::string r;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
    if (*p >= 0xC0) {
      r += static_cast<char>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
      ++p;
    } else {
      r += static_cast<char>(*p);
    }
  }
  return r;
}

std::vector<TraitFonte> Traits(uint8_t c) {
  const Glyphe g = GlypheDe(c);
  return std::vector<TraitFonte>(g.traits, g.traits + g.nombre);
}

struct Boite {
  int xmin = 99, xmax = -99, ymin = 99, ymax = -99;
};

Boite BoiteDe(uint8_t c) {
  Boite b;
  for (const TraitFonte& t : Traits(c)) {
    for (int x : {t.x1, t.x2}) b.xmin = std::min(b.xmin, x), b.xmax = std::max(b.xmax, x);
    for (int y : {t.y1, t.y2}) b.ymin = std::min(b.ymin, y), b.ymax = std::max(b.ymax, y);
  }
  return b;
}

// Two strokes lying on one line and sharing more than a point: drawn in exclusive-or, the
// shared part would vanish.
bool Recouvrement(const TraitFonte& s, const TraitFonte& t) {
  const int dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  auto croix = [&](int x, int y) { return dx * (y - s.y1) - dy * (x - s.x1); };
  if (croix(t.x1, t.y1) != 0 || croix(t.x2, t.y2) != 0) return false;
  auto abscisse = [&](int x, int y) { return dx * (x - s.x1) + dy * (y - s.y1); };
  const int a = abscisse(t.x1, t.y1), b = abscisse(t.x2, t.y2);
  const int lo = std::max(0, std::min(a, b)), hi = std::min(dx * dx + dy * dy, std::max(a, b));
  return hi > lo;
}

TEST(PetiteFonte, ChaqueGlypheResteDansLaGrille) {
  ASSERT_STREQ(DefautTableFonte(), "");
  const TableFonte table = TableDeLaFonte();
  EXPECT_EQ(table.debut[0], 0);
  EXPECT_EQ(table.debut[256 - 32], table.nombreTraits);
  for (int c = 0; c < 256; ++c) {
    const Glyphe g = GlypheDe(static_cast<uint8_t>(c));
    const bool vide = c < 32 || c == ' ' || c == '"' || c == 160;
    EXPECT_EQ(g.nombre == 0, vide) << "code " << c;
    EXPECT_LE(g.nombre, kTraitsMaxGlyphe) << "code " << c;
    if (c >= 32) {
      EXPECT_EQ(g.traits, table.traits + table.debut[c - 32]) << "code " << c;
      EXPECT_EQ(g.nombre, table.debut[c - 31] - table.debut[c - 32]) << "code " << c;
    }
    for (int i = 0; i < g.nombre; ++i) {
      const TraitFonte& t = g.traits[i];
      for (int x : {t.x1, t.x2}) EXPECT_TRUE(x >= 0 && x <= 9) << "code " << c << " x " << x;
      for (int y : {t.y1, t.y2}) EXPECT_TRUE(y >= -2 && y <= 9) << "code " << c << " y " << y;
      EXPECT_FALSE(t.x1 == t.x2 && t.y1 == t.y2) << "code " << c << ": trait nul";
      // "A" is the one exception: its right leg is drawn down and half back up (the accented
      // capitals A do without).
      for (int j = 0; j < i && c != 'A'; ++j) {
        EXPECT_FALSE(Recouvrement(g.traits[j], t))
            << "code " << c << ": traits " << j << " et " << i << " l'un sur l'autre";
      }
    }
  }
}

TEST(PetiteFonte, FamillesSurLeurLigneEtALeurHauteur) {
  struct Famille {
    std::string nom, caracteres;
    Boite dans;           // every member stays inside
    std::string atteint;  // and reaches these sides: g(auche), d(roite), b(as), h(aut)
  };
  const std::vector<Famille> familles = {
      {"capitales", "ABCDEFGHJKLMNOPQRSTUVWXYZ", {0, 4, 0, 6}, "gdbh"},
      {"I et 1", "I1", {0, 4, 0, 6}, "bh"},
      {"chiffres", "023456789", {0, 4, 0, 6}, "gdbh"},
      {"minuscules", "acemnorsuvwxz", {0, 4, 0, 4}, "gdbh"},
      {"hampes", "bdfhkt", {0, 4, 0, 6}, "gdbh"},
      {"l", "l", {0, 4, 0, 6}, "dbh"},
      {"i", "i", {0, 4, 0, 7}, "bh"},
      {"j", "j", {0, 4, -2, 7}, "bh"},
      {"jambages", "gpqy", {0, 4, -2, 4}, "gdbh"},
      {"minuscules accentuees", Octets("àáâãäèéêëñòóôõöùúûü") + "\x9A\x9E", {0, 4, 0, 7}, "gdbh"},
      {"i accentues", Octets("ìíîï"), {0, 4, 0, 7}, "bh"},
      {"jambages accentues", Octets("ýÿ"), {0, 4, -2, 7}, "gdbh"},
      {"a rond", Octets("å"), {0, 4, 0, 8}, "gdbh"},
      {"c cedille", Octets("ç"), {0, 4, -2, 4}, "gdbh"},
      {"C cedille", Octets("Ç"), {0, 4, -2, 6}, "gdbh"},
      {"capitales accentuees",
       Octets("ÀÁÂÃÄÅÈÉÊËÑÒÓÔÕÖÙÚÛÜÝ") + "\x8A\x8E\x9F",
       {0, 4, 0, 9},
       "gdbh"},
      {"I accentues", Octets("ÌÍÎÏ"), {0, 4, 0, 9}, "bh"},
  };
  for (const Famille& f : familles) {
    for (char ch : f.caracteres) {
      const uint8_t c = static_cast<uint8_t>(ch);
      const Boite b = BoiteDe(c), &d = f.dans;
      const std::string quoi = f.nom + ", code " + std::to_string(c);
      EXPECT_TRUE(b.xmin >= d.xmin && b.xmax <= d.xmax && b.ymin >= d.ymin && b.ymax <= d.ymax)
          << quoi;
      const auto atteint = [&f](char cote) { return f.atteint.find(cote) != std::string::npos; };
      EXPECT_TRUE(!atteint('g') || b.xmin == d.xmin) << quoi << " gauche";
      EXPECT_TRUE(!atteint('d') || b.xmax == d.xmax) << quoi << " droite";
      EXPECT_TRUE(!atteint('b') || b.ymin == d.ymin) << quoi << " bas";
      EXPECT_TRUE(!atteint('h') || b.ymax == d.ymax) << quoi << " haut";
    }
  }
  // An accent leaves a clear unit above its letter: nothing drawn strictly between x-height
  // and x-height + 2 over a small letter, between 6 and 8 over a capital.
  for (char ch : Octets("àáâãäèéêëìíîïñòóôõöùúûüýÿÀÁÂÃÄÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝ")) {
    const uint8_t c = static_cast<uint8_t>(ch);
    const int haut = c >= 0xE0 ? 4 : 6;
    for (const TraitFonte& t : Traits(c))
      EXPECT_FALSE(std::min(t.y1, t.y2) < haut + 2 && std::max(t.y1, t.y2) > haut) << int(c);
  }
}

// The strokes of a glyph as x1, y1, x2, y2, x1, y1...
std::vector<int> Plat(uint8_t c) {
  std::vector<int> v;
  for (const TraitFonte& t : Traits(c)) v.insert(v.end(), {t.x1, t.y1, t.x2, t.y2});
  return v;
}

TEST(PetiteFonte, GlyphesImposes) {
  const std::vector<int> e = {3, 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 3, 0, 3, 1, 4,
                              1, 4, 3, 4, 3, 4, 4, 3, 4, 3, 4, 2, 4, 2, 0, 2};
  std::vector<int> eAigu = e;
  eAigu.insert(eAigu.end(), {1, 6, 3, 7});
  const struct {
    uint8_t c;
    std::vector<int> traits;
  } cas[] = {
      {'A', {0, 0, 0, 4, 0, 4, 2, 6, 2, 6, 4, 4, 4, 4, 4, 0, 4, 0, 4, 3, 4, 3, 0, 3}},
      {'1', {1, 0, 2, 0, 2, 0, 2, 6, 2, 6, 1, 5, 2, 0, 3, 0}},
      {'O', {3, 6, 1, 6, 1, 6, 0, 5, 0, 5, 0, 1, 0, 1, 1, 0,
             1, 0, 3, 0, 3, 0, 4, 1, 4, 1, 4, 5, 4, 5, 3, 6}},
      {'.', {0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 0}},
      {'g', {2, -2, 3, -2, 3, -2, 4, -1, 4, -1, 4, 4, 4, 4, 1, 4,
             1, 4,  0, 3,  0, 3,  0, 1,  0, 1,  1, 0, 1, 0, 4, 0}},
      {'e', e},
      {0xE9, eAigu},  // é
  };
  for (const auto& k : cas) EXPECT_EQ(Plat(k.c), k.traits) << "code " << int(k.c);
}

TEST(PetiteFonte, OrientationsQuartsDeTourEtMiroirs) {
  // Device y grows downward: a quarter turn counter-clockwise sends (dx, dy) to (dy, -dx).
  auto quart = [](MatriceOrientation m) { return MatriceOrientation{m.c, m.d, -m.a, -m.b}; };
  auto egal = [](MatriceOrientation m, MatriceOrientation n) {
    return m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d;
  };
  EXPECT_TRUE(egal(kOrientations[0], {1, 0, 0, -1}));   // upright
  EXPECT_TRUE(egal(kOrientations[4], {-1, 0, 0, -1}));  // mirrored left to right
  for (int o : {1, 2, 3, 5, 6, 7})
    EXPECT_TRUE(egal(kOrientations[o], quart(kOrientations[o - 1]))) << o;
  const int pareille[8] = {6, 7, 4, 5, 2, 3, 0, 1};  // orientation 8 + i draws as pareille[i]
  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(egal(kOrientations[8 + i], kOrientations[pareille[i]])) << 8 + i;
}

TEST(PetiteFonte, TraceLettreArronditChaqueProduitVersMoinsLInfini) {
  struct Cas {
    const char* nom;
    uint8_t c;
    int echelle, orientation;
    size_t trait;  // which stroke
    const char* de;
    const char* a;
  };
  const Cas cas[] = {
      {"A droit", 'A', 4, 0, 0, "M 100 200", "L 100 196"},
      {"A en miroir", 'A', 4, 4, 0, "M 100 200", "L 100 196"},
      {"A en miroir, 3e trait", 'A', 4, 4, 2, "M 98 194", "L 96 196"},
      {"point a l'echelle 2: -0,5 devient -1", '.', 2, 0, 0, "M 100 200", "L 100 199"},
      {"jambage de g a l'echelle 2", 'g', 2, 0, 0, "M 101 201", "L 101 201"},
      {"1 en demi-tour a l'echelle 3", '1', 3, 2, 2, "M 98 204", "L 99 203"},
      {"1 en quart de tour a l'echelle 5", '1', 5, 1, 1, "M 100 197", "L 92 197"},
  };
  for (const Cas& k : cas) {
    CanevasTrace t;
    TraceLettre(t, 100, 200, k.echelle, k.orientation, k.c);
    ASSERT_EQ(t.appels.size(), 2u * GlypheDe(k.c).nombre) << k.nom;
    EXPECT_EQ(t.appels[2 * k.trait], k.de) << k.nom;
    EXPECT_EQ(t.appels[2 * k.trait + 1], k.a) << k.nom;
  }
}

TEST(PetiteFonte, RienATracerNiAContourner) {
  const struct {
    uint8_t c;
    int orientation;
  } cas[] = {{' ', 0}, {'"', 0}, {160, 0}, {31, 0}, {0, 3}, {'A', 16}, {'A', -1}};
  for (const auto& k : cas) {
    CanevasTrace t;
    TraceLettre(t, 10, 10, 8, k.orientation, k.c);
    EXPECT_TRUE(t.appels.empty()) << int(k.c) << " " << k.orientation;
    const ContourCaractere r = ContourLettre(10, k.orientation, k.c);
    EXPECT_EQ(r.nombre, 0);
    EXPECT_EQ(r.traits[0], (TraitContour{0, 0, 0, 0}));
  }
}

TEST(PetiteFonte, ContourLettreDuUn) {
  const ContourCaractere r = ContourLettre(10, 0, '1');
  ASSERT_EQ(r.nombre, 4);
  EXPECT_EQ(r.traits[0], (TraitContour{10, 0, 20, 0}));
  EXPECT_EQ(r.traits[2], (TraitContour{20, 60, 10, 50}));
  EXPECT_EQ(r.traits[4], (TraitContour{0, 0, 0, 0}));
  // Quarter turn counter-clockwise: the text reads upward, its top to the left.
  EXPECT_EQ(ContourLettre(10, 1, '1').traits[1], (TraitContour{0, 20, -60, 20}));
}

// Drawn at four pixels for four units there is no rounding: the canvas then sees exactly the
// plotter's strokes with y turned down, for every glyph in every orientation.
TEST(PetiteFonte, TraceEtContourDonnentLesMemesTraits) {
  for (int c = 32; c < 256; ++c) {
    for (int o = 0; o < kNbOrientations; ++o) {
      CanevasTrace t;
      TraceLettre(t, 0, 0, 4, o, static_cast<uint8_t>(c));
      const ContourCaractere r = ContourLettre(3, o, static_cast<uint8_t>(c));
      ASSERT_EQ(t.appels.size(), 2u * r.nombre) << c << " " << o;
      for (int i = 0; i < r.nombre; ++i) {
        const TraitContour& s = r.traits[i];
        ASSERT_EQ(s.X1 % 3 | s.Y1 % 3 | s.X2 % 3 | s.Y2 % 3, 0);
        EXPECT_EQ(t.appels[2 * i],
                  "M " + std::to_string(s.X1 / 3) + " " + std::to_string(-s.Y1 / 3))
            << c << " " << o;
        EXPECT_EQ(t.appels[2 * i + 1],
                  "L " + std::to_string(s.X2 / 3) + " " + std::to_string(-s.Y2 / 3))
            << c << " " << o;
      }
    }
  }
}

}  // namespace
}  // namespace korv4
