#include "verification/Regles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "verification/Cuivre.h"
#include "verification/Equipotentielles.h"

namespace korv4 {

namespace {

using namespace cuivre;

std::string Mm(double v) {
  char t[64];
  std::snprintf(t, sizeof t, "%.2f", v);
  std::string s = t;
  std::replace(s.begin(), s.end(), '.', ',');
  return s;
}

bool Valide(double mm) { return std::isfinite(mm) && mm > 0; }

void Couronnes(const Circuit& c, const OptionsVerification& o, std::vector<Defaut>& defauts) {
  if (!Valide(o.CouronneMm)) return;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (!TrouMetallise(c, e)) continue;
    const FormeOuverture f = FormeDeLOuverture(e.Code - 182, o.Pastilles);
    double largeur = std::min(f.Largeur, f.Hauteur);
    if (f.type == FormeOuverture::Octogone) largeur *= std::cos(3.14159265358979323846 / 8);
    const double couronne =
        (largeur * kMmParUnite - c.EnteteCI.DiametresPercage[e.Attribut] / 10.0) / 2;
    if (couronne < 0 || couronne >= o.CouronneMm - 1e-9) continue;  // < 0: PercageTropGrand
    Defaut d;
    d.Genre = GenreDefaut::CouronneEtroite;
    d.Couche = e.Couche;
    d.X = e.X;
    d.Y = e.Y;
    d.Distance = couronne;
    d.Minimum = o.CouronneMm;
    defauts.push_back(d);
  }
}

void TrousSansCuivre(const Circuit& c, std::vector<Defaut>& defauts) {
  constexpr uint8_t kDiametreLibre = 204;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (!EstPastille(e.Code) || e.Code == kDiametreLibre || PastilleConductrice(e.Code)) continue;
    if (e.Attribut < 1 || e.Attribut >= c.EnteteCI.DiametresPercage.size()) continue;
    const int32_t diametre = c.EnteteCI.DiametresPercage[e.Attribut];
    if (diametre <= 0) continue;
    Defaut d;
    d.Genre = GenreDefaut::TrouSansCuivre;
    d.Couche = e.Couche;
    d.X = e.X;
    d.Y = e.Y;
    d.Distance = diametre / 10.0;
    defauts.push_back(d);
  }
}

void Bords(const Circuit& c, const OptionsVerification& o, const Equipotentielles& nets,
           const Geometrie* faces[3], const BoiteTracee* etendue, std::vector<Defaut>& defauts) {
  if (!Valide(o.BordMm)) return;
  const ContourCarte contour = etendue
                                   ? CalculeContour(c, o.Contour, o.MargeContourMm, *etendue)
                                   : CalculeContour(c, o.Contour, o.MargeContourMm, o.Pastilles);
  const double limite = o.BordMm / kMmParUnite;
  std::vector<bool> signale(static_cast<size_t>(c.NbElements) + 1, false);
  for (int face = 1; face <= 2; ++face) {
    if (!faces[face]) continue;
    for (const Groupe& gr : faces[face]->groupes) {
      if (gr.xmin > gr.xmax || signale[static_cast<size_t>(gr.indice)]) continue;
      if (nets.Morceau(gr.indice, face) < 0) continue;  // no copper of the set (a target)
      const double gauche = gr.xmin - static_cast<double>(contour.Gauche);
      const double bas = gr.ymin - static_cast<double>(contour.Bas);
      const double droite = static_cast<double>(contour.Droite) - gr.xmax;
      const double haut = static_cast<double>(contour.Haut) - gr.ymax;
      const double proche = std::min({gauche, bas, droite, haut});
      if (proche <= kTolerance || proche >= limite - kTolerance) continue;  // past it: HorsContour
      signale[static_cast<size_t>(gr.indice)] = true;
      Defaut d;
      d.Genre = GenreDefaut::BordTropProche;
      d.Couche = gr.couche;
      d.X = proche == gauche ? gr.xmin : (proche == droite ? gr.xmax : (gr.xmin + gr.xmax) / 2);
      d.Y = proche == bas ? gr.ymin : (proche == haut ? gr.ymax : (gr.ymin + gr.ymax) / 2);
      d.Distance = proche * kMmParUnite;
      d.Minimum = o.BordMm;
      defauts.push_back(d);
    }
  }
}

