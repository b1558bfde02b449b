#include "verification/Regles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "verification/Cuivre.h"
#include "verification/Equipotentielles.h"
#include "verification/Interne.h"

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

}  // namespace

namespace interne {

void Couronnes(const Circuit& c, const OptionsVerification& o, std::vector<Defaut>& defauts) {
  if (!Valide(o.CouronneMm)) return;
  // Each kind's aperture read once.
  FormeOuverture formes[kNbSortesPastille];
  bool lue[kNbSortesPastille] = {};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (!TrouMetallise(c, e)) continue;
    const int k = IndicePastille(e.Code);
    if (!lue[k]) {
      formes[k] = FormeDeLOuverture(SortePastilleDe(e.Code).DCode, o.Pastilles);
      lue[k] = true;
    }
    const double largeur = interne::LargeurUtile(formes[k]);
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
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    // A kind with no copper that is not meant to be a bare hole (the spare diameter is).
    if (!EstPastille(e.Code) || EstPastilleCuivre(e.Code) || EstTrouSansCuivre(e.Code)) continue;
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

bool Bord(const Groupe& gr, const ContourCarte& contour, const OptionsVerification& o, Defaut& d) {
  const double limite = o.BordMm / kMmParUnite;
  const double gauche = gr.xmin - static_cast<double>(contour.Gauche);
  const double bas = gr.ymin - static_cast<double>(contour.Bas);
  const double droite = static_cast<double>(contour.Droite) - gr.xmax;
  const double haut = static_cast<double>(contour.Haut) - gr.ymax;
  const double proche = std::min({gauche, bas, droite, haut});
  if (proche <= kTolerance || proche >= limite - kTolerance) return false;  // past it: HorsContour
  d = Defaut{};
  d.Genre = GenreDefaut::BordTropProche;
  d.Couche = gr.couche;
  d.X = proche == gauche ? gr.xmin : (proche == droite ? gr.xmax : (gr.xmin + gr.xmax) / 2);
  d.Y = proche == bas ? gr.ymin : (proche == haut ? gr.ymax : (gr.ymin + gr.ymax) / 2);
  d.Distance = proche * kMmParUnite;
  d.Minimum = o.BordMm;
  return true;
}

}  // namespace interne

namespace {

void Bords(const Circuit& c, const OptionsVerification& o, const Equipotentielles& nets,
           const Geometrie* faces[3], const BoiteTracee* etendue, std::vector<Defaut>& defauts) {
  if (!Valide(o.BordMm)) return;
  const ContourCarte contour = etendue
                                   ? CalculeContour(c, o.Contour, o.MargeContourMm, *etendue)
                                   : CalculeContour(c, o.Contour, o.MargeContourMm, o.Pastilles);
  std::vector<bool> signale(static_cast<size_t>(c.NbElements) + 1, false);
  for (int face = 1; face <= 2; ++face) {
    if (!faces[face]) continue;
    for (const Groupe& gr : faces[face]->groupes) {
      if (gr.xmin > gr.xmax || signale[static_cast<size_t>(gr.indice)]) continue;
      if (nets.Morceau(gr.indice, face) < 0) continue;  // no copper of the set (a target)
      Defaut d;
      if (!interne::Bord(gr, contour, o, d)) continue;
      signale[static_cast<size_t>(gr.indice)] = true;
      defauts.push_back(d);
    }
  }
}

// Track ends short of their own piece: each end's cap, a disc, is searched against the face's
// shapes through the face's index.
void ExtremitesMemeNet(const Circuit& c, const OptionsVerification& o, const Equipotentielles& nets,
                       const Geometrie* faces[3], std::vector<Defaut>& defauts) {
  if (!Valide(o.IsolementMm)) return;
  const double isolement = o.IsolementMm / kMmParUnite;
  for (int face = 1; face <= 2; ++face) {
    if (!faces[face]) continue;
    const Geometrie& g = *faces[face];
    const size_t n = g.formes.size();
    // The nearest copper ahead of each end; between two as near, the shape plotted first, so
    // that the order in which the index gives the shapes does not matter.
    struct Trouve {
      double ecart = -1;
      Point2 milieu;
      int32_t forme = -1;
    };
    std::vector<Trouve> meilleur;
    const Index* index = nullptr;
    // Copper drawn twice at the same place measures the same: the first of identical shapes
    // alone is searched (through an index of those alone when there are copies), and identical
    // ends of one piece are searched once.
    std::vector<Forme> uniques;
    std::vector<int32_t> origine;  // the shape each of `uniques` is
    std::shared_ptr<const Index> propre;
    auto Avant = [&](const Forme& p, const Forme& q) {
      const double a[5] = {p.a.x, p.a.y, p.b.x, p.b.y, p.r},
                   b[5] = {q.a.x, q.a.y, q.b.x, q.b.y, q.r};
      for (int k = 0; k < 5; ++k)
        if (a[k] != b[k]) return a[k] < b[k] ? -1 : 1;
      // A polygon is its kind, centre and size (a and b): its corners follow from them.
      if (p.n != q.n) return p.n < q.n ? -1 : 1;
      return 0;
    };
    auto Indexe = [&] {
      std::vector<int32_t> ordre(n);
      for (size_t k = 0; k < n; ++k) ordre[k] = static_cast<int32_t>(k);
      std::sort(ordre.begin(), ordre.end(), [&](int32_t p, int32_t q) {
        const int v = Avant(g.formes[static_cast<size_t>(p)], g.formes[static_cast<size_t>(q)]);
        return v != 0 ? v < 0 : p < q;
      });
      std::vector<char> garde(n, 0);
      for (size_t k = 0; k < n; ++k)
        garde[static_cast<size_t>(ordre[k])] =
            k == 0 || Avant(g.formes[static_cast<size_t>(ordre[k - 1])],
                            g.formes[static_cast<size_t>(ordre[k])]) != 0;
      for (size_t k = 0; k < n; ++k) {
        if (!garde[k]) continue;
        uniques.push_back(g.formes[k]);
        origine.push_back(static_cast<int32_t>(k));
      }
      if (uniques.size() == n) return &IndexDe(g, isolement);
      propre = IndexDesFormes(uniques, isolement);
      return propre.get();
    };
    std::map<std::vector<double>, Trouve> bouts;
    for (size_t k = 0; k < n; ++k) {
      const Forme& piste = g.formes[k];
      if (piste.nature != Nature::Piste || piste.n > 0) continue;
      for (int cote = 0; cote < 2; ++cote) {
        Point2 e, direction;
        Forme cap;
        if (!interne::BoutDePiste(piste, cote, e, direction, cap)) continue;
        const int32_t m = nets.Morceau(g.groupes[static_cast<size_t>(piste.groupe)].indice, face);
        if (m < 0) continue;
        if (!index) index = Indexe();
        const auto [bout, nouveau] =
            bouts.emplace(std::vector<double>{e.x, e.y, direction.x, direction.y, piste.r,
                                              static_cast<double>(m)},
                          Trouve{});
        Trouve& t = bout->second;
        if (!nouveau) {
          if (t.ecart >= 0) meilleur.push_back(t);
          continue;
        }
        VoisinsDe(*index, cap, [&](int32_t u) {
          const int32_t forme = origine[static_cast<size_t>(u)];
          const Forme& s = g.formes[static_cast<size_t>(forme)];
          // Copper wholly behind the end (its box on the track's side) is never ahead of it.
          const double devant = (direction.x > 0 ? s.xmax : s.xmin) * direction.x +
                                (direction.y > 0 ? s.ymax : s.ymin) * direction.y -
                                Scalaire(e, direction);
          if (devant <= 0) return;
          if (nets.Morceau(g.groupes[static_cast<size_t>(s.groupe)].indice, face) != m) return;
          const Ecart ec = Mesure(g, cap, s);
          if (ec.ecart <= kTolerance || !(ec.ecart < isolement - kTolerance)) return;
          const Point2 vers = ec.pb - cap.a;
          if (Scalaire(vers, direction) <= 0.5 * Norme(vers)) return;
          if (t.ecart >= 0 && (t.ecart < ec.ecart || (t.ecart == ec.ecart && t.forme < forme)))
            return;
          const double lv = Norme(vers);
          t.ecart = ec.ecart;
          t.forme = forme;
          t.milieu = lv > 0 ? cap.a + vers * ((cap.r + ec.ecart / 2) / lv) : cap.a;
        });
        if (t.ecart >= 0) meilleur.push_back(t);
      }
    }
    for (size_t k = 0; k < meilleur.size(); ++k) {
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
  interne::Couronnes(c, o, defauts);
  interne::TrousSansCuivre(c, defauts);
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
  const Equipotentielles nets = MorceauxDuCuivre(c, lesDeux);
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
