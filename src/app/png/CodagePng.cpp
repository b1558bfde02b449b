#include "png/CodagePng.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>

namespace korv4 {

namespace {

// Compression level of libdeflate: 1 codes a circuit view several times faster than zlib's
// default and its file is still smaller than Qt's default PNG.
constexpr int kNiveau = 1;
// IDAT chunks of at most this many bytes.
constexpr size_t kMorceau = size_t{1} << 20;

void Ajoute32(std::vector<uint8_t>& v, uint32_t n) {
  v.push_back(static_cast<uint8_t>(n >> 24));
  v.push_back(static_cast<uint8_t>(n >> 16));
  v.push_back(static_cast<uint8_t>(n >> 8));
  v.push_back(static_cast<uint8_t>(n));
}

// Length, type, data, CRC of type and data.
void Chunk(std::vector<uint8_t>& png, const char* type, const uint8_t* donnees, size_t n) {
  Ajoute32(png, static_cast<uint32_t>(n));
  const size_t debut = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), donnees, donnees + n);
  Ajoute32(png, static_cast<uint32_t>(libdeflate_crc32(0, png.data() + debut, n + 4)));
}

// The colours of a picture, each with its palette index, while there are at most 256.
class Palette {
 public:
  // Index of the colour, added when new; -1 once the picture has more than 256 colours.
  int Index(uint32_t couleur) {
    size_t h = (couleur * 0x9E3779B1u) >> 22;  // 10 bits
    while (true) {
      Case& c = table_[h];
      if (c.index < 0) {
        if (couleurs_.size() == 256) return -1;
        c.couleur = couleur;
        c.index = static_cast<int>(couleurs_.size());
        couleurs_.push_back(couleur);
        return c.index;
      }
      if (c.couleur == couleur) return c.index;
      h = (h + 1) & (table_.size() - 1);
    }
  }
  const std::vector<uint32_t>& Couleurs() const { return couleurs_; }

 private:
  struct Case {
    uint32_t couleur = 0;
    int index = -1;
  };
  std::array<Case, 1024> table_{};
  std::vector<uint32_t> couleurs_;
};

// Takes every colour of the picture into the palette, in the order a row-by-row reading meets
// them; false as soon as the picture has more than 256 colours.
bool Recense(const uint32_t* pixels, int largeur, int hauteur, std::ptrdiff_t pas,
             Palette& palette) {
  for (int y = 0; y < hauteur; ++y) {
    const uint32_t* ligne = pixels + y * pas;
    uint32_t precedente = ligne[0] & 0xFFFFFFu;
    if (palette.Index(precedente) < 0) return false;
    for (int x = 1; x < largeur; ++x) {
      const uint32_t c = ligne[x] & 0xFFFFFFu;
      if (c != precedente) {  // a circuit view is made of long runs
        precedente = c;
        if (palette.Index(c) < 0) return false;
      }
    }
  }
  return true;
}

// The palette index of every pixel of one row, one byte each; every colour is in the palette.
void IndexeLigne(const uint32_t* ligne, int largeur, Palette& palette, uint8_t* index) {
  uint32_t precedente = ligne[0] & 0xFFFFFFu;
  int i = palette.Index(precedente);
  for (int x = 0; x < largeur; ++x) {
    const uint32_t c = ligne[x] & 0xFFFFFFu;
    if (c != precedente) {
      precedente = c;
      i = palette.Index(c);
    }
    index[x] = static_cast<uint8_t>(i);
  }
}

// One row of indexes of `kBits` bits packed into bytes, the leftmost pixel in the high bits;
// the unused low bits of the last byte are 0.
template <int kBits>
void Empaquette(const uint8_t* index, int largeur, uint8_t* sortie) {
  constexpr int kParOctet = 8 / kBits;
  const int entiers = largeur / kParOctet;
  for (int k = 0; k < entiers; ++k, index += kParOctet) {
    unsigned octet = 0;
    for (int j = 0; j < kParOctet; ++j) octet = (octet << kBits) | index[j];
    sortie[k] = static_cast<uint8_t>(octet);
  }
  const int reste = largeur - entiers * kParOctet;
  if (reste > 0) {
    unsigned octet = 0;
    for (int j = 0; j < reste; ++j) octet = (octet << kBits) | index[j];
    sortie[entiers] = static_cast<uint8_t>(octet << (kBits * (kParOctet - reste)));
  }
}

}  // namespace