// Track ends short of their own piece: each end's cap, a disc shape of a group of its own, is
// searched against the face's shapes through the index.
void ExtremitesMemeNet(const Circuit& c, const OptionsVerification& o, const Equipotentielles& nets,
                       const Geometrie* faces[3], std::vector<Defaut>& defauts) {
  if (!Valide(o.IsolementMm)) return;
  const double isolement = o.IsolementMm / kMmParUnite;
  for (int face = 1; face <= 2; ++face) {
    if (!faces[face]) continue;
    const Geometrie& g = *faces[face];
    std::vector<Forme> formes = g.formes;
    const size_t n = formes.size();
    struct Bout {
      size_t forme;
      Point2 direction;  // from the track towards its end, of length 1
    };
    std::vector<Bout> bouts;
    for (size_t k = 0; k < n; ++k) {
      const Forme& t = g.formes[k];
      if (t.nature != Nature::Piste || t.polygone >= 0) continue;
      for (int cote = 0; cote < 2; ++cote) {
        if (!(cote == 0 ? t.extremiteA : t.extremiteB)) continue;
        const Point2 e = cote == 0 ? t.a : t.b, autre = cote == 0 ? t.b : t.a;
        const double l = Norme(e - autre);
        if (l <= 0) continue;
        Forme bout = t;
        bout.a = bout.b = e;
        bout.extremiteA = bout.extremiteB = false;
        bout.groupe = static_cast<int32_t>(g.groupes.size() + bouts.size());
        bout.xmin = e.x - t.r;
        bout.xmax = e.x + t.r;
        bout.ymin = e.y - t.r;
        bout.ymax = e.y + t.r;
        formes.push_back(bout);
        bouts.push_back({k, (e - autre) * (1 / l)});
      }
    }
    if (bouts.empty()) continue;
    // The nearest copper ahead of each end; between two as near, the shape plotted first, so
    // that the order in which the index gives the pairs does not matter.
    struct Trouve {
      double ecart;
      Point2 milieu;
      int32_t forme;
    };
    std::vector<Trouve> meilleur(bouts.size(), {-1, {}, -1});
    PairesProchesDe(
        formes, isolement,
        [&](int32_t a, int32_t b) {
          const bool ba = static_cast<size_t>(a) >= n, bb = static_cast<size_t>(b) >= n;
          if (ba == bb) return;  // two caps, or two shapes (the isolation check's business)
          const size_t kb = (ba ? static_cast<size_t>(a) : static_cast<size_t>(b)) - n;
          const Forme& cap = formes[n + kb];
          const Forme& s = formes[static_cast<size_t>(ba ? b : a)];
          const Forme& piste = g.formes[bouts[kb].forme];
          const int32_t recPiste = g.groupes[static_cast<size_t>(piste.groupe)].indice;
          const int32_t recS = g.groupes[static_cast<size_t>(s.groupe)].indice;
          const int32_t m = nets.Morceau(recPiste, face);
          if (m < 0 || nets.Morceau(recS, face) != m) return;
          const Ecart e = Mesure(g, cap, s);
          if (e.ecart <= kTolerance || !(e.ecart < isolement - kTolerance)) return;
          const Point2 vers = e.pb - cap.a;
          if (Scalaire(vers, bouts[kb].direction) <= 0.5 * Norme(vers)) return;
          Trouve& t = meilleur[kb];
          const int32_t forme = ba ? b : a;
          if (t.ecart >= 0 && (t.ecart < e.ecart || (t.ecart == e.ecart && t.forme < forme)))
            return;
          const double l = Norme(vers);
          t.ecart = e.ecart;
          t.forme = forme;
          t.milieu = l > 0 ? cap.a + vers * ((cap.r + e.ecart / 2) / l) : cap.a;
        },
        static_cast<int32_t>(n));
    for (size_t k = 0; k < bouts.size(); ++k) {
      if (meilleur[k].ecart < 0) continue;
      Defaut d;
      d.Genre = GenreDefaut::ExtremiteMemeNet;
      d.Couche = static_cast<uint8_t>(face);
      d.X = meilleur[k].milieu.x;
      d.Y = meilleur[k].milieu.y;
      d.Distance = meilleur[k].ecart * kMmParUnite;
      defauts.push_back(d);
    }
  }
  (void)c;
}

}  // namespace

void VerifieRegles(const Circuit& c, const OptionsVerification& o, std::vector<Defaut>& defauts) {
  VerifieRegles(c, o, nullptr, nullptr, defauts);
}

void VerifieRegles(const Circuit& c, const OptionsVerification& o, const Geometrie* const lues[3],
                   const BoiteTracee* etendue, std::vector<Defaut>& defauts) {
  Couronnes(c, o, defauts);
  TrousSansCuivre(c, defauts);
  const bool bords = Valide(o.BordMm), extremites = Valide(o.IsolementMm);
  if (!bords && !extremites) return;
  Geometrie geometries[3];
  const Geometrie* lesDeux[3] = {nullptr, nullptr, nullptr};
  for (int face = 1; face <= 2; ++face) {
    if (lues) {
      lesDeux[face] = lues[face];
      continue;
    }
    geometries[face] = LitCouche(c, face == 1 ? kMasqueFace1 : kMasqueFace2, o.Pastilles);
    lesDeux[face] = &geometries[face];
  }
  const Equipotentielles nets = CalculeEquipotentielles(c, lesDeux);
  const Geometrie* faces[3] = {nullptr, nullptr, nullptr};
  for (int face = 1; face <= 2; ++face)
    if (nets.FaceFaite(face)) faces[face] = lesDeux[face];
  Bords(c, o, nets, faces, etendue, defauts);
  ExtremitesMemeNet(c, o, nets, faces, defauts);
}

std::string DecritRegle(const Defaut& d) {
  switch (d.Genre) {
    case GenreDefaut::CouronneEtroite:
      return "couronne de " + Mm(d.Distance) + " mm (minimum " + Mm(d.Minimum) + " mm)";
    case GenreDefaut::BordTropProche:
      return "à " + Mm(d.Distance) + " mm du contour (minimum " + Mm(d.Minimum) + " mm)";
    case GenreDefaut::TrouSansCuivre:
      return "perçage de " + Mm(d.Distance) + " mm sans cuivre autour";
    default: return "";
  }
}

}  // namespace korv4
