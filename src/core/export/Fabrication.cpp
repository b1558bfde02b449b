#include "export/Fabrication.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "export/Percage.h"
#include "verification/Isolements.h"

namespace korv4 {

namespace {

constexpr double kPi = 3.14159265358979323846;

void Ajoute(std::vector<uint8_t>& v, const std::string& s) {
  v.insert(v.end(), s.begin(), s.end());
}
void Ligne(std::vector<uint8_t>& v, const std::string& s) {
  Ajoute(v, s);
  Ajoute(v, "\r\n");
}

// v / 10^decimales with a point, whatever the C locale says.
std::string Decimale(int64_t v, int decimales, char separateur = '.') {
  const bool negatif = v < 0;
  std::string s = std::to_string(negatif ? -v : v);
  if (s.size() < static_cast<size_t>(decimales) + 1) s.insert(0, decimales + 1 - s.size(), '0');
  if (decimales > 0) s.insert(s.size() - static_cast<size_t>(decimales), 1, separateur);
  return negatif ? "-" + s : s;
}
// Inches with six decimals, from a length in inches.
std::string Pouces(double pouces) { return Decimale(std::llround(pouces * 1e6), 6); }
// Millimetres with two decimals and a comma, for the text file.
std::string Mm(double mm) { return Decimale(std::llround(mm * 100), 2, ','); }

// The plotting of one file: the body goes to its own buffer, the apertures it selects are noted
// so that only those are defined in the header.
class TraceurFabrication final : public Traceur {
 public:
  TraceurFabrication() : gerber_(corps_, Cadre{100, 0, 0, 100}) {}  // store coordinates as is
  void Ouverture(int dcode) override {
    utilisees_[static_cast<size_t>(dcode & 0xFF)] = true;
    gerber_.Ouverture(dcode);
  }
  void Point(int32_t x, int32_t y, const char* operation) override {
    gerber_.Point(x, y, operation);
  }
  const std::array<bool, 256>& Utilisees() const { return utilisees_; }
  const std::vector<uint8_t>& Corps() const { return corps_; }

