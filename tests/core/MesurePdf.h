#pragma once

// Measuring printed pages: a PDF rendered by poppler-utils' pdftoppm (grey, no antialiasing,
// the whole page or a crop) and read back as a grey image; boxes of black pixels; the page
// size from pdfinfo. For the print tests of the editor, of korv4-cli and of the CUPS queue.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace korv4::mesure {

struct ImageGrise {
  int largeur = 0, hauteur = 0;
  std::vector<uint8_t> pixels;
  bool Noir(int x, int y) const {
    return x >= 0 && y >= 0 && x < largeur && y < hauteur && pixels[y * largeur + x] < 128;
  }
};

// A box of pixels, edges included; vide when nothing was found.
struct Boite {
  int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
  bool Vide() const { return x2 < x1; }
  int Largeur() const { return x2 - x1 + 1; }
  int Hauteur() const { return y2 - y1 + 1; }
  double CentreX() const { return (x1 + x2) / 2.0; }
  double CentreY() const { return (y1 + y2) / 2.0; }
};

inline int Commande(const std::string& c) {
  const int s = std::system(c.c_str());
  return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
}

// The page at `resolution` dots per inch, or the crop of w x h pixels at (x, y) of it; without
// antialiasing, or with it (grey levels then tell how much of each pixel is covered).
inline ImageGrise Rend(const std::string& pdf, int resolution, int x = 0, int y = 0, int w = 0,
                       int h = 0, bool lisse = false) {
  ImageGrise img;
  const std::string base = pdf + ".rendu";
  std::string c = std::string("pdftoppm -gray ") + (lisse ? "" : "-aa no -aaVector no ") +
                  "-singlefile -r " + std::to_string(resolution);
  if (w > 0) {
    c += " -x " + std::to_string(x) + " -y " + std::to_string(y) + " -W " + std::to_string(w) +
         " -H " + std::to_string(h);
  }
  c += " '" + pdf + "' '" + base + "'";
  if (Commande(c) != 0) return img;
  std::ifstream f(base + ".pgm", std::ios::binary);
  std::string magique;
  int maxi = 0;
  f >> magique >> img.largeur >> img.hauteur >> maxi;
  f.get();
  img.pixels.resize(static_cast<size_t>(img.largeur) * img.hauteur);
  f.read(reinterpret_cast<char*>(img.pixels.data()),
         static_cast<std::streamsize>(img.pixels.size()));
  std::filesystem::remove(base + ".pgm");
  if (magique != "P5" || !f) img = ImageGrise{};
  return img;
}

// The black pixels of the region (the whole image by default).
inline Boite BoiteNoire(const ImageGrise& img, Boite zone = {0, 0, -1, -1}) {
  if (zone.Vide()) zone = {0, 0, img.largeur - 1, img.hauteur - 1};
  Boite b{zone.x2 + 1, zone.y2 + 1, zone.x1 - 1, zone.y1 - 1};
  for (int y = std::max(zone.y1, 0); y <= std::min(zone.y2, img.hauteur - 1); ++y) {
    for (int x = std::max(zone.x1, 0); x <= std::min(zone.x2, img.largeur - 1); ++x) {
      if (!img.Noir(x, y)) continue;
      b.x1 = std::min(b.x1, x);
      b.x2 = std::max(b.x2, x);
      b.y1 = std::min(b.y1, y);
      b.y2 = std::max(b.y2, y);
    }
  }
  if (b.x2 < b.x1) return Boite{};
  return b;
}

inline int CompteNoirs(const ImageGrise& img, const Boite& zone) {
  int n = 0;
  for (int y = zone.y1; y <= zone.y2; ++y)
    for (int x = zone.x1; x <= zone.x2; ++x) n += img.Noir(x, y);
  return n;
}

// pdfinfo's "Page size:" line, e.g. "595 x 842 pts (A4)"; "" when pdfinfo fails.
inline std::string TaillePage(const std::string& pdf) {
  const std::string sortie = pdf + ".info";
  if (Commande("pdfinfo '" + pdf + "' > '" + sortie + "' 2>/dev/null") != 0) return "";
  std::ifstream f(sortie);
  std::string ligne, r;
  while (std::getline(f, ligne)) {
    if (ligne.rfind("Page size:", 0) == 0) {
      r = ligne.substr(ligne.find_first_not_of(' ', 10));
    }
  }
  std::filesystem::remove(sortie);
  return r;
}

