#include "render/Traceur.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "render/EcriturePetiteFonte.h"

namespace korv4 {

namespace {

// The centring target as the files stroke it, in units: half its cross, its ring's radius, its
// inner ring's radius.
constexpr int32_t kCroixMire = 150, kRayonMire = 100, kRayonInterieurMire = 15;

bool EstCaractere(uint8_t c) { return c >= 64 && c <= 71; }
bool EstDessin(uint8_t c) { return c >= 128 && c <= 135; }

// Plotting order of a record in a layer file, or -1 when the record does not go there.
int CleCuivre(const ElementCI& e) {
  if (EstPastille(e.Code))  // by kind, 0..kNbSortesPastille - 1
    return SortePastilleDe(e.Code).Gerber == GerberPastille::Rien ? -1 : IndicePastille(e.Code);
  if (EstPiste(e.Code)) return kNbSortesPastille + (e.Code - code::PisteSansLargeur);
  if (EstCaractere(e.Code) && e.Attribut <= 7) return kNbSortesPastille + 7 + e.Attribut;
  return -1;
}
int CleImplantation(const ElementCI& e) {
  if (EstDessin(e.Code) && e.Attribut >= 1 && e.Attribut <= 6) return e.Attribut - 1;  // 0..5
  if (EstCaractere(e.Code) && e.Attribut <= 7) return 6 + e.Attribut;                  // 6..13
  return -1;
}
constexpr int kNbCles = kNbSortesPastille + 7 + 8;

// Aperture definitions in the order written: rectangles (width X height), circles (diameter),
// octagons (outer diameter, 8 vertices, turned 22.5 degrees), in inches. D54, D55 (drawing
// thicknesses 5 and 6) and D59, D65, D66 (text sizes 0, 6 and 7) can only come from files;
// they take the drawing and character stroke widths of the screen's size table (size 0, one
// pixel there, takes the thinnest character stroke), so that no file selects an aperture it
// does not define.
struct Ouverture {
  int dcode;
  const char* octogonale;
  const char* circulaire;  // null when the same for both pad styles
};
// The pads' apertures come first, from their table (a kind never plotted has none).
// clang-format off
constexpr Ouverture kOuvertures[] = {
#define P(nom, code, libelle, forme, a, b, l, h, rayon, encombrement, percage, jumelle, cuivre,   \
          metallise, trouvee, gerber, fichier, dcode, ouverture, ronde)                        \
    {dcode, ouverture, ronde},
#include "model/Pastilles.def"
#undef P
    {30, "ADD30C,0.012*", nullptr},
    {31, "ADD31C,0.012*", nullptr},
    {32, "ADD32C,0.020*", nullptr},
    {33, "ADD33C,0.039*", nullptr},
    {34, "ADD34C,0.059*", nullptr},
    {35, "ADD35C,0.079*", nullptr},
    {36, "ADD36C,0.098*", nullptr},
    {50, "ADD50C,0.012*", nullptr},
    {51, "ADD51C,0.020*", nullptr},
    {52, "ADD52C,0.031*", nullptr},
    {53, "ADD53C,0.047*", nullptr},
    {54, "ADD54C,0.059*", nullptr},
    {55, "ADD55C,0.079*", nullptr},
    {59, "ADD59C,0.010*", nullptr},
    {60, "ADD60C,0.010*", nullptr},
    {61, "ADD61C,0.015*", nullptr},
    {62, "ADD62C,0.020*", nullptr},
    {63, "ADD63C,0.025*", nullptr},
    {64, "ADD64C,0.030*", nullptr},
    {65, "ADD65C,0.035*", nullptr},
    {66, "ADD66C,0.040*", nullptr},
};
// clang-format on

// Stroke-font scale by text size index (sizes 1..4; no strokes for the others), and the
// character's offset from its record point by size index.
constexpr std::array<int32_t, 8> kEchelleTexte = {0, 13, 19, 26, 38, 0, 0, 0};
constexpr std::array<int32_t, 8> kDecalageTexte = {0, 10, 15, 20, 25, 30, 35, 40};

// A text character: its strokes at its record point, moving only where a stroke does not
// start where the previous one ended.
void TraceCaractere(Traceur& t, const ElementCI& e) {
  const int taille = e.Attribut & 7;
  if (kEchelleTexte[taille] == 0) return;
  const int orientation = e.Code - 64;
  const ContourCaractere contour = ContourLettre(kEchelleTexte[taille], orientation, e.Caractere);
  if (contour.nombre <= 0) return;
  const int32_t w = kDecalageTexte[taille];
  int32_t dx = w, dy = w;
  if (orientation == 1 || orientation == 4) dx = -w;
  if (orientation == 2 || orientation == 5) dx = dy = -w;
  if (orientation == 3 || orientation == 6) dy = -w;
  const int32_t x = e.X + dx, y = e.Y + dy;
  int32_t finX = contour.traits[0].X1, finY = contour.traits[0].Y1;
  t.DeplaceVers(x + finX, y + finY);
  for (int32_t k = 0; k < contour.nombre; ++k) {
    const TraitContour& tr = contour.traits[k];
    if (tr.X1 != finX || tr.Y1 != finY) t.DeplaceVers(x + tr.X1, y + tr.Y1);
    t.TraceVers(x + tr.X2, y + tr.Y2);
    finX = tr.X2;
    finY = tr.Y2;
  }
}

}  // namespace