bool CodePng(const uint32_t* pixels, int largeur, int hauteur, std::ptrdiff_t pas,
             std::vector<uint8_t>& png, std::string& erreur) {
  png.clear();
  if (largeur < 1 || hauteur < 1 || pixels == nullptr) {
    erreur = "image vide";
    return false;
  }
  // PNG sizes are at most 2^31 - 1; rows of RGB must fit a size_t.
  if (largeur > 0x7FFFFFFF / 3 - 1) {
    erreur = "image trop large pour le format PNG";
    return false;
  }
  try {
    // The colours first, then the rows indexed one at a time: no index copy of the picture.
    Palette palette;
    const bool indexee = Recense(pixels, largeur, hauteur, pas, palette);
    const size_t nCouleurs = palette.Couleurs().size();
    const int bits = !indexee          ? 8
                     : nCouleurs <= 2  ? 1
                     : nCouleurs <= 4  ? 2
                     : nCouleurs <= 16 ? 4
                                       : 8;
    const size_t octetsLigne =
        indexee ? (static_cast<size_t>(largeur) * bits + 7) / 8 : static_cast<size_t>(largeur) * 3;
    // Filter byte then the row, for every row.
    std::vector<uint8_t> brut((octetsLigne + 1) * static_cast<size_t>(hauteur));
    if (indexee) {
      std::vector<uint8_t> index(static_cast<size_t>(largeur));  // one row
      for (int y = 0; y < hauteur; ++y) {
        uint8_t* sortie = brut.data() + y * (octetsLigne + 1);
        *sortie++ = 0;  // None
        if (bits == 8) {
          IndexeLigne(pixels + y * pas, largeur, palette, sortie);
          continue;
        }
        const uint8_t* entree = index.data();
        IndexeLigne(pixels + y * pas, largeur, palette, index.data());
        switch (bits) {
          case 1: Empaquette<1>(entree, largeur, sortie); break;
          case 2: Empaquette<2>(entree, largeur, sortie); break;
          default: Empaquette<4>(entree, largeur, sortie); break;
        }
      }
    } else {
      for (int y = 0; y < hauteur; ++y) {
        const uint32_t* ligne = pixels + y * pas;
        uint8_t* sortie = brut.data() + y * (octetsLigne + 1);
        *sortie++ = y == 0 ? 0 : 2;  // None, then Up
        for (int x = 0; x < largeur; ++x) {
          const uint32_t c = ligne[x];
          sortie[3 * x] = static_cast<uint8_t>(c >> 16);
          sortie[3 * x + 1] = static_cast<uint8_t>(c >> 8);
          sortie[3 * x + 2] = static_cast<uint8_t>(c);
        }
        if (y > 0) {
          const uint32_t* dessus = ligne - pas;
          for (int x = 0; x < largeur; ++x) {
            const uint32_t c = dessus[x];
            sortie[3 * x] = static_cast<uint8_t>(sortie[3 * x] - (c >> 16));
            sortie[3 * x + 1] = static_cast<uint8_t>(sortie[3 * x + 1] - (c >> 8));
            sortie[3 * x + 2] = static_cast<uint8_t>(sortie[3 * x + 2] - c);
          }
        }
      }
    }

    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compresseur(
        libdeflate_alloc_compressor(kNiveau), &libdeflate_free_compressor);
    if (!compresseur) throw std::bad_alloc();
    std::vector<uint8_t> idat(libdeflate_zlib_compress_bound(compresseur.get(), brut.size()));
    const size_t n = libdeflate_zlib_compress(compresseur.get(), brut.data(), brut.size(),
                                              idat.data(), idat.size());
    if (n == 0) throw std::bad_alloc();  // cannot happen with the bound
    std::vector<uint8_t>().swap(brut);

    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.reserve(n + n / kMorceau * 12 + 3 * 256 + 64);
    png.insert(png.end(), kSignature, kSignature + 8);
    std::vector<uint8_t> entete;
    Ajoute32(entete, static_cast<uint32_t>(largeur));
    Ajoute32(entete, static_cast<uint32_t>(hauteur));
    // Bit depth, colour type (3 indexed, 2 RGB), compression, filter method, no interlace.
    entete.insert(entete.end(),
                  {static_cast<uint8_t>(bits), static_cast<uint8_t>(indexee ? 3 : 2), 0, 0, 0});
    Chunk(png, "IHDR", entete.data(), entete.size());
    if (indexee) {
      std::vector<uint8_t> plte;
      for (const uint32_t c : palette.Couleurs()) {
        plte.insert(plte.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                 static_cast<uint8_t>(c)});
      }
      Chunk(png, "PLTE", plte.data(), plte.size());
    }
    for (size_t debut = 0; debut < n; debut += kMorceau) {
      Chunk(png, "IDAT", idat.data() + debut, std::min(kMorceau, n - debut));
    }
    Chunk(png, "IEND", nullptr, 0);
  } catch (const std::bad_alloc&) {
    png.clear();
    erreur = "mémoire insuffisante";
    return false;
  }
  return true;
}

}  // namespace korv4
