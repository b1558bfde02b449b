#include "export/Fabrication.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "export/Ipc356.h"
#include "export/Percage.h"
#include "verification/Isolements.h"

namespace korv4 {

namespace {

#ifndef KORV4_VERSION
#error "KORV4_VERSION (the project version) must be defined by the build"
#endif
constexpr const char* kVersion = KORV4_VERSION;
constexpr double kPi = 3.14159265358979323846;
constexpr int64_t kNmParUnite = 25400;  // a unit is 1/1000 inch: 25.4 micrometres exactly
constexpr size_t kMorceau = 64 * 1024;

// The drill index of a record that is a hole of the set, 0 otherwise.
int IndiceTrou(const ElementCI& e) {
  return EstPastillePercee(e.Code) && e.Attribut >= 1 && e.Attribut <= 13 ? e.Attribut : 0;
}

void Ajoute(std::vector<uint8_t>& v, const std::string& s) {
  v.insert(v.end(), s.begin(), s.end());
}
void Ligne(std::vector<uint8_t>& v, const std::string& s) {
  Ajoute(v, s);
  Ajoute(v, "\r\n");
}

// v / 10^decimales with a point (or the separator), whatever the C locale says.
std::string Decimale(int64_t v, int decimales, char separateur = '.') {
  const bool negatif = v < 0;
  std::string s = std::to_string(negatif ? -v : v);
  if (s.size() < static_cast<size_t>(decimales) + 1) s.insert(0, decimales + 1 - s.size(), '0');
  if (decimales > 0) s.insert(s.size() - static_cast<size_t>(decimales), 1, separateur);
  return negatif ? "-" + s : s;
}
// Nanometres as millimetres with six decimals.
std::string MmDeNm(int64_t nm) { return Decimale(nm, 6); }
// Millimetres with two decimals, a comma (French) or a point (English), for the text file.
std::string Mm(double mm) { return Decimale(std::llround(mm * 100), 2, ','); }
std::string MmPoint(double mm) { return Decimale(std::llround(mm * 100), 2, '.'); }
// Units as millimetres, exact (four decimals), for the job file.
std::string MmExact(int64_t unites) { return Decimale(unites * 254, 4); }

// What an aperture draws, by X2 function.
enum class Fonction { ComponentPad, SMDPad, WasherPad, Conductor, NonConductor, Material, Profile };
const char* NomFonction(Fonction f) {
  switch (f) {
    case Fonction::ComponentPad: return "ComponentPad";
    case Fonction::SMDPad: return "SMDPad,CuDef";
    case Fonction::WasherPad: return "WasherPad";
    case Fonction::Conductor: return "Conductor";
    case Fonction::NonConductor: return "NonConductor";
    case Fonction::Material: return "Material";
    case Fonction::Profile: return "Profile";
  }
  return "Material";
}

// The apertures of the set at their true sizes, in nanometres: pads and tracks at the sizes
// the tools name in millimetres, drawing and text strokes (named in thousandths of an inch) at
// theirs converted exactly. Round pads are octagons (outer diameter) or circles by the style.
struct OuvertureJeu {
  int dcode;
  char forme;  // 'R' rectangle, 'O' round pad, 'C' circle
  int64_t largeur, hauteur;
};
constexpr OuvertureJeu kOuverturesJeu[] = {
    {10, 'R', 900000, 900000},   {11, 'R', 900000, 1500000},  {12, 'R', 1500000, 900000},
    {13, 'R', 1200000, 2200000}, {14, 'R', 2200000, 1200000}, {15, 'R', 1500000, 1500000},
    {16, 'O', 2000000, 0},       {17, 'O', 3200000, 0},       {18, 'O', 4000000, 0},
    {19, 'O', 6200000, 0},       {20, 'O', 8000000, 0},       {21, 'O', 10000000, 0},
    {30, 'C', 300000, 0},        {31, 'C', 300000, 0},        {32, 'C', 500000, 0},
    {33, 'C', 1000000, 0},       {34, 'C', 1500000, 0},       {35, 'C', 2000000, 0},
    {36, 'C', 2500000, 0},       {50, 'C', 304800, 0},        {51, 'C', 508000, 0},
    {52, 'C', 787400, 0},        {53, 'C', 1193800, 0},       {54, 'C', 1498600, 0},
    {55, 'C', 2006600, 0},       {59, 'C', 254000, 0},        {60, 'C', 254000, 0},
    {61, 'C', 381000, 0},        {62, 'C', 508000, 0},        {63, 'C', 635000, 0},
    {64, 'C', 762000, 0},        {65, 'C', 889000, 0},        {66, 'C', 1016000, 0},
};
const OuvertureJeu* TrouveOuverture(int dcode) {
  for (const OuvertureJeu& o : kOuverturesJeu)
    if (o.dcode == dcode) return &o;
  return nullptr;
}
// The outline's stroke.
constexpr int64_t kTraitContourNm = 100000;
constexpr int kDcodeContour = 10;

// "ADD<numero>..." for an aperture grown by `marge` nanometres on every side (an octagon's
// outer diameter grows so that its flat sides move by the margin).
std::string DefinitionJeu(int numero, int dcode, StylePastilles style, int64_t marge) {
  const OuvertureJeu* o = TrouveOuverture(dcode);
  if (!o) return {};
  const std::string d = "ADD" + std::to_string(numero);
  if (o->forme == 'R')
    return d + "R," + MmDeNm(o->largeur + 2 * marge) + "X" + MmDeNm(o->hauteur + 2 * marge) + "*";
  if (o->forme == 'O' && style == StylePastilles::Octogonales)
    return d + "P," + MmDeNm(o->largeur + std::llround(2.0 * marge / std::cos(kPi / 8))) +
           "X8X22.5*";
  return d + "C," + MmDeNm(o->largeur + 2 * marge) + "*";
}
// Half the width of what an aperture draws, in nanometres (for boxes).
int64_t DemiEncombrement(int dcode) {
  const OuvertureJeu* o = TrouveOuverture(dcode);
  return o ? std::max(o->largeur, o->hauteur) / 2 : 0;
}

// A flux into a vector (the in-memory set) and one that only counts.
class FluxVecteur final : public FluxOctets {
 public:
  explicit FluxVecteur(std::vector<uint8_t>& v) : v_(v) {}
  bool Ecrit(const uint8_t* octets, size_t taille) override {
    v_.insert(v_.end(), octets, octets + taille);
    return true;
  }

