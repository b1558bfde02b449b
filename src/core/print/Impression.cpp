#include "print/Impression.h"

#include <algorithm>

namespace korv4 {

namespace {

constexpr const char* kDescriptions[16] = {
    "KORV4",
    "Typon face 1",
    "Typon face 2",
    "Typons faces 1 et 2",
    "Plan d'implantation",
    "Typon face 1 et plan d'implantation",
    "Typon face 2 et plan d'implantation",
    "Typons faces 1 et 2, plan d'implantation",
    "Plan de per\xE7"
    "age",
    "Typon face 1 et plan de per\xE7"
    "age",
    "Typon face 2 et plan de per\xE7"
    "age",
    "Typons faces 1 et 2, plan de per\xE7"
    "age",
    "Plan d'implantation et de per\xE7"
    "age",
    "Typon face 1, implantation et per\xE7"
    "age",
    "Typon face 2, implantation et per\xE7"
    "age",
    "Faces 1 et 2, implantation, per\xE7"
    "age",
};

int32_t Unites(int32_t points, int32_t ppp) {
  if (ppp <= 0) return 0;
  return static_cast<int32_t>((int64_t{points} * 1000) / ppp);
}

}  // namespace

const char* const kQuestionTaille = "La taille du CI ets trop grande. Désirez-vous continuer ?";

int32_t LargeurImprimable(const PageImprimante& page) {
  return Unites(page.LargeurPoints, page.PointsParPouceX);
}

int32_t HauteurImprimable(const PageImprimante& page) {
  return Unites(page.HauteurPoints, page.PointsParPouceY);
}

std::string TexteMillimetres(int32_t unites) {
  return "  " + std::to_string((int64_t{unites} * 254) / 10000) + " mm ";
}

CasesDocuments InitCases(const Circuit& c) {
  // Pads, face 1, face 2, placement plan, drilling plan (or a drilled pad).
  const std::array<uint8_t, 5> u = CouchesUtilisees(c);
  CasesDocuments k;
  k.Face1 = u[1] || (u[0] && !u[1] && !u[2]);
  k.Face2Active = u[2] != 0;
  k.Face3Active = u[3] != 0;
  k.Face4Active = u[4] != 0;
  return k;
}

const char* DescriptionDocuments(int32_t documents) { return kDescriptions[documents & 15]; }

std::string TexteDiametreLegende(int32_t diametre) {
  std::string d = std::to_string(diametre);
  if (d.size() == 1) d = "0" + d;
  d.insert(d.size() - 1, ",");
  return d + " mm";
}

void PrepareContexte(TravailImpression& t, const PageImprimante& page, int32_t surfaceX,
                     int32_t surfaceY, bool cadre, bool percage) {
  ContexteTrace& ctx = t.Contexte;
  ctx = ContexteTrace{};
  // The cursor fields stay as a new context has them: shape 0, colour 0.
  ctx.ResolX = std::max(page.PointsParPouceX, 1);
  ctx.ResolY = std::max(page.PointsParPouceY, 1);
  ctx.EchelleX = 1000;
  ctx.EchelleY = 1000;
  ctx.SurfaceX = surfaceX;
  ctx.SurfaceY = surfaceY;
  ctx.Zoom = 2;
  t.Paysage = page.Paysage;
  t.W = LargeurImprimable(page);
  t.H = HauteurImprimable(page);
  t.pw = PixelX(ctx, t.W);
  if (cadre) {
    t.ph = PixelY(ctx, t.H - (percage ? 750 : 500));
  } else {
    t.ph = PixelY(ctx, t.H);
  }
}

namespace {

// Steps 5 and 6 of the set-up, at the context's zoom.
void PlaceEncombrement(const Circuit& c, TravailImpression& t) {
  ContexteTrace& ctx = t.Contexte;
  t.Encombrement = c.NbElements > 0 ? CadreElements(c, 1, c.NbElements) : Cadre{};
  t.x1 = PixelX(ctx, t.Encombrement.Gauche);
  t.x2 = PixelX(ctx, t.Encombrement.Droite);
  t.yt = PixelY(ctx, t.Encombrement.Haut);
  t.yb = PixelY(ctx, t.Encombrement.Bas);
  ctx.OrigineX = (t.x2 + t.x1 - t.pw) / 2;
  ctx.OrigineY = (t.yt + t.yb + t.ph) / 2;
}

}  // namespace

TravailImpression PrepareDocuments(const Circuit& c, const PageImprimante& page,
                                   const ChoixDocuments& choix, int32_t travailCourant,
                                   int32_t surfaceX, int32_t surfaceY) {
  TravailImpression t;
  PrepareContexte(t, page, surfaceX, surfaceY, choix.Cadre, choix.Face4);
  PlaceEncombrement(c, t);
  t.EtatImpression = EtatTravail{};
  t.EtatImpression.Travail = travailCourant;
  t.DocumentsImprimes = (choix.Face1 ? kDocFace1 : 0) | (choix.Face2 ? kDocFace2 : 0) |
                        (choix.Face3 ? kDocImplantation : 0) | (choix.Face4 ? kDocPercage : 0);
  t.AvecCadre = choix.Cadre;
  t.AvecLegende = choix.Face4;
  if (choix.Face1) t.Travaux.push_back(1);
  if (choix.Face2) t.Travaux.push_back(choix.InversionFace2 ? (t.Paysage ? 6 : 5) : 2);
  if (choix.Face3) t.Travaux.push_back(3);
  if (choix.Face4) t.Travaux.push_back(4);
  if (c.NbElements <= 0) t.Travaux.clear();
  const int32_t n = static_cast<int32_t>(t.Travaux.size());
  t.TailleAcceptee = n == 0 || TailleAcceptable(t, t.ph, t.pw, n);
  return t;
}

TravailImpression PrepareEcran(const Circuit& c, const PageImprimante& page,
                               const EtatTravail& etat, const ContexteTrace& ecran, bool cadre) {
  TravailImpression t;
  PrepareContexte(t, page, ecran.SurfaceX, ecran.SurfaceY, cadre, etat.Travail == 4);
  t.Ecran = true;
  t.Contexte.Zoom = std::clamp(ecran.Zoom, 0, static_cast<int32_t>(kValeursZoom.size()) - 1);
  PlaceEncombrement(c, t);
  t.EtatImpression = etat;
  constexpr int32_t kBitTravail[5] = {0, kDocFace1, kDocFace2, kDocImplantation, kDocPercage};
  t.DocumentsImprimes = (etat.Travail >= 1 && etat.Travail <= 4 ? kBitTravail[etat.Travail] : 0) |
                        (etat.VisuFace1 ? kDocFace1 : 0) | (etat.VisuFace2 ? kDocFace2 : 0) |
                        (etat.VisuImplantation ? kDocImplantation : 0);
  t.AvecCadre = cadre;
  t.AvecLegende = etat.Travail == 4;
  if (c.NbElements > 0) t.Travaux.push_back(etat.Travail);
  t.TailleAcceptee = t.Travaux.empty() || TailleAcceptable(t, t.ph, t.pw, 1);
  return t;
}

bool TailleAcceptable(const TravailImpression& t, int32_t ah, int32_t aw, int32_t n) {
  const ContexteTrace& ctx = t.Contexte;
  int64_t w = PixelX(ctx, t.Encombrement.Droite - t.Encombrement.Gauche);
  int64_t h = PixelY(ctx, t.Encombrement.Haut - t.Encombrement.Bas);
  if (t.Paysage) {
    w *= n;
  } else {
    h *= n;
  }
  return h < ah && w < aw;
}

void ImprimeDocument(const Circuit& c, TravailImpression& t, int32_t k, int32_t n) {
  ContexteTrace& ctx = t.Contexte;
  if (n < 1) return;
  if (!t.Paysage) {
    ctx.OrigineX = (t.x2 + t.x1 - t.pw) / 2;
    ctx.OrigineY = static_cast<int32_t>(((2 * int64_t{k} - 1) * t.ph / n) / 2) + (t.yt + t.yb) / 2;
  } else {
    ctx.OrigineX = (t.x2 + t.x1) / 2 - static_cast<int32_t>(((2 * int64_t{k} - 1) * t.pw / n) / 2);
    ctx.OrigineY = (t.yt + t.yb + t.ph) / 2;
  }
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, t.EtatImpression);
}

