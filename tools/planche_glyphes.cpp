// korv4-planche: draws every glyph of the stroke font at a large scale on a PNG sheet, 16 per
// row, each with its code, over the design grid (base line, x-height, capital height), and a few
// lines of running text in several orientations, so that the font can be looked at as a whole.
//
//   korv4-planche SORTIE.png [--echelle PIXELS_POUR_4_UNITES] [--plume LARGEUR] [--codes A-B]
//
// --codes draws only the glyphs A..B (default 32-255), for a closer look.
// --plume 0 draws thin lines; a width of 0.8 font unit is what a text of the editor gets.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/Canevas.h"
#include "render/EcriturePetiteFonte.h"

namespace {

using korv4::Canevas;

// Only the pen path is used by the font.
class CanevasPeintre : public Canevas {
 public:
  explicit CanevasPeintre(QPainter& p) : p_(p) {}
  void CouleurPlume(korv4::Couleur c) override {
    QPen pen = p_.pen();
    pen.setColor(QColor::fromRgb(c));
    p_.setPen(pen);
  }
  void EpaisseurPlume(int largeur) override {
    QPen pen = p_.pen();
    pen.setWidth(largeur);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p_.setPen(pen);
  }
  void StyleDePlume(korv4::StylePlume) override {}
  void ModeDePlume(korv4::ModePlume) override {}
  void CouleurBrosse(korv4::Couleur) override {}
  void StyleDeBrosse(korv4::StyleBrosse) override {}
  void MoveTo(int x, int y) override { pos_ = QPoint(x, y); }
  void LineTo(int x, int y) override {
    p_.drawLine(pos_, QPoint(x, y));
    pos_ = QPoint(x, y);
  }
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygone(const int*, int) override {}
  void Pixel(int x, int y, korv4::Couleur c) override {
    p_.fillRect(x, y, 1, 1, QColor::fromRgb(c));
  }