 private:
  std::vector<uint8_t> corps_;
  TraceurGerber gerber_;
  std::array<bool, 256> utilisees_{};
};

// A complete Gerber file: comment, X2 attributes, format, one aperture definition a block (by
// `definition`, "ADD10C,0.012*"), the body, the end.
template <typename Definition>
std::vector<uint8_t> GerberFabrication(const std::string& titre, const std::string& fonction,
                                       const std::string& polarite, const TraceurFabrication& t,
                                       Definition definition) {
  std::vector<uint8_t> v;
  v.reserve(t.Corps().size() + 2048);
  Ligne(v, "G04 KORV4, jeu de fabrication : " + titre + "*");
  Ligne(v, "G04 #@! TF.GenerationSoftware,KORV4,korv4*");
  Ligne(v, "G04 #@! TF.FileFunction," + fonction + "*");
  Ligne(v, "G04 #@! TF.FilePolarity," + polarite + "*");
  Ligne(v, "G04 #@! TF.Part,Single*");
  Ligne(v, "%FSLAX23Y23*%");
  Ligne(v, "%MOIN*%");
  Ligne(v, "%LPD*%");
  for (int d = 0; d < 256; ++d) {
    if (!t.Utilisees()[static_cast<size_t>(d)]) continue;
    const std::string def = definition(d);
    if (!def.empty()) Ligne(v, "%" + def + "%");
  }
  Ligne(v, "G01*");
  v.insert(v.end(), t.Corps().begin(), t.Corps().end());
  Ligne(v, "M02*");
  return v;
}

bool EstPastilleCuivre(const ElementCI& e) {
  return e.Code >= code::PastillePremier && e.Code <= 203;
}

// A mask opening: the pad's aperture grown by the margin on every side (an octagon's outer
// diameter grows so that its flat sides move by the margin).
std::string DefinitionMasque(int dcode, StylePastilles style, double margePouces) {
  const FormeOuverture f = FormeDeLOuverture(dcode, style);
  const std::string d = "ADD" + std::to_string(dcode);
  switch (f.type) {
    case FormeOuverture::Rectangle:
      return d + "R," + Pouces(f.Largeur / 1000.0 + 2 * margePouces) + "X" +
             Pouces(f.Hauteur / 1000.0 + 2 * margePouces) + "*";
    case FormeOuverture::Cercle:
      return d + "C," + Pouces(f.Largeur / 1000.0 + 2 * margePouces) + "*";
    case FormeOuverture::Octogone:
      return d + "P," + Pouces(f.Largeur / 1000.0 + 2 * margePouces / std::cos(kPi / 8)) +
             "X8X22.5*";
    case FormeOuverture::Aucune: break;
  }
  return {};
}

std::vector<uint8_t> Excellon(
    const std::vector<std::pair<int32_t, std::vector<korv4::Percage>>>& outils) {
  std::vector<uint8_t> v;
  Ligne(v, "M48");
  Ligne(v, "; KORV4, jeu de fabrication : percage, trous metallises, vu cote composants");
  Ligne(v, "; #@! TF.GenerationSoftware,KORV4,korv4");
  Ligne(v, "; #@! TF.FileFunction,Plated,1,2,PTH");
  Ligne(v, "; #@! TF.Part,Single");
  Ligne(v, "INCH,LZ");
  // Diameters in tenths of a millimetre, in inches with four decimals.
  for (size_t k = 0; k < outils.size(); ++k)
    Ligne(v, "T" + std::string(k + 1 < 10 ? "0" : "") + std::to_string(k + 1) + "C" +
                 Decimale(std::llround(outils[k].first * 10000.0 / 254), 4));
  Ligne(v, "%");
  Ligne(v, "G90");
  Ligne(v, "G05");
  for (size_t k = 0; k < outils.size(); ++k) {
    Ligne(v, "T" + std::string(k + 1 < 10 ? "0" : "") + std::to_string(k + 1));
    for (const korv4::Percage& p : outils[k].second)
      Ligne(v, "X" + Decimale(p.X, 3) + "Y" + Decimale(p.Y, 3));
  }
  Ligne(v, "M30");
  return v;
}

}  // namespace

JeuFabrication FabriqueJeu(const Circuit& c, const OptionsFabrication& o) {
  JeuFabrication jeu;
  if (!std::isfinite(o.MargeMasqueMm) || o.MargeMasqueMm < 0 || o.MargeMasqueMm > 5) {
    jeu.Erreur = "la marge du vernis épargne doit aller de 0 à 5 mm.";
    return jeu;
  }
  if (!std::isfinite(o.MargeContourMm) || o.MargeContourMm < 0 || o.MargeContourMm > 50) {
    jeu.Erreur = "la marge du contour doit aller de 0 à 50 mm.";
    return jeu;
  }
  if (c.NbElements <= 0) return jeu;
  OptionsPercage options;
  options.Elements = ElementsAPercer::CI;
  options.Face = FacePercage::Composants;
  std::string erreur;
  if (!VerifieDiametresPercage(c, options, erreur)) {
    jeu.Erreur = "le circuit a " + erreur;
    return jeu;
  }

  const StylePastilles style = o.Pastilles;
  const std::array<uint8_t, 5> couches = CouchesUtilisees(c);
  auto Definition = [style](int d) {
    const char* def = DefinitionOuverture(d, style);
    return def ? std::string(def) : std::string();
  };
  struct Couche {
    const char* extension;
    const char* nom;       // French, for the text file
    const char* titre;     // ASCII, for the file's comment
    const char* fonction;  // X2 file function
    uint8_t masque;
    bool presente;
  };
  const Couche cuivres[] = {
      {".GTL", "cuivre côté composants (face 2)", "cuivre cote composants (face 2)",
       "Copper,L1,Top", kMasqueFace2, couches[2] != 0},
      {".GBL", "cuivre côté cuivre (face 1, textes lisibles côté cuivre)",
       "cuivre cote cuivre (face 1)", "Copper,L2,Bot", kMasqueFace1,
       couches[1] || (couches[0] && !couches[2])},
  };
  std::vector<FichierFabrication> masques;
  for (const Couche& k : cuivres) {
    if (!k.presente) continue;
    const std::vector<ElementCI> elements = CollecteElementsGerber(c, k.masque);
    if (elements.empty()) continue;
    TraceurFabrication t;
    TraceElements(t, elements);
    jeu.Fichiers.push_back({o.Base + k.extension, k.nom,
                            GerberFabrication(k.titre, k.fonction, "Positive", t, Definition)});
    // Its mask: the pads alone, flashed with grown apertures.
    std::vector<ElementCI> pastilles;
    for (const ElementCI& e : elements)
      if (EstPastilleCuivre(e)) pastilles.push_back(e);
    if (pastilles.empty()) continue;
    TraceurFabrication m;
    TraceElements(m, pastilles);
    const bool dessus = k.masque == kMasqueFace2;
    const double marge = o.MargeMasqueMm / 25.4;
    masques.push_back(
        {o.Base + (dessus ? ".GTS" : ".GBS"),
         std::string("vernis épargne côté ") + (dessus ? "composants" : "cuivre") +
             " (une ouverture par pastille, plus grande de " + Mm(o.MargeMasqueMm) + " mm)",
         GerberFabrication(std::string("vernis epargne cote ") + (dessus ? "composants" : "cuivre"),
                           dessus ? "Soldermask,Top" : "Soldermask,Bot", "Negative", m,
                           [style, marge](int d) { return DefinitionMasque(d, style, marge); })});
  }
  if (couches[3]) {
    const std::vector<ElementCI> elements = CollecteElementsGerber(c, kMasqueImplantation);
    if (!elements.empty()) {
      TraceurFabrication t;
      TraceElements(t, elements);
      jeu.Fichiers.push_back({o.Base + ".GTO", "sérigraphie côté composants (plan d'implantation)",
                              GerberFabrication("serigraphie cote composants", "Legend,Top",
                                                "Positive", t, Definition)});
    }
  }
  if (jeu.Fichiers.empty()) return jeu;
  jeu.Fichiers.insert(jeu.Fichiers.end(), masques.begin(), masques.end());

  // The outline.
  int64_t gauche = 0, bas = 0, droite = c.EnteteCI.SurfaceX, haut = c.EnteteCI.SurfaceY;
  std::string contour = "surface de travail";
  if (o.Contour == ContourFabrication::Etendue) {
    const BoiteTracee b = EtendueTracee(c, style);
    const double marge = o.MargeContourMm / 0.0254;
    gauche = static_cast<int64_t>(std::floor(b.Gauche - marge));
    bas = static_cast<int64_t>(std::floor(b.Bas - marge));
    droite = static_cast<int64_t>(std::ceil(b.Droite + marge));
    haut = static_cast<int64_t>(std::ceil(b.Haut + marge));
    contour = "étendue des éléments tracés et " + Mm(o.MargeContourMm) + " mm de marge";
  }
  {
    TraceurFabrication t;
    t.Ouverture(10);
    const auto g = static_cast<int32_t>(gauche), b = static_cast<int32_t>(bas);
    const auto d = static_cast<int32_t>(droite), h = static_cast<int32_t>(haut);
    t.DeplaceVers(g, b);
    t.TraceVers(d, b);
    t.TraceVers(d, h);
    t.TraceVers(g, h);
    t.TraceVers(g, b);
    jeu.Fichiers.push_back({o.Base + ".GKO", "contour de la carte (" + contour + ")",
                            GerberFabrication("contour", "Profile,NP", "Positive", t,
                                              [](int) { return std::string("ADD10C,0.004*"); })});
  }

  // The drill: the circuit holes (not the centring pins), one tool per diameter.
  const ListePercages l = CollectePercages(c);
  std::map<int32_t, std::vector<korv4::Percage>> parDiametre;
  for (int32_t i = l.NbPions + 1; i <= l.NbPercages; ++i)
    parDiametre[l.Percages[static_cast<size_t>(i)].Diametre].push_back(
        l.Percages[static_cast<size_t>(i)]);
  if (!parDiametre.empty()) {
    const std::vector<std::pair<int32_t, std::vector<korv4::Percage>>> outils(parDiametre.begin(),
                                                                              parDiametre.end());
    jeu.Fichiers.push_back(
        {o.Base + ".DRL", "perçage Excellon, trous métallisés", Excellon(outils)});
  }

  // The text file.
  OptionsVerification ov;
  ov.IsolementMm = 0;  // no fault wanted: the smallest gap and track only
  ov.PorteeMm = 1;
  ov.Pastilles = style;
  const ResultatVerification mesures = VerifieCircuit(c, ov);
  std::string t = "# Jeu de fabrication " + o.Base + "\n\n";
  t += "Fait par KORV4. Toutes les couches sont vues côté composants, en pouces (Gerber "
       "RS-274X, format 2.3 ; perçage Excellon).\n\n";
  t += "| Fichier | Couche |\n|---|---|\n";
  for (const FichierFabrication& f : jeu.Fichiers) t += "| " + f.Nom + " | " + f.Couche + " |\n";
  t += "\nDimensions de la carte : " + Mm(static_cast<double>(droite - gauche) * 0.0254) + " x " +
       Mm(static_cast<double>(haut - bas) * 0.0254) + " mm (contour : " + contour + ").\n\n";
  if (parDiametre.empty()) {
    t += "Aucun trou.\n";
  } else {
    t += "Trous (" + std::to_string(l.NbPercagesCI()) + ") :\n\n";
    for (const auto& [diametre, trous] : parDiametre)
      t += "- " + Mm(diametre / 10.0) + " mm : " + std::to_string(trous.size()) + "\n";
  }
  t += "\nPiste la plus fine : " +
       (mesures.PisteMinimaleMm < 0 ? std::string("aucune piste")
                                    : Mm(mesures.PisteMinimaleMm) + " mm") +
       ".\n";
  t += "Plus petit écart entre deux cuivres d'une face : " +
       (mesures.EcartMinimalMm < 0 ? std::string("plus de 1,00 mm")
                                   : Mm(mesures.EcartMinimalMm) + " mm") +
       ".\n";
  jeu.Fichiers.push_back({kNomLisezMoi, "ce résumé", std::vector<uint8_t>(t.begin(), t.end())});
  return jeu;
}

}  // namespace korv4