// Ink along a row or a column of an antialiased image, in pixels (each pixel counts for the
// share of it that is covered).
inline double EncreLigne(const ImageGrise& img, int y) {
  double e = 0;
  for (int x = 0; x < img.largeur; ++x) e += (255 - img.pixels[y * img.largeur + x]) / 255.0;
  return e;
}
inline double EncreColonne(const ImageGrise& img, int x) {
  double e = 0;
  for (int y = 0; y < img.hauteur; ++y) e += (255 - img.pixels[y * img.largeur + x]) / 255.0;
  return e;
}

// The L of CarteMesure (tests/cli/CircuitsFabrication.h) printed alone in a region of a page:
// a horizontal track along the top and a vertical one down the left, of the same width, with
// round ends. Found at 150 dpi, then measured at 1200 dpi with antialiasing, to a fraction of a
// dot: along the track's centre line the ink is its length plus its width (the round ends),
// across it its width. Lengths in dots of 1/1200 inch.
struct MesureL {
  double horizontal = 0, vertical = 0;
  double largeurPiste = 0;
  Boite boite150;  // the L at 150 dpi
  bool ok = false;
};

inline MesureL MesureLDe(const std::string& pdf, Boite zone150 = {0, 0, -1, -1}) {
  MesureL m;
  m.boite150 = BoiteNoire(Rend(pdf, 150), zone150);
  if (m.boite150.Vide()) return m;
  const Boite& b = m.boite150;
  // 1200 / 150; the strips start 40 dots before the L and are 240 dots thick: tracks up to
  // 4 mm wide.
  constexpr int f = 8, marge = 40, epaisseur = 240;
  // The strip of the horizontal track, and the one of the vertical track.
  const ImageGrise h = Rend(pdf, 1200, b.x1 * f - marge, b.y1 * f - marge,
                            b.Largeur() * f + 2 * marge, epaisseur, true);
  const ImageGrise v = Rend(pdf, 1200, b.x1 * f - marge, b.y1 * f - marge, epaisseur,
                            b.Hauteur() * f + 2 * marge, true);
  if (h.pixels.empty() || v.pixels.empty()) return m;
  double longH = 0, longV = 0;
  for (int y = 0; y < h.hauteur; ++y) longH = std::max(longH, EncreLigne(h, y));
  for (int x = 0; x < v.largeur; ++x) longV = std::max(longV, EncreColonne(v, x));
  const double largeurH = EncreColonne(h, h.largeur / 2);
  const double largeurV = EncreLigne(v, v.hauteur / 2);
  m.largeurPiste = (largeurH + largeurV) / 2;
  m.horizontal = longH - largeurH;
  m.vertical = longV - largeurV;
  m.ok = true;
  return m;
}

// 100 mm (3937 units) in dots of 1/1200 inch.
constexpr double kCentMm = 3937 * 1.2;

// The dot of a unit at 1200 dpi and `facteur` times 100 %, as PixelX gives it (truncated).
inline int64_t Point1200(int64_t unites, int facteur) { return unites * 1200 * facteur / 1000; }

// CarteMesure's L (1000..4937 across, 1063..5000 down) measured on a page printed at 1200 dpi
// and `facteur` times 100 %: the tracks' ends fall on whole dots, each length within one dot
// of 100 mm x facteur, and the measure finds those dots within `ecart` (a fraction of a dot
// for a page of Qt's; more after a PDF writer that rounds to its own grid).
inline void VerifieUnPourUn(const MesureL& m, int facteur = 1, double ecart = 0.75) {
  ASSERT_TRUE(m.ok);
  const double dx = static_cast<double>(Point1200(4937, facteur) - Point1200(1000, facteur));
  const double dy = static_cast<double>(Point1200(5000, facteur) - Point1200(1063, facteur));
  EXPECT_NEAR(dx, facteur * kCentMm, 1.0);
  EXPECT_NEAR(dy, facteur * kCentMm, 1.0);
  EXPECT_NEAR(m.horizontal, dx, ecart);
  EXPECT_NEAR(m.vertical, dy, ecart);
  std::cout << "[ mesure   ] " << facteur * 100 << " mm attendus : " << m.horizontal / 1200 * 25.4
            << " mm x " << m.vertical / 1200 * 25.4 << " mm (" << m.horizontal << " x "
            << m.vertical << " points au 1/1200 de pouce, trac\u00e9s " << dx << " x " << dy
            << ")\n";
}

}  // namespace korv4::mesure
