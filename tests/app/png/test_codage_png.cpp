// The PNG coder, read back by a strict reader that shares nothing with it (tests/lit_png.py:
// Python's zlib and struct only, every CRC checked, rows unfiltered) and by Qt's reader
// (libpng): the same pixels, the bit depth the colours call for, odd widths included.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "png/CodagePng.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;

struct Lu {
  bool valide = false;
  std::string description;  // "type 3, 4 bits, ..."
  int largeur = 0, hauteur = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
};

std::string LitTout(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// The PNG bytes read back by tests/lit_png.py.
Lu LitPython(const std::vector<uint8_t>& png) {
  char modele[] = "/tmp/korv4-png-XXXXXX";
  EXPECT_NE(mkdtemp(modele), nullptr);
  const fs::path dossier = modele;
  std::ofstream(dossier / "a.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  const std::string commande = "python3 '" KORV4_LIT_PNG "' '" + (dossier / "a.png").string() +
                               "' '" + (dossier / "a.ppm").string() + "' >'" +
                               (dossier / "sortie").string() + "' 2>&1";
  const int s = std::system(commande.c_str());
  Lu lu;
  lu.description = LitTout(dossier / "sortie");
  lu.valide = WIFEXITED(s) && WEXITSTATUS(s) == 0;
  if (lu.valide) {
    const std::string ppm = LitTout(dossier / "a.ppm");
    int maxi = 0, n = 0;
    lu.valide = std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &lu.largeur, &lu.hauteur, &maxi, &n) == 3;
    const size_t debut = static_cast<size_t>(n) + 1;
    for (size_t i = debut; lu.valide && i + 2 < ppm.size(); i += 3) {
      lu.pixels.push_back(static_cast<uint32_t>(static_cast<uint8_t>(ppm[i])) << 16 |
                          static_cast<uint32_t>(static_cast<uint8_t>(ppm[i + 1])) << 8 |
                          static_cast<uint8_t>(ppm[i + 2]));
    }
  }
  fs::remove_all(dossier);
  return lu;
}

// A w x h picture of `couleurs` colours in short runs, with a junk top byte (ignored), in
// rows `pas` pixels apart.
std::vector<uint32_t> Image(int w, int h, int couleurs, std::ptrdiff_t pas) {
  std::vector<uint32_t> v(static_cast<size_t>(pas * h), 0xDEADBEEF);
  uint32_t graine = 7;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      graine = graine * 1664525u + 1013904223u;
      // Runs of two pixels; every colour shows once w * h / 2 passes `couleurs`.
      const int k = ((y * w + x) / 2 * 7) % couleurs;
      v[y * pas + x] =
          ((graine >> 8) & 0xFF000000u) | static_cast<uint32_t>(k * 0x010203 & 0xFFFFFF);
    }
  }
  return v;
}

TEST(CodagePng, ProfondeurEtPixelsRelus) {
  struct Cas {
    int largeur, hauteur, couleurs;
    const char* attendu;  // what the reader says of the type and depth
  };
  const Cas cas[] = {
      {1, 1, 1, "type 3, 1 bits"},     {9, 3, 2, "type 3, 1 bits"},
      {7, 5, 3, "type 3, 2 bits"},     {13, 4, 4, "type 3, 2 bits"},
      {33, 6, 5, "type 3, 4 bits"},    {31, 9, 16, "type 3, 4 bits"},
      {40, 10, 17, "type 3, 8 bits"},  {64, 16, 256, "type 3, 8 bits"},
      {65, 17, 257, "type 2, 8 bits"}, {301, 40, 5000, "type 2, 8 bits"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.largeur) + " x " + std::to_string(k.hauteur) + ", " +
                 std::to_string(k.couleurs) + " couleurs");
    const std::ptrdiff_t pas = k.largeur + 3;
    const std::vector<uint32_t> image = Image(k.largeur, k.hauteur, k.couleurs, pas);
    std::vector<uint8_t> png;
    std::string erreur;
    ASSERT_TRUE(CodePng(image.data(), k.largeur, k.hauteur, pas, png, erreur)) << erreur;
    const Lu lu = LitPython(png);
    ASSERT_TRUE(lu.valide) << lu.description;
    EXPECT_EQ(lu.description.rfind(k.attendu, 0), 0u) << lu.description;
    ASSERT_EQ(lu.largeur, k.largeur);
    ASSERT_EQ(lu.hauteur, k.hauteur);
    QImage qt;
    ASSERT_TRUE(qt.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    ASSERT_EQ(qt.size(), QSize(k.largeur, k.hauteur));
    for (int y = 0; y < k.hauteur; ++y) {
      for (int x = 0; x < k.largeur; ++x) {
        const uint32_t attendu = image[y * pas + x] & 0xFFFFFF;
        ASSERT_EQ(lu.pixels[static_cast<size_t>(y) * k.largeur + x], attendu) << x << "," << y;
        ASSERT_EQ(qt.pixel(x, y) & 0xFFFFFF, attendu) << x << "," << y;
      }
    }
  }
}

TEST(CodagePng, ImageVideRefusee) {
  const uint32_t pixel = 0;
  for (const auto& [w, h] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-3, 2}}) {
    std::vector<uint8_t> png{1, 2, 3};
    std::string erreur;
    EXPECT_FALSE(CodePng(&pixel, w, h, 1, png, erreur)) << w << " x " << h;
    EXPECT_FALSE(erreur.empty());
    EXPECT_TRUE(png.empty());
  }
}

}  // namespace
}  // namespace korv4