void EcritTexte(ContexteTrace& ctx, int32_t x, int32_t y, const std::string& texte) {
  int32_t i = 0;
  for (const char ch : texte) {
    ++i;
    TraceCaractere(ctx, x + 120 * i, y + 65, ModePlume::Copie, kNoir, static_cast<uint8_t>(ch), 0,
                   2);
  }
}

namespace {

void Ligne(ContexteTrace& ctx, int32_t xa, int32_t ya, int32_t xb, int32_t yb) {
  const PointPixel a = PixelPoint(ctx, xa, ya), b = PixelPoint(ctx, xb, yb);
  ctx.Toile->MoveTo(a.X, a.Y);
  ctx.Toile->LineTo(b.X, b.Y);
}

void Rect(ContexteTrace& ctx, int32_t xa, int32_t ya, int32_t xb, int32_t yb) {
  const PointPixel a = PixelPoint(ctx, xa, ya), b = PixelPoint(ctx, xb, yb);
  ctx.Toile->Rectangle(a.X, a.Y, b.X, b.Y);
}

void PlumeCadre(ContexteTrace& ctx) {
  Canevas& t = *ctx.Toile;
  t.CouleurPlume(kNoir);
  t.EpaisseurPlume(ctx.Tailles.EpaisseurDessin[1]);
  t.StyleDePlume(StylePlume::Plein);
  t.ModeDePlume(ModePlume::Copie);
  t.CouleurBrosse(kNoir);
  t.StyleDeBrosse(StyleBrosse::Creux);
}

void TraceLegendePercage(const Circuit& c, ContexteTrace& ctx, int32_t W, int32_t Wc, int32_t x0) {
  PlumeCadre(ctx);
  Rect(ctx, x0, 0, W - 60, 750);
  const std::array<uint8_t, 14> utilises = PercagesUtilises(c);
  for (int32_t k = 1; k <= 7; ++k) {
    if (!utilises[k]) continue;
    const std::string d = TexteDiametreLegende(c.EnteteCI.DiametresPercage[k]);
    const int32_t x = static_cast<int32_t>((int64_t{Wc} - x0) * (k - 1) / 7) + x0 + 200;
    TraceSymbolePercage(ctx, x, 625, ModePlume::Copie, kNoir, k);
    int32_t i = 0;
    for (const char ch : d) {
      ++i;
      TraceCaractere(ctx, x + 70 * (i + 1), 590, ModePlume::Copie, kNoir, static_cast<uint8_t>(ch),
                     0, 1);
    }
  }
}

}  // namespace