 private:
  std::vector<uint8_t>& v_;
};

// The plotting of one Gerber file of the set, in millimetres (4.6: nanometres), given to a flux
// in pieces between records. Each record's aperture is the pair (D-code, function): a D-code
// keeps its number for its first function, the others get numbers from 100 up, so that
// every aperture has one function. Without a flux it only notes the apertures used and the box
// drawn.
class TraceurJeu final : public Traceur {
 public:
  using Fonctions = std::function<Fonction(size_t)>;
  TraceurJeu(FluxOctets* flux, Fonctions fonctions)
      : flux_(flux), fonctions_(std::move(fonctions)) {
    if (flux_) tampon_.reserve(kMorceau + 256 * 1024);
  }
  // The numbers of the apertures, from the keys a first plotting noted.
  void Numerote(const std::set<std::pair<int, Fonction>>& cles) {
    int suivant = 100;
    std::set<int> pris;
    for (const auto& cle : cles) {
      if (pris.insert(cle.first).second) {
        numeros_[cle] = cle.first;
      } else {
        numeros_[cle] = suivant++;
      }
    }
  }
  const std::map<std::pair<int, Fonction>, int>& Numeros() const { return numeros_; }
  const std::set<std::pair<int, Fonction>>& Cles() const { return cles_; }
  std::vector<uint8_t>& Tampon() { return tampon_; }