// Aperture (D-code) of a collected record.
int DCodeDe(const ElementCI& e) {
  if (EstPastille(e.Code)) return SortePastilleDe(e.Code).DCode;  // 10..23
  if (EstPiste(e.Code)) return e.Code - 130;                      // 30..36
  if (EstDessin(e.Code)) return e.Attribut + 49;                  // 50..55
  if (EstCaractere(e.Code)) return e.Attribut + 59;               // 59..66
  return 0;
}

namespace {

// One pass per kind or attribute value in store order is a stable sort on that key: count the
// records of each key, then place them (each placed as `Prend` gives it).
template <typename T, typename Prend>
std::vector<T> Collecte(const Circuit& c, uint8_t masque, Prend prend, int32_t premier = 1,
                        int32_t dernier = -1) {
  if (dernier < 0) dernier = c.NbElements;
  const bool implantation = masque == kMasqueImplantation;
  auto Cle = [implantation](const ElementCI& e) {
    return implantation ? CleImplantation(e) : CleCuivre(e);
  };
  std::array<int32_t, kNbCles + 1> debut{};
  for (int32_t i = premier; i <= dernier; ++i) {
    const ElementCI& e = c.Elements[i];
    if ((e.Couche & masque) == 0) continue;
    const int k = Cle(e);
    if (k >= 0) ++debut[k + 1];
  }
  for (int k = 0; k < kNbCles; ++k) debut[k + 1] += debut[k];
  std::vector<T> liste(static_cast<size_t>(debut[kNbCles]));
  for (int32_t i = premier; i <= dernier; ++i) {
    const ElementCI& e = c.Elements[i];
    if ((e.Couche & masque) == 0) continue;
    const int k = Cle(e);
    if (k >= 0) liste[static_cast<size_t>(debut[k]++)] = prend(c, i);
  }
  return liste;
}

}  // namespace

std::vector<ElementCI> CollecteElementsGerber(const Circuit& c, uint8_t masque) {
  return Collecte<ElementCI>(c, masque,
                             [](const Circuit& cc, int32_t i) { return cc.Elements[i]; });
}

std::vector<int32_t> CollecteIndicesGerber(const Circuit& c, uint8_t masque) {
  return Collecte<int32_t>(c, masque, [](const Circuit&, int32_t i) { return i; });
}

std::vector<int32_t> CollecteIndicesGerber(const Circuit& c, uint8_t masque, int32_t premier,
                                           int32_t dernier) {
  return Collecte<int32_t>(
      c, masque, [](const Circuit&, int32_t i) { return i; }, premier, dernier);
}

int CleTrace(const ElementCI& e, uint8_t masque) {
  if ((e.Couche & masque) == 0) return -1;
  return masque == kMasqueImplantation ? CleImplantation(e) : CleCuivre(e);
}

const char* DefinitionOuverture(int dcode, StylePastilles style) {
  for (const Ouverture& o : kOuvertures)
    if (o.dcode == dcode)
      return style == StylePastilles::Circulaires && o.circulaire ? o.circulaire : o.octogonale;
  return nullptr;
}

FormeOuverture FormeDeLOuverture(int dcode, StylePastilles style) {
  FormeOuverture f;
  const char* d = DefinitionOuverture(dcode, style);
  if (!d) return f;
  // "ADDnnT,a.bbb[Xc.ddd...]*": the kind letter after the digits, then sizes in inches with
  // three decimals, which are whole units.
  const char* p = d + 3;
  while (*p >= '0' && *p <= '9') ++p;
  const char type = *p;
  p += 2;
  auto Taille = [&p]() {
    int32_t v = 0;
    for (; (*p >= '0' && *p <= '9') || *p == '.'; ++p)
      if (*p != '.') v = v * 10 + (*p - '0');
    return v;
  };
  f.Largeur = Taille();
  if (type == 'R') {
    ++p;  // 'X'
    f.Hauteur = Taille();
    f.type = FormeOuverture::Rectangle;
  } else {
    f.Hauteur = f.Largeur;
    f.type = type == 'P' ? FormeOuverture::Octogone : FormeOuverture::Cercle;
  }
  return f;
}