void Tracecadre(const Circuit& c, TravailImpression& t, bool legende) {
  ContexteTrace& ctx = t.Contexte;
  if (ctx.Toile == nullptr) return;
  const ContexteTrace sauve = ctx;
  ctx.Zoom = 2;
  ctx.SansCurseur = true;
  CalculTailles(ctx, c.EnteteCI.DiametresPercage);
  ctx.OrigineX = PixelX(ctx, 0);
  ctx.OrigineY = PixelY(ctx, t.H);
  const int32_t W = t.W, H = t.H;
  const int32_t Wc = W - 40, Hc = H - 40;
  const int32_t B = std::min(Wc, Hc);
  const int32_t x0 = Wc - B;
  const int32_t tc = 2 * B / 3;

  PlumeCadre(ctx);
  Rect(ctx, 0, 0, W - 60, H - 40);
  Rect(ctx, x0, 0, W - 60, 500);
  Ligne(ctx, x0, 250, W - 60, 250);
  Ligne(ctx, x0 + tc, 0, x0 + tc, 500);
  const TEnteteCI& e = c.EnteteCI;
  EcritTexte(ctx, x0, 250, e.Titre);
  EcritTexte(ctx, x0 + tc, 250, e.DateCI);
  EcritTexte(ctx, x0 + tc, 0, e.Auteur);
  EcritTexte(ctx, x0, 0, DescriptionDocuments(t.DocumentsImprimes));
  if (legende) TraceLegendePercage(c, ctx, W, Wc, x0);
  ctx = sauve;
}

void Imprime(const Circuit& c, TravailImpression& t, Canevas& toile) {
  ContexteTrace& ctx = t.Contexte;
  ctx.Toile = &toile;
  if (t.AvecCadre) Tracecadre(c, t, t.AvecLegende);
  if (t.Ecran) {
    if (!t.Travaux.empty()) {
      TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, t.EtatImpression);
    }
  } else {
    const int32_t n = static_cast<int32_t>(t.Travaux.size());
    for (int32_t k = 1; k <= n; ++k) {
      t.EtatImpression.Travail = t.Travaux[k - 1];
      ImprimeDocument(c, t, k, n);
    }
  }
  ctx.Toile = nullptr;
}

}  // namespace korv4
