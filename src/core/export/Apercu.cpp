#include "export/Apercu.h"

#include <algorithm>
#include <cmath>

#include "render/CanevasImage.h"

namespace korv4 {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The plotting of a layer of the set onto the picture: strokes with a round pen of the
// aperture's width, flashes as the aperture's shape (grown by `marge` nanometres, for mask
// openings), every figure in one colour.
class TraceurApercu final : public Traceur {
 public:
  TraceurApercu(CanevasImage& c, double echelle, double x0, double y0, bool miroir,
                StylePastilles style, double margeNm, Couleur couleur)
      : c_(c), k_(echelle), x0_(x0), y0_(y0), miroir_(miroir), style_(style), marge_(margeNm) {
    c_.CouleurPlume(couleur);
    c_.CouleurBrosse(couleur);
    c_.StyleDeBrosse(StyleBrosse::Plein);
    c_.StyleDePlume(StylePlume::Plein);
    c_.ModeDePlume(ModePlume::Copie);
  }
  void Ouverture(int dcode) override {
    aOuverture_ = OuvertureDuJeu(dcode, style_, ouverture_);
    // Units are 25400 nm.
    largeur_ = (static_cast<double>(ouverture_.Largeur) + 2 * marge_) / 25400 * k_;
    hauteur_ = (static_cast<double>(ouverture_.Hauteur) + 2 * marge_) / 25400 * k_;
    c_.EpaisseurPlume(std::max(1, static_cast<int>(std::lround(largeur_))));
  }
  void Point(int32_t x, int32_t y, const char* operation) override {
    const double px = X(x), py = Y(y);
    const char op = operation[2];
    if (op == '2' || !aOuverture_) {
      c_.MoveTo(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
      return;
    }
    if (op == '1') {
      c_.LineTo(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
      return;
    }
    // A flash.
    const double l = largeur_ / 2, h = hauteur_ / 2;
    if (ouverture_.Forme == 'R') {
      c_.EpaisseurPlume(1);
      c_.Rectangle(static_cast<int>(std::lround(px - l)), static_cast<int>(std::lround(py - h)),
                   static_cast<int>(std::lround(px + l)), static_cast<int>(std::lround(py + h)));
    } else if (ouverture_.Forme == 'P') {
      // Grown so that its flat sides move by the margin, as the mask's aperture.
      const double r =
          (static_cast<double>(ouverture_.Largeur) / 2 + marge_ / std::cos(kPi / 8)) / 25400 * k_;
      int xy[16];
      for (int n = 0; n < 8; ++n) {
        const double a = (22.5 + 45.0 * n) * kPi / 180;
        xy[2 * n] = static_cast<int>(std::lround(px + r * std::cos(a)));
        xy[2 * n + 1] = static_cast<int>(std::lround(py - r * std::sin(a)));
      }
      c_.EpaisseurPlume(1);
      c_.Polygone(xy, 8);
    } else {
      c_.EpaisseurPlume(1);
      c_.Ellipse(static_cast<int>(std::lround(px - l)), static_cast<int>(std::lround(py - l)),
                 static_cast<int>(std::lround(px + l)), static_cast<int>(std::lround(py + l)));
    }
    c_.EpaisseurPlume(std::max(1, static_cast<int>(std::lround(largeur_))));
    c_.MoveTo(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
  }
  double X(double x) const { return miroir_ ? (x0_ - x) * k_ : (x - x0_) * k_; }
  double Y(double y) const { return (y0_ - y) * k_; }

 private:
  CanevasImage& c_;
  double k_, x0_, y0_;
  bool miroir_;
  StylePastilles style_;
  double marge_;
  OuvertureJeuNm ouverture_;
  bool aOuverture_ = false;
  double largeur_ = 1, hauteur_ = 1;
};

}  // namespace

const char* NomCouleurMasque(CouleurMasque c) {
  switch (c) {
    case CouleurMasque::Vert: return "vert";
    case CouleurMasque::Bleu: return "bleu";
    case CouleurMasque::Rouge: return "rouge";
    case CouleurMasque::Noir: return "noir";
    case CouleurMasque::Blanc: return "blanc";
  }
  return "vert";
}

CouleursApercu CouleursDe(CouleurMasque c) {
  CouleursApercu k{0x303030, 0xC9B27C, 0x1E6B2E, 0x2F8A41, 0xD8D8D0, 0xF4F4F4};
  switch (c) {
    case CouleurMasque::Vert: break;
    case CouleurMasque::Bleu:
      k.Masque = 0x1C3F8C;
      k.MasqueSurCuivre = 0x2D57B0;
      break;
    case CouleurMasque::Rouge:
      k.Masque = 0x9C1C1C;
      k.MasqueSurCuivre = 0xBC3030;
      break;
    case CouleurMasque::Noir:
      k.Masque = 0x151515;
      k.MasqueSurCuivre = 0x2A2A2A;
      break;
    case CouleurMasque::Blanc:
      k.Masque = 0xE8E8E4;
      k.MasqueSurCuivre = 0xD6D6CE;
      k.Legende = 0x101010;  // black ink on a white mask
      break;
  }
  return k;
}

bool DessineApercu(const Circuit& c, const PlanFabrication& plan, const OptionsApercu& o,
                   bool dessous, ImageApercu& image, std::string& erreur) {
  image = ImageApercu{};
  if (plan.Fichiers().empty()) {
    erreur = plan.Erreur().empty() ? "le circuit n'a rien que le fabricant ferait." : plan.Erreur();
    return false;
  }
  if (o.Largeur < 1 || o.Largeur > 20000) {
    erreur = "la largeur de l'image doit aller de 1 à 20000 pixels.";
    return false;
  }
  const double w = static_cast<double>(plan.Droite() - plan.Gauche());
  const double h = static_cast<double>(plan.Haut() - plan.Bas());
  if (w <= 0 || h <= 0) {
    erreur = "le contour de la carte est vide.";
    return false;
  }
  const double k = o.Largeur / w;
  const int hauteur = std::max(1, static_cast<int>(std::lround(h * k)));
  if (hauteur > 20000) {
    erreur = "l'image serait trop haute (plus de 20000 pixels) : donnez une largeur plus petite.";
    return false;
  }
  image.Largeur = o.Largeur;
  image.Hauteur = hauteur;
  const CouleursApercu couleurs = CouleursDe(o.Masque);
  const size_t n = static_cast<size_t>(image.Largeur) * static_cast<size_t>(hauteur);
  const OptionsFabrication& of = plan.Options();
  const double x0 = static_cast<double>(dessous ? plan.Droite() : plan.Gauche());
  const double y0 = static_cast<double>(plan.Haut());
  const uint8_t face = dessous ? kMasqueFace1 : kMasqueFace2;
  // The copper and the mask openings each drawn alone (lit pixels), then put together: under
  // an opening the copper shows its finish and the substrate its own colour, elsewhere the mask
  // covers both, the copper a little lighter.
  auto Couche = [&](uint8_t masque, bool vernis, double marge, std::vector<uint32_t>& pixels) {
    pixels.assign(n, 0);
    CanevasImage toile(pixels.data(), image.Largeur, hauteur, image.Largeur);
    TraceurApercu t(toile, k, x0, y0, dessous, of.Pastilles, marge, 0xFFFFFF);
    TraceElements(t, ElementsDuJeu(c, masque, vernis));
  };
  std::vector<uint32_t> cuivre, ouvertures;
  if (plan.Cuivre(face)) Couche(face, false, 0, cuivre);
  const bool vernis = plan.Vernis(face);
  if (vernis) Couche(face, true, of.MargeMasqueMm * 1e6, ouvertures);
  image.Pixels.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const bool metal = !cuivre.empty() && (cuivre[i] & 0xFFFFFF) != 0;
    const bool ouvert = !vernis || (ouvertures[i] & 0xFFFFFF) != 0;
    const uint32_t couleur = ouvert ? (metal ? couleurs.Finition : couleurs.Substrat)
                                    : (metal ? couleurs.MasqueSurCuivre : couleurs.Masque);
    image.Pixels[i] = 0xFF000000u | couleur;
  }
  cuivre = {};
  ouvertures = {};
  CanevasImage canevas(image.Pixels.data(), image.Largeur, hauteur, image.Largeur);
  if (!dessous && plan.Legende()) {
    TraceurApercu t(canevas, k, x0, y0, dessous, of.Pastilles, 0, couleurs.Legende);
    TraceElements(t, ElementsDuJeu(c, kMasqueImplantation, false));
  }
  // The holes through, and nothing outside the outline.
  canevas.CouleurPlume(couleurs.Fond);
  canevas.CouleurBrosse(couleurs.Fond);
  canevas.EpaisseurPlume(1);
  for (const TrouJeu& t : TrousDuJeu(c)) {
    const double px = dessous ? (x0 - t.X) * k : (t.X - x0) * k, py = (y0 - t.Y) * k;
    const double r = t.Diametre * 100000.0 / 25400 / 2 * k;  // tenths of a mm to units
    canevas.Ellipse(static_cast<int>(std::lround(px - r)), static_cast<int>(std::lround(py - r)),
                    static_cast<int>(std::lround(px + r)), static_cast<int>(std::lround(py + r)));
  }
  return true;
}

}  // namespace korv4