  void Element(size_t indice) override {
    fonction_ = fonctions_ ? fonctions_(indice) : Fonction::Material;
    if (flux_ && tampon_.size() >= kMorceau) Vide();
  }
  void Ouverture(int dcode) override { dcode_ = dcode; }
  void Point(int32_t x, int32_t y, const char* operation) override {
    const std::pair<int, Fonction> cle{dcode_, fonction_};
    if (!flux_) {
      cles_.insert(cle);
      const int64_t r = DemiEncombrement(dcode_) / kNmParUnite + 1;
      gauche_ = std::min<int64_t>(gauche_, x - r);
      bas_ = std::min<int64_t>(bas_, y - r);
      droite_ = std::max<int64_t>(droite_, x + r);
      haut_ = std::max<int64_t>(haut_, y + r);
      return;
    }
    if (cle != enVigueur_) {
      enVigueur_ = cle;
      const auto it = numeros_.find(cle);
      Ligne(tampon_, "D" + std::to_string(it == numeros_.end() ? cle.first : it->second) + "*");
    }
    char t[64];
    char* p = t;
    auto Coordonnee = [&p](int64_t v) {
      if (v < 0) {
        *p++ = '-';
        v = -v;
      }
      char chiffres[24];
      int n = 0;
      do {
        chiffres[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
      } while (v > 0);
      while (n > 0) *p++ = chiffres[--n];
    };
    *p++ = 'X';
    Coordonnee(x * kNmParUnite);
    *p++ = 'Y';
    Coordonnee(y * kNmParUnite);
    while (*operation) *p++ = *operation++;
    *p++ = '\r';
    *p++ = '\n';
    tampon_.insert(tampon_.end(), t, p);
  }
  // Gives the buffer to the flux; false once the flux has refused a piece.
  bool Vide() {
    if (ok_ && !tampon_.empty()) ok_ = flux_->Ecrit(tampon_.data(), tampon_.size());
    tampon_.clear();
    return ok_;
  }
  bool BoiteVide() const { return gauche_ > droite_; }
  int64_t gauche_ = INT64_MAX, bas_ = INT64_MAX, droite_ = INT64_MIN, haut_ = INT64_MIN;

 private:
  FluxOctets* flux_;
  Fonctions fonctions_;
  std::vector<uint8_t> tampon_;
  std::map<std::pair<int, Fonction>, int> numeros_;
  std::set<std::pair<int, Fonction>> cles_;
  std::pair<int, Fonction> enVigueur_{-1, Fonction::Material};
  int dcode_ = 0;
  Fonction fonction_ = Fonction::Material;
  bool ok_ = true;
};

// A field of an X2 attribute: no comma, star, percent or control character.
std::string Champ(const std::string& s) {
  std::string r;
  for (unsigned char ch : s) r += (ch < 32 || ch == ',' || ch == '*' || ch == '%') ? '_' : ch;
  return r;
}

// FNV-1a, 64 bits.
uint64_t Fnv(const std::string& s, uint64_t h) {
  for (unsigned char ch : s) {
    h ^= ch;
    h *= 1099511628211ull;
  }
  return h;
}
// A version-4 form identifier made from the project's name: the same name, the same project.
std::string Guid(const std::string& nom) {
  const uint64_t a = Fnv(nom, 14695981039346656037ull),
                 b = Fnv(nom + "#", a ^ 0x9E3779B97F4A7C15ull);
  std::array<uint8_t, 16> o{};
  for (int k = 0; k < 8; ++k) {
    o[static_cast<size_t>(k)] = static_cast<uint8_t>(a >> (8 * k));
    o[static_cast<size_t>(8 + k)] = static_cast<uint8_t>(b >> (8 * k));
  }
  o[6] = static_cast<uint8_t>((o[6] & 0x0F) | 0x40);
  o[8] = static_cast<uint8_t>((o[8] & 0x3F) | 0x80);
  static const char* hex = "0123456789abcdef";
  std::string s;
  for (size_t k = 0; k < 16; ++k) {
    if (k == 4 || k == 6 || k == 8 || k == 10) s += '-';
    s += hex[o[k] >> 4];
    s += hex[o[k] & 15];
  }
  return s;
}

enum Genre { kCuivre, kMasque, kLegende, kContour, kPth, kNpth, kNetlist, kTravail, kLisezMoi };

// A drill tool of the set: diameter and function.
struct CleOutil {
  int32_t diametre;
  std::string fonction;
  bool operator<(const CleOutil& o) const {
    return diametre != o.diametre ? diametre < o.diametre : fonction < o.fonction;
  }
};

}  // namespace

std::string NomSur(const std::string& nom) {
  std::string r;
  for (unsigned char ch : nom) {
    const bool sur = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                     (ch >= '0' && ch <= '9') || ch == '-' || ch == '_' || ch == '.';
    r += sur ? static_cast<char>(ch) : '_';
    if (r.size() >= 64) break;
  }
  while (!r.empty() && r.front() == '.') r.front() = '_';
  if (r.find_first_not_of("_.") == std::string::npos) return "carte";
  return r;
}

std::vector<std::string> NomsPossiblesDuJeu(const std::string& base) {
  std::vector<std::string> n;
  for (const char* fin : {".GTL", ".GBL", ".GTO", ".GTS", ".GBS", ".GKO", ".DRL", "-PTH.DRL",
                          "-NPTH.DRL", "-netlist.ipc", ".gbrjob"})
    n.push_back(base + fin);
  n.push_back(kNomLisezMoi);
  return n;
}

namespace {

struct Contexte {
  const Circuit& c;
  const OptionsFabrication& o;
  bool deuxFaces;
  // Whether holes of a diameter are non-plated by the user's choice.
  bool DiametreNonMetallise(int32_t d) const {
    return std::find(o.DiametresNonMetallises.begin(), o.DiametresNonMetallises.end(), d) !=
           o.DiametresNonMetallises.end();
  }
  bool TrouNonMetallise(const ElementCI& e) const {
    return !deuxFaces || EstTrouSansCuivre(e.Code) ||
           DiametreNonMetallise(c.EnteteCI.DiametresPercage[IndiceTrou(e)]);
  }
  Fonction FonctionCuivre(const ElementCI& e) const {
    if (EstPastille(e.Code)) {
      if (IndiceTrou(e) == 0) return Fonction::SMDPad;
      return deuxFaces && TrouNonMetallise(e) ? Fonction::WasherPad : Fonction::ComponentPad;
    }
    return EstPiste(e.Code) ? Fonction::Conductor : Fonction::NonConductor;
  }
};

// The records of a layer file of the set: those of the Gerber export without the targets; a
// mask takes the copper pads alone.
std::vector<ElementCI> ElementsDuFichier(const Circuit& c, uint8_t masque, bool vernis) {
  std::vector<ElementCI> v = CollecteElementsGerber(c, masque);
  v.erase(std::remove_if(v.begin(), v.end(),
                         [vernis](const ElementCI& e) {
                           return EstMire(e.Code) || (vernis && !EstPastilleCuivre(e.Code));
                         }),
          v.end());
  return v;
}

// The holes of the set, by tool (diameter, function), each in store order.
std::map<CleOutil, std::vector<std::pair<int32_t, int32_t>>> OutilsDuJeu(const Contexte& k,
                                                                         bool nonMetallises) {
  std::map<CleOutil, std::vector<std::pair<int32_t, int32_t>>> outils;
  for (int32_t i = 1; i <= k.c.NbElements; ++i) {
    const ElementCI& e = k.c.Elements[i];
    const int indice = IndiceTrou(e);
    if (indice == 0 || k.TrouNonMetallise(e) != nonMetallises) continue;
    std::string fonction = "Plated,PTH,ComponentDrill";
    if (nonMetallises)
      fonction = EstTrouSansCuivre(e.Code) || k.deuxFaces ? "NonPlated,NPTH,MechanicalDrill"
                                                          : "NonPlated,NPTH,ComponentDrill";
    outils[{k.c.EnteteCI.DiametresPercage[indice], fonction}].push_back({e.X, e.Y});
  }
  return outils;
}

PlanFabrication::Trous Compte(
    const std::map<CleOutil, std::vector<std::pair<int32_t, int32_t>>>& outils) {
  PlanFabrication::Trous t;
  std::map<int32_t, int32_t> n;
  for (const auto& [cle, trous] : outils) {
    n[cle.diametre] += static_cast<int32_t>(trous.size());
    t.Total += static_cast<int32_t>(trous.size());
  }
  t.ParDiametre.assign(n.begin(), n.end());
  return t;
}

}  // namespace

PlanFabrication PrepareJeu(const Circuit& c, const OptionsFabrication& o) {
  PlanFabrication p;
  p.c_ = &c;
  p.o_ = o;
  p.o_.Base = NomSur(o.Base);
  const std::string& base = p.o_.Base;
  if (!std::isfinite(o.MargeMasqueMm) || o.MargeMasqueMm < 0 || o.MargeMasqueMm > 5) {
    p.erreur_ = "la marge du vernis épargne doit aller de 0 à 5 mm.";
    return p;
  }
  if (!std::isfinite(o.MargeContourMm) || o.MargeContourMm < 0 || o.MargeContourMm > 50) {
    p.erreur_ = "la marge du contour doit aller de 0 à 50 mm.";
    return p;
  }
  if (c.NbElements <= 0) return p;
  OptionsPercage options;
  options.Elements = ElementsAPercer::CI;
  options.Face = FacePercage::Composants;
  std::string erreur;
  if (!VerifieDiametresPercage(c, options, erreur)) {
    p.erreur_ = "le circuit a " + erreur;
    return p;
  }

  const std::array<uint8_t, 5> couches = CouchesUtilisees(c);
  const bool dessus = couches[2] != 0, dessous = couches[1] || (couches[0] && !couches[2]);
  p.nbCuivres_ = (dessus ? 1 : 0) + (dessous ? 1 : 0);
  p.deuxFaces_ = p.nbCuivres_ == 2;
  const Contexte k{c, p.o_, p.deuxFaces_};

  // The layer files, and the box of the copper.
  using Fichier = PlanFabrication::Fichier;
  std::vector<Fichier> masques;
  int64_t cg = INT64_MAX, cb = INT64_MAX, cd = INT64_MIN, ch = INT64_MIN;
  struct Face {
    bool presente;
    uint8_t masque;
    const char* extension;
    const char* nom;
  };
  for (const Face& f : {Face{dessus, kMasqueFace2, ".GTL", "cuivre côté composants (face 2)"},
                        Face{dessous, kMasqueFace1, ".GBL",
                             "cuivre côté cuivre (face 1, textes lisibles côté cuivre)"}}) {
    if (!f.presente) continue;
    const std::vector<ElementCI> elements = ElementsDuFichier(c, f.masque, false);
    if (elements.empty()) continue;
    TraceurJeu t(nullptr, nullptr);
    TraceElements(t, elements);
    if (!t.BoiteVide()) {
      cg = std::min(cg, t.gauche_);
      cb = std::min(cb, t.bas_);
      cd = std::max(cd, t.droite_);
      ch = std::max(ch, t.haut_);
    }
    p.fichiers_.push_back({base + f.extension, f.nom, kCuivre, f.masque});
    bool pastilles = false;
    for (const ElementCI& e : elements) pastilles = pastilles || EstPastilleCuivre(e.Code);
    if (!pastilles) continue;
    const bool haut = f.masque == kMasqueFace2;
    masques.push_back({base + (haut ? ".GTS" : ".GBS"),
                       std::string("vernis épargne côté ") + (haut ? "composants" : "cuivre") +
                           " (une ouverture par pastille, plus grande de " + Mm(o.MargeMasqueMm) +
                           " mm)",
                       kMasque, f.masque});
  }
  if (couches[3] && !CollecteIndicesGerber(c, kMasqueImplantation).empty())
    p.fichiers_.push_back({base + ".GTO", "sérigraphie côté composants (plan d'implantation)",
                           kLegende, kMasqueImplantation});
  if (p.fichiers_.empty()) return p;
  p.fichiers_.insert(p.fichiers_.end(), masques.begin(), masques.end());

  // The outline.
  const ContourCarte contour = CalculeContour(c, o.Contour, o.MargeContourMm, o.Pastilles);
  p.gauche_ = contour.Gauche;
  p.bas_ = contour.Bas;
  p.droite_ = contour.Droite;
  p.haut_ = contour.Haut;
  if (contour.Dessine) {
    p.contour_ = "rectangle tracé sur le plan de perçage";
    p.contourAnglais_ = "the rectangle drawn on the drilling plan";
  } else if (contour.Mode == ContourFabrication::Etendue) {
    p.contour_ = "étendue des éléments tracés et " + Mm(o.MargeContourMm) + " mm de marge";
    p.contourAnglais_ =
        "the extent of the elements plus a margin of " + MmPoint(o.MargeContourMm) + " mm";
  } else {
    p.contour_ = "surface de travail";
    p.contourAnglais_ = "the work surface";
  }
  p.fichiers_.push_back({base + ".GKO", "contour de la carte (" + p.contour_ + ")", kContour, 0});

  // The drill files.
  const auto pth = OutilsDuJeu(k, false), npth = OutilsDuJeu(k, true);
  p.metallises_ = Compte(pth);
  p.nonMetallises_ = Compte(npth);
  if (!pth.empty())
    p.fichiers_.push_back({base + "-PTH.DRL", "perçage Excellon, trous métallisés", kPth, 0});
  if (!npth.empty())
    p.fichiers_.push_back({base + "-NPTH.DRL", "perçage Excellon, trous non métallisés", kNpth, 0});
  // The nets of the copper, for the electrical test of the bare board.
  if (p.nbCuivres_ > 0)
    p.fichiers_.push_back({base + "-netlist.ipc",
                           "équipotentielles IPC-D-356A (test électrique de la carte nue)",
                           kNetlist, 0});
  p.guid_ = Guid(base);

  // What would come back wrong.
  if (cg <= cd) {
    const int64_t depasse = std::max({p.gauche_ - cg, p.bas_ - cb, cd - p.droite_, ch - p.haut_});
    if (depasse > 0)
      p.avertissements_.push_back("du cuivre dépasse le contour de la carte de " +
                                  Mm(static_cast<double>(depasse) * 0.0254) +
                                  " mm : le fabricant le coupera.");
  }
  // The check of the copper alone (the legend's drawings, which may be countless strokes, are
  // none of its business), its edge rule measuring from the set's outline: given to it as a
  // rectangle of the drilling plan.
  OptionsVerification ov;
  ov.PorteeMm = 1;
  ov.Pastilles = o.Pastilles;
  ov.Contour = contour.Mode == ContourFabrication::Surface ? ContourFabrication::Surface
                                                           : ContourFabrication::Carte;
  ResultatVerification mesures;
  {
    Circuit cuivre;
    cuivre.EnteteCI = c.EnteteCI;
    for (int32_t i = 1; i <= c.NbElements; ++i)
      if (c.Elements[i].Couche & (kMasqueFace1 | kMasqueFace2))
        cuivre.Elements[++cuivre.NbElements] = c.Elements[i];
    const bool dansLeStore = contour.Gauche >= 0 && contour.Bas >= 0 && contour.Droite <= 0xFFFF &&
                             contour.Haut <= 0xFFFF;
    if (ov.Contour == ContourFabrication::Carte && !dansLeStore) ov.BordMm = 0;
    if (ov.Contour == ContourFabrication::Carte && dansLeStore &&
        cuivre.NbElements + 2 <= kMaxElements) {
      ElementCI& a = cuivre.Elements[++cuivre.NbElements];
      a.Couche = 8;
      a.Code = code::Rectangle1;
      a.X = static_cast<uint16_t>(contour.Gauche);
      a.Y = static_cast<uint16_t>(contour.Bas);
      ElementCI& b = cuivre.Elements[++cuivre.NbElements];
      b.Couche = 8;
      b.Code = code::Rectangle2;
      b.X = static_cast<uint16_t>(contour.Droite);
      b.Y = static_cast<uint16_t>(contour.Haut);
    }
    mesures = VerifieCircuit(cuivre, ov);
  }
  std::vector<const Defaut*> defauts;
  for (const Defaut& d : mesures.Defauts)
    if (d.Genre != GenreDefaut::HorsContour) defauts.push_back(&d);
  if (!defauts.empty()) {
    std::string s = "la vérification trouve " + std::to_string(defauts.size()) +
                    (defauts.size() > 1 ? " défauts" : " défaut") + " (isolement " +
                    Mm(ov.IsolementMm) + " mm ; korv4-cli verifier les détaille), dont : " +
                    DecritDefaut(*defauts[0], ov.IsolementMm) + ".";
    p.avertissements_.push_back(s);
  }

  // The job file.
  {
    std::string j = "{\n  \"Header\": {\n    \"GenerationSoftware\": {\n";
    j += "      \"Vendor\": \"KORV4\",\n      \"Application\": \"korv4\",\n";
    j += "      \"Version\": \"" + Champ(kVersion) + "\"\n    }";
    if (!o.Date.empty()) j += ",\n    \"CreationDate\": \"" + Champ(o.Date) + "\"";
    j += "\n  },\n  \"GeneralSpecs\": {\n    \"ProjectId\": {\n";
    j += "      \"Name\": \"" + base + "\",\n      \"GUID\": \"" + p.guid_ + "\",\n";
    j += "      \"Revision\": \"1\"\n    },\n";
    j += "    \"Size\": {\n      \"X\": " + MmExact(p.droite_ - p.gauche_) +
         ",\n      \"Y\": " + MmExact(p.haut_ - p.bas_) + "\n    },\n";
    j += "    \"LayerNumber\": " + std::to_string(p.nbCuivres_) + "\n  },\n";
    j += "  \"FilesAttributes\": [";
    bool premier = true;
    for (const Fichier& f : p.fichiers_) {
      std::string fonction, polarite = "Positive";
      switch (f.genre) {
        case kCuivre:
          fonction = std::string("Copper,") +
                     (p.deuxFaces_ && f.masque == kMasqueFace1 ? "L2" : "L1") +
                     (f.masque == kMasqueFace2 ? ",Top" : ",Bot");
          break;
        case kMasque:
          fonction = f.masque == kMasqueFace2 ? "Soldermask,Top" : "Soldermask,Bot";
          polarite = "Negative";
          break;
        case kLegende: fonction = "Legend,Top"; break;
        case kContour: fonction = "Profile,NP"; break;
        case kPth: fonction = "Plated,1," + std::to_string(p.nbCuivres_) + ",PTH"; break;
        case kNpth: fonction = "NonPlated,1," + std::to_string(p.nbCuivres_) + ",NPTH"; break;
        // Not a layer: listed so that the job names every file of the set, as another data.
        case kNetlist: fonction = "Other,IPC-D-356A netlist"; break;
        default: continue;
      }
      j += premier ? "\n" : ",\n";
      premier = false;
      j += "    {\n      \"Path\": \"" + f.Nom + "\",\n      \"FileFunction\": \"" + fonction +
           "\",\n      \"FilePolarity\": \"" + polarite + "\"\n    }";
    }
    j += "\n  ]\n}\n";
    p.travail_ = j;
    p.fichiers_.push_back(
        {base + ".gbrjob", "fichier de travail (JSON) : carte et fichiers", kTravail, 0});
  }

  // The text file, in French then in English.
  {
    // The thinnest track at its true width (the tools name it in millimetres).
    int64_t piste = -1;
    int32_t nbMires = 0, nbPlan = 0;
    for (int32_t i = 1; i <= c.NbElements; ++i) {
      const ElementCI& e = c.Elements[i];
      nbMires += EstMire(e.Code) ? 1 : 0;
      nbPlan += e.Couche == 8 ? 1 : 0;
      if (EstPiste(e.Code) && (e.Couche & (kMasqueFace1 | kMasqueFace2))) {
        const OuvertureJeu* ouverture = TrouveOuverture(e.Code - 130);
        if (ouverture && (piste < 0 || ouverture->largeur < piste)) piste = ouverture->largeur;
      }
    }
    const double pisteMm = piste < 0 ? -1.0 : static_cast<double>(piste) / 1e6;
    const std::string sauf = contour.Dessine ? ", sauf le rectangle qui sert de contour" : "";
    const std::string but = contour.Dessine ? ", but for the rectangle used as the outline" : "";
    const std::string largeur = Mm(p.LargeurMm()), hauteur = Mm(p.HauteurMm());
    std::string t = "# Jeu de fabrication " + base + "\n\n";
    t += "Fait par KORV4 " + std::string(kVersion) +
         ". Toutes les couches sont vues côté composants, en "
         "millimètres (Gerber X2, format 4.6 ; perçage Excellon métrique), dans les mêmes "
         "coordonnées. Carte " +
         std::string(p.deuxFaces_ ? "double face (2 couches de cuivre)"
                                  : "simple face (1 couche de cuivre)") +
         ".\n\n";
    t += "| Fichier | Couche |\n|---|---|\n";
    for (const Fichier& f : p.fichiers_) t += "| " + f.Nom + " | " + f.Couche + " |\n";
    t += "| " + std::string(kNomLisezMoi) + " | ce résumé |\n";
    t += "\nDimensions de la carte : " + largeur + " x " + hauteur +
         " mm (contour : " + p.contour_ + ").\n\n";
    auto Trous = [](const PlanFabrication::Trous& n, const std::string& titre, bool francais) {
      const std::string deuxPoints = francais ? " :" : ":";
      std::string s = titre + " (" + std::to_string(n.Total) + ")" + deuxPoints + "\n\n";
      for (const auto& [d, nombre] : n.ParDiametre)
        s += "- " + (francais ? Mm(d / 10.0) : MmPoint(d / 10.0)) + " mm" + deuxPoints + " " +
             std::to_string(nombre) + "\n";
      return s + "\n";
    };
    if (p.metallises_.Total + p.nonMetallises_.Total == 0) t += "Aucun trou.\n\n";
    if (p.metallises_.Total)
      t += Trous(p.metallises_, "Trous métallisés, " + base + "-PTH.DRL", true);
    if (p.nonMetallises_.Total)
      t += Trous(p.nonMetallises_, "Trous non métallisés, " + base + "-NPTH.DRL", true);
    t += "Piste la plus fine : " +
         (pisteMm < 0 ? std::string("aucune piste") : Mm(pisteMm) + " mm") + ".\n";
    t += "Plus petit écart entre deux cuivres d'une face : " +
         (mesures.EcartMinimalMm < 0 ? std::string("plus de 1,00 mm")
                                     : Mm(mesures.EcartMinimalMm) + " mm") +
         ".\n\n";
    t += "Laissé de côté : les mires de centrage (" + std::to_string(nbMires) +
         ", elles servent à la gravure maison), le plan de perçage (" + std::to_string(nbPlan) +
         " éléments" + sauf + "), l'épaisseur finie (inconnue).\n";
    for (const std::string& a : p.avertissements_) t += "\nAttention : " + a + "\n";

    t += "\n## Board-house set " + base + " (English)\n\n";
    t += "Made by KORV4 " + std::string(kVersion) +
         ". Every layer is seen from the component side, in "
         "millimetres (Gerber X2, format 4.6; metric Excellon drill), in the same coordinates. " +
         std::string(p.deuxFaces_ ? "Double-sided board (2 copper layers)"
                                  : "Single-sided board (1 copper layer)") +
         ".\n\n";
    t += "| File | Layer |\n|---|---|\n";
    for (const Fichier& f : p.fichiers_) {
      std::string couche;
      switch (f.genre) {
        case kCuivre:
          couche = f.masque == kMasqueFace2 ? "top copper (face 2)" : "bottom copper (face 1)";
          break;
        case kMasque:
          couche = std::string(f.masque == kMasqueFace2 ? "top" : "bottom") +
                   " solder mask (one opening per pad, larger by " + MmPoint(o.MargeMasqueMm) +
                   " mm)";
          break;
        case kLegende: couche = "top legend (placement plan)"; break;
        case kContour: couche = "board outline (" + p.contourAnglais_ + ")"; break;
        case kPth: couche = "Excellon drill, plated holes"; break;
        case kNpth: couche = "Excellon drill, non-plated holes"; break;
        case kNetlist: couche = "IPC-D-356A netlist (bare-board electrical test)"; break;
        case kTravail: couche = "job file (JSON): board and files"; break;
        default: break;
      }
      t += "| " + f.Nom + " | " + couche + " |\n";
    }
    t += "| " + std::string(kNomLisezMoi) + " | this summary |\n";
    t += "\nBoard size: " + MmPoint(p.LargeurMm()) + " x " + MmPoint(p.HauteurMm()) +
         " mm (outline: " + p.contourAnglais_ + ").\n\n";
    if (p.metallises_.Total + p.nonMetallises_.Total == 0) t += "No holes.\n\n";
    if (p.metallises_.Total) t += Trous(p.metallises_, "Plated holes, " + base + "-PTH.DRL", false);
    if (p.nonMetallises_.Total)
      t += Trous(p.nonMetallises_, "Non-plated holes, " + base + "-NPTH.DRL", false);
    t += "Thinnest track: " + (pisteMm < 0 ? std::string("no track") : MmPoint(pisteMm) + " mm") +
         ".\n";
    t += "Smallest gap between two copper shapes of a face: " +
         (mesures.EcartMinimalMm < 0 ? std::string("more than 1.00 mm")
                                     : MmPoint(mesures.EcartMinimalMm) + " mm") +
         ".\n\n";
    t += "Left out: the centring targets (" + std::to_string(nbMires) +
         ", they serve home etching), the drilling plan (" + std::to_string(nbPlan) + " elements" +
         but + "), the finished thickness (unknown).\n";
    if (!p.avertissements_.empty())
      t += "\nWarning: the author was told of " + std::to_string(p.avertissements_.size()) +
           " problem(s), listed above in French.\n";
    p.lisezMoi_ = t;
  }
  p.fichiers_.push_back({kNomLisezMoi, "ce résumé, en français et en anglais", kLisezMoi, 0});
  return p;
}

bool PlanFabrication::EcritFichier(size_t n, FluxOctets& sortie) const {
  if (n >= fichiers_.size() || !c_) return false;
  const Fichier& f = fichiers_[n];
  const Circuit& c = *c_;
  const Contexte k{c, o_, deuxFaces_};
  auto Texte = [&sortie](const std::string& s) {
    return sortie.Ecrit(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  };
  if (f.genre == kTravail) return Texte(travail_);
  if (f.genre == kLisezMoi) return Texte(lisezMoi_);
  if (f.genre == kNetlist) {
    OptionsIpc356 ipc;
    ipc.Nom = o_.Base;
    ipc.Pastilles = o_.Pastilles;
    ipc.DiametresNonMetallises = o_.DiametresNonMetallises;
    const std::vector<uint8_t> v = EcritIpc356(c, ipc);
    return sortie.Ecrit(v.data(), v.size());
  }

  // The header every Gerber and drill file of the set shares, as X2 attributes.
  std::vector<std::string> attributs = {"TF.GenerationSoftware,KORV4,korv4," + Champ(kVersion)};
  if (!o_.Date.empty()) attributs.push_back("TF.CreationDate," + Champ(o_.Date));
  attributs.push_back("TF.ProjectId," + o_.Base + "," + guid_ + ",1");
  attributs.push_back("TF.SameCoordinates");

  if (f.genre == kPth || f.genre == kNpth) {
    const auto outils = OutilsDuJeu(k, f.genre == kNpth);
    std::vector<OutilExcellon> liste;
    for (const auto& [cle, trous] : outils)
      liste.push_back({Decimale(cle.diametre * 100, 3), cle.fonction, trous});
    FormatExcellon format;
    format.Metrique = true;
    format.Commentaires.push_back(std::string("KORV4, jeu de fabrication : percage, trous ") +
                                  (f.genre == kNpth ? "non " : "") +
                                  "metallises, vu cote composants");
    for (const std::string& a : attributs) format.Commentaires.push_back("#@! " + a);
    format.Commentaires.push_back(
        "#@! TF.FileFunction," + std::string(f.genre == kNpth ? "NonPlated,1," : "Plated,1,") +
        std::to_string(nbCuivres_) + (f.genre == kNpth ? ",NPTH" : ",PTH"));
    format.Commentaires.push_back("#@! TF.Part,Single");
    const std::vector<uint8_t> v = EcritExcellon(liste, format);
    return sortie.Ecrit(v.data(), v.size());
  }

  // A Gerber file.
  std::vector<ElementCI> elements;
  std::string titre, fonction, polarite = "Positive";
  int64_t marge = 0;
  TraceurJeu::Fonctions fonctions;
  switch (f.genre) {
    case kCuivre:
      elements = ElementsDuFichier(c, f.masque, false);
      titre = f.masque == kMasqueFace2 ? "cuivre cote composants (face 2)"
                                       : "cuivre cote cuivre (face 1)";
      fonction = std::string("Copper,") + (deuxFaces_ && f.masque == kMasqueFace1 ? "L2" : "L1") +
                 (f.masque == kMasqueFace2 ? ",Top" : ",Bot");
      fonctions = [&elements, &k](size_t i) { return k.FonctionCuivre(elements[i]); };
      break;
    case kMasque:
      elements = ElementsDuFichier(c, f.masque, true);
      titre = f.masque == kMasqueFace2 ? "vernis epargne cote composants"
                                       : "vernis epargne cote cuivre";
      fonction = f.masque == kMasqueFace2 ? "Soldermask,Top" : "Soldermask,Bot";
      polarite = "Negative";
      marge = std::llround(o_.MargeMasqueMm * 1e6);
      break;
    case kLegende:
      elements = ElementsDuFichier(c, kMasqueImplantation, false);
      titre = "serigraphie cote composants";
      fonction = "Legend,Top";
      break;
    default:  // kContour
      titre = "contour";
      fonction = "Profile,NP";
      break;
  }

  std::vector<uint8_t> entete;
  Ligne(entete, "G04 KORV4, jeu de fabrication : " + titre + "*");
  for (const std::string& a : attributs) Ligne(entete, "G04 #@! " + a + "*");
  Ligne(entete, "G04 #@! TF.FileFunction," + fonction + "*");
  Ligne(entete, "G04 #@! TF.FilePolarity," + polarite + "*");
  Ligne(entete, "G04 #@! TF.Part,Single*");
  Ligne(entete, "%FSLAX46Y46*%");
  Ligne(entete, "%MOMM*%");
  Ligne(entete, "%LPD*%");

  if (f.genre == kContour) {
    Ligne(entete, "G04 #@! TA.AperFunction,Profile*");
    Ligne(entete, "%ADD" + std::to_string(kDcodeContour) + "C," + MmDeNm(kTraitContourNm) + "*%");
    Ligne(entete, "G01*");
    TraceurJeu t(&sortie, [](size_t) { return Fonction::Profile; });
    std::vector<uint8_t>& v = t.Tampon();
    v.insert(v.begin(), entete.begin(), entete.end());
    t.Element(0);
    t.Ouverture(kDcodeContour);
    const auto g = static_cast<int32_t>(gauche_), b = static_cast<int32_t>(bas_);
    const auto d = static_cast<int32_t>(droite_), h = static_cast<int32_t>(haut_);
    t.DeplaceVers(g, b);
    t.TraceVers(d, b);
    t.TraceVers(d, h);
    t.TraceVers(g, h);
    t.TraceVers(g, b);
    Ligne(v, "M02*");
    return t.Vide();
  }

  // First the apertures used, then the file.
  TraceurJeu releve(nullptr, fonctions);
  TraceElements(releve, elements);
  TraceurJeu t(&sortie, fonctions);
  t.Numerote(releve.Cles());
  for (const auto& [cle, numero] : t.Numeros()) {
    const std::string def = DefinitionJeu(numero, cle.first, o_.Pastilles, marge);
    if (def.empty()) continue;
    Ligne(entete, "G04 #@! TA.AperFunction," + std::string(NomFonction(cle.second)) + "*");
    Ligne(entete, "%" + def + "%");
  }
  Ligne(entete, "G01*");
  t.Tampon().insert(t.Tampon().begin(), entete.begin(), entete.end());
  TraceElements(t, elements);
  Ligne(t.Tampon(), "M02*");
  return t.Vide();
}

std::vector<ElementCI> ElementsDuJeu(const Circuit& c, uint8_t masque, bool vernis) {
  return ElementsDuFichier(c, masque, vernis);
}

bool OuvertureDuJeu(int dcode, StylePastilles style, OuvertureJeuNm& o) {
  const OuvertureJeu* t = TrouveOuverture(dcode);
  if (!t) return false;
  o.Forme = t->forme == 'O' ? (style == StylePastilles::Octogonales ? 'P' : 'C') : t->forme;
  o.Largeur = t->largeur;
  o.Hauteur = t->forme == 'R' ? t->hauteur : t->largeur;
  return true;
}

std::vector<TrouJeu> TrousDuJeu(const Circuit& c) {
  std::vector<TrouJeu> t;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    const int indice = IndiceTrou(e);
    if (indice) t.push_back({e.X, e.Y, c.EnteteCI.DiametresPercage[indice]});
  }
  return t;
}

JeuFabrication FabriqueJeu(const Circuit& c, const OptionsFabrication& o) {
  JeuFabrication jeu;
  const PlanFabrication p = PrepareJeu(c, o);
  jeu.Erreur = p.Erreur();
  jeu.Avertissements = p.Avertissements();
  for (size_t k = 0; k < p.Fichiers().size(); ++k) {
    FichierFabrication f{p.Fichiers()[k].Nom, p.Fichiers()[k].Couche, {}};
    FluxVecteur flux(f.Octets);
    p.EcritFichier(k, flux);
    jeu.Fichiers.push_back(std::move(f));
  }
  return jeu;
}

}  // namespace korv4