 private:
  QPainter& p_;
  QPoint pos_;
};

// A string of Windows-1252 bytes at one character every 8 font units.
void Texte(Canevas& c, int x, int y, int echelle, int orientation, const std::string& s) {
  const korv4::MatriceOrientation& m = korv4::kOrientations[orientation];
  for (size_t i = 0; i < s.size(); ++i) {
    const int pas = static_cast<int>(i) * 2 * echelle;  // 8 units
    korv4::TraceLettre(c, x + m.a * pas, y + m.c * pas, echelle, orientation,
                       static_cast<uint8_t>(s[i]));
  }
}

// UTF-8 of the sample texts to Windows-1252 (Latin-1 range and the few letters above it).
std::string Cp1252(const char* utf8) {
  std::string r;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
    unsigned v = *p++;
    if (v >= 0xC0 && v < 0xE0) {
      v = ((v & 0x1F) << 6) | (*p++ & 0x3F);
    } else if (v >= 0xE0) {
      v = ((v & 0x0F) << 12) | ((p[0] & 0x3F) << 6) | (p[1] & 0x3F);
      p += 2;
    }
    switch (v) {
      case 0x152: v = 140; break;   // Œ
      case 0x153: v = 156; break;   // œ
      case 0x20AC: v = 128; break;  // €
      case 0x160: v = 138; break;   // Š
      case 0x161: v = 154; break;   // š
      case 0x178: v = 159; break;   // Ÿ
      case 0x17D: v = 142; break;   // Ž
      case 0x17E: v = 158; break;   // ž
      case 0x2018: v = 145; break;  // ‘
      case 0x2019: v = 146; break;  // ’
      case 0x201C: v = 147; break;  // “
      case 0x201D: v = 148; break;  // ”
      case 0x2026: v = 133; break;  // …
      default: break;
    }
    r += static_cast<char>(v <= 0xFF ? v : '?');
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr,
                 "usage : korv4-planche SORTIE.png [--echelle N] [--plume N] [--codes A-B]\n");
    return argc < 2 ? 1 : 0;
  }
  int echelle = 32;  // pixels for 4 font units
  int plume = 0;
  int premier = 32, dernier = 255;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--echelle") == 0) echelle = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--plume") == 0) plume = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--codes") == 0 &&
        std::sscanf(argv[i + 1], "%d-%d", &premier, &dernier) != 2)
      premier = -1;
  }
  if (echelle < 24 || echelle > 200 || plume < 0 || plume > 50 || premier < 32 || dernier > 255 ||
      premier > dernier) {
    std::fprintf(stderr, "echelle 24..200, plume 0..50, codes 32..255\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const int u = echelle / 4;  // pixels per font unit (the sheet uses multiples of 4)
  const int largeurCase = 12 * u, hauteurCase = 16 * u;
  const int colonnes = 16, lignes = (dernier - premier + colonnes) / colonnes;
  const int hauteurTexte = 88 * u;
  QImage image(colonnes * largeurCase + 2 * u, lignes * hauteurCase + hauteurTexte,
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, plume > 0);
  CanevasPeintre c(p);

  for (int code = premier; code <= dernier; ++code) {
    const int col = (code - premier) % colonnes, lig = (code - premier) / colonnes;
    const int x0 = col * largeurCase + 2 * u, y0 = lig * hauteurCase + 12 * u;  // glyph origin
    // The cell's code, small, in the font itself.
    c.CouleurPlume(0x3060C0);
    c.EpaisseurPlume(0);
    const std::string n = std::to_string(code);
    for (size_t i = 0; i < n.size(); ++i)
      korv4::TraceLettre(c, x0 - u + static_cast<int>(i) * 2 * u, y0 + 3 * u + u / 2, 8, 0,
                         static_cast<uint8_t>(n[i]));
    // The design grid: every unit lightly, the base line, x-height and capital height stronger.
    for (int gx = 0; gx <= 9; ++gx)
      p.fillRect(x0 + gx * u, y0 - 9 * u, 1, 11 * u + 1, QColor(235, 235, 235));
    for (int gy = -2; gy <= 9; ++gy) {
      const QColor col =
          (gy == 0 || gy == 4 || gy == 6) ? QColor(255, 170, 170) : QColor(235, 235, 235);
      p.fillRect(x0, y0 - gy * u, 9 * u + 1, 1, col);
    }
    p.fillRect(x0 + 4 * u, y0 - 6 * u, 1, 6 * u + 1, QColor(255, 170, 170));
    c.CouleurPlume(0x000000);
    c.EpaisseurPlume(plume);
    korv4::TraceLettre(c, x0, y0, echelle, 0, static_cast<uint8_t>(code));
  }

  // Running text at the pitch of the editor's texts (8 units), then other orientations.
  const int s = echelle / 2;
  c.CouleurPlume(0x000000);
  c.EpaisseurPlume(plume / 2);
  const char* const lignesTexte[] = {
      "Le cœur déçu mais l’âme plutôt naïve, Louÿs", "rêva de crapaüter en canoë au delà des îles,",
      "près du mälström où brûlent les novæ.",       "ÀÂÄÇÉÈÊËÎÏÔÖÙÛÜŸŒÆ àâäçéèêëîïôöùûüÿœæ",
      "R12 4,7k C3 100µF ±5% 25°C © 2024 a@b.fr",    "Sphinx of black quartz, judge my vow!",
      "0O 1lI| 5S 2Z 8B rn m vv w ,. ;: '‘’“”",
  };
  int yt = lignes * hauteurCase + 6 * s;
  for (const char* l : lignesTexte) {
    Texte(c, 2 * u, yt, s, 0, Cp1252(l));
    yt += 3 * s;
  }
  // Upright and mirrored on one base line, half turn and mirrored top to bottom hanging below
  // it, and the two quarter turns.
  Texte(c, 2 * u + 12 * s, yt, s, 4, Cp1252("Miroir"));
  Texte(c, 16 * s, yt, s, 0, Cp1252("Droit"));
  Texte(c, 2 * u, yt + s, s, 6, Cp1252("Haut-bas"));
  Texte(c, 40 * s, yt + s, s, 2, Cp1252("Demi-tour"));
  Texte(c, 60 * s, yt + 12 * s, s, 1, Cp1252("Quart"));
  Texte(c, 66 * s, yt + 2 * s, s, 3, Cp1252("Quart"));
  p.end();
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "impossible d'écrire %s\n", argv[1]);
    return 3;
  }
  return 0;
}