void TraceEllipse(Traceur& t, int32_t cx, int32_t cy, int32_t R, int32_t rx, int32_t ry) {
  const int32_t n = R / 25;
  if (n == 0) {
    t.DeplaceVers(cx + rx, cy);
    t.TraceVers(cx, cy + ry);
    t.TraceVers(cx - rx, cy);
    t.TraceVers(cx, cy - ry);
    t.TraceVers(cx + rx, cy);
    return;
  }
  if (n < 0 || n >= 1500) return;
  // The eighth-turn table. This exact evaluation order matters: some values lie within 1e-14
  // of a half (sin 30 degrees for odd R) and any other order rounds them the other way.
  static thread_local std::array<int32_t, 1501> c, s;
  const double pi = 3.14159265358979323846;
  for (int32_t i = 0; i <= n; ++i) {
    const double angle = (i * pi) / (4 * n);
    c[i] = static_cast<int32_t>(std::nearbyint(std::cos(angle) * R));
    s[i] = static_cast<int32_t>(std::nearbyint(std::sin(angle) * R));
  }
  // A table point (a, b) scaled to the half-axes; products truncated toward zero.
  auto P = [&](int32_t a, int32_t b) {
    const int64_t x = static_cast<int64_t>(a) * rx / R, y = static_cast<int64_t>(b) * ry / R;
    t.TraceVers(static_cast<int32_t>(cx + x), static_cast<int32_t>(cy + y));
  };
  t.DeplaceVers(static_cast<int32_t>(cx + static_cast<int64_t>(c[0]) * rx / R),
                static_cast<int32_t>(cy + static_cast<int64_t>(s[0]) * ry / R));
  // Once round, anticlockwise, one eighth of the turn per run.
  for (int32_t i = 1; i <= n; ++i) P(c[i], s[i]);
  for (int32_t i = n - 1; i >= 0; --i) P(s[i], c[i]);
  for (int32_t i = 1; i <= n; ++i) P(-s[i], c[i]);
  for (int32_t i = n - 1; i >= 0; --i) P(-c[i], s[i]);
  for (int32_t i = 1; i <= n; ++i) P(-c[i], -s[i]);
  for (int32_t i = n - 1; i >= 0; --i) P(-s[i], -c[i]);
  for (int32_t i = 1; i <= n; ++i) P(s[i], -c[i]);
  for (int32_t i = n - 1; i >= 0; --i) P(c[i], -s[i]);
}

void TraceElements(Traceur& t, const std::vector<ElementCI>& elements) {
  int enVigueur = -1;
  const size_t n = elements.size();
  for (size_t i = 0; i < n; ++i) {
    const ElementCI& e = elements[i];
    t.Element(i);
    const int d = DCodeDe(e);
    if (d != enVigueur) {
      t.Ouverture(d);
      enVigueur = d;
    }
    const int32_t x = e.X, y = e.Y;
    // The second record of a rectangle, circle or ellipse; a first record without one (a
    // damaged store) draws nothing.
    const ElementCI* suivant = i + 1 < n ? &elements[i + 1] : nullptr;
    const GerberPastille g =
        EstPastille(e.Code) ? SortePastilleDe(e.Code).Gerber : GerberPastille::Rien;
    if (g == GerberPastille::Eclair) {
      t.Point(x, y, "D03*");
    } else if (g == GerberPastille::Mire) {
      t.DeplaceVers(x - kCroixMire, y);
      t.TraceVers(x + kCroixMire, y);
      t.DeplaceVers(x, y - kCroixMire);
      t.TraceVers(x, y + kCroixMire);
      TraceEllipse(t, x, y, kRayonMire, kRayonMire, kRayonMire);
      TraceEllipse(t, x, y, kRayonInterieurMire, kRayonInterieurMire, kRayonInterieurMire);
    } else if (EstPiste(e.Code)) {
      if (e.Attribut == kPremierPoint) t.DeplaceVers(x, y);
      if (e.Attribut == kDernierPoint || e.Attribut == kPointMilieu) t.TraceVers(x, y);
    } else if (e.Code == code::Trait1) {
      t.DeplaceVers(x, y);
    } else if (e.Code == code::Trait2) {
      t.TraceVers(x, y);
    } else if (e.Code == code::Rectangle1) {
      if (!suivant) continue;
      const int32_t x2 = suivant->X, y2 = suivant->Y;
      t.DeplaceVers(x, y);
      t.TraceVers(x2, y);
      t.TraceVers(x2, y2);
      t.TraceVers(x, y2);
      t.TraceVers(x, y);
      ++i;  // the opposite corner is used up
    } else if (e.Code == code::Cercle) {
      if (!suivant) continue;
      const int32_t r = suivant->X;
      TraceEllipse(t, x, y, r, r, r);
    } else if (e.Code == code::Ellipse1) {
      if (!suivant) continue;
      const int32_t x2 = suivant->X, y2 = suivant->Y;
      const int32_t cx = static_cast<int32_t>((static_cast<uint32_t>(x) + x2) / 2);
      const int32_t cy = static_cast<int32_t>((static_cast<uint32_t>(y) + y2) / 2);
      const int32_t rx = std::abs((x - x2) / 2), ry = std::abs((y - y2) / 2);
      TraceEllipse(t, cx, cy, ry < rx ? rx : ry, rx, ry);
    } else if (EstCaractere(e.Code)) {
      TraceCaractere(t, e);
    }
  }
}

}  // namespace korv4
