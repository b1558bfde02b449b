// korv4-cli image FICHIER SORTIE.png [--travail N] [--visu L] [--zoom Z]: the picture of a
// circuit as the editor's drawing area shows it when the whole surface fits in the window.

#include <vector>

#include "Commun.h"
#include "MemoireImage.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"
#include "png/CodagePng.h"
#include "render/CanevasImage.h"
#include "render/ContexteTrace.h"
#include "render/TraceCircuit.h"

namespace korv4::cli {

namespace {

constexpr int64_t kPixelsMax = 100000000;

// Zoom index of a percentage, -1 when the editor does not offer it.
int IndexZoom(const QString& texte) {
  bool ok = false;
  const int pourcent = texte.trimmed().remove(QLatin1Char('%')).toInt(&ok);
  if (!ok) return -1;
  for (int i = 0; i < static_cast<int>(kValeursZoom.size()); ++i) {
    if (kValeursZoom[i] * 5 == pourcent) return i;
  }
  return -1;
}

// The picture of the whole surface at a zoom, in pixels, as PixelX and PixelY give it, in 64
// bits: a damaged header may hold a size whose pixels pass 32 bits. The surface's frame spans
// columns 0..width-1 and rows 0..height (its bottom edge is the row of unit 0).
struct Pixels {
  int64_t largeur, hauteur;
  bool Admise() const { return largeur * hauteur <= kPixelsMax; }
};

// Units in millimetres, to the hundredth when not whole ("12700", "0,03").
std::string Millimetres(int64_t unites) {
  const int64_t centiemes = (unites * 254 + 50) / 100;
  std::string t = std::to_string(centiemes / 100);
  const int64_t reste = centiemes % 100;
  if (reste != 0) t += "," + std::string(reste < 10 ? "0" : "") + std::to_string(reste);
  return t;
}

Pixels TaillePixels(const ContexteTrace& ctx, int indexZoom) {
  const int64_t z = kValeursZoom[indexZoom];
  return {((int64_t{ctx.ResolX} * ctx.SurfaceX * z) / ctx.EchelleX) / 20,
          ((int64_t{ctx.ResolY} * ctx.SurfaceY * z) / ctx.EchelleY) / 20 + 1};
}

}  // namespace

int ExecuteImage(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("image"),
      QStringLiteral("FICHIER SORTIE.png [--travail N] [--visu L] [--zoom Z]"),
      QStringLiteral("Dessine le circuit comme la zone de dessin de l'éditeur quand toute la\n"
                     "surface de travail y tient : fond, surface, grille et éléments du travail\n"
                     "choisi, sans curseur, dans une image PNG de la taille de la surface."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  ligne.AjoutePositionnel(QStringLiteral("SORTIE.png"), QStringLiteral("image PNG à écrire"));
  const QCommandLineOption travail(
      QStringLiteral("travail"),
      QStringLiteral("travail dessiné : 1 face 1, 2 face 2, 3 implantation, 4 perçage "
                     "(défaut 1)"),
      QStringLiteral("N"), QStringLiteral("1"));
  const QCommandLineOption visu(
      QStringLiteral("visu"),
      QStringLiteral("travaux montrés sous le travail dessiné, séparés par des virgules : "
                     "1 face 1, 2 face 2, 3 implantation (défaut aucun)"),
      QStringLiteral("L"));
  const QCommandLineOption zoom(
      QStringLiteral("zoom"),
      QStringLiteral("échelle en % : 25, 50, 100, 150, 200, 300, 400, 600, 800 ou 1000 "
                     "(défaut 100)"),
      QStringLiteral("Z"), QStringLiteral("100"));
  ligne.AjouteOption(travail);
  ligne.AjouteOption(visu);
  ligne.AjouteOption(zoom);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  EtatTravail etat;
  bool ok = false;
  etat.Travail = ligne.Valeur(travail).toInt(&ok);
  if (!ok || etat.Travail < 1 || etat.Travail > 4) {
    return ligne.MauvaisUsage("--travail attend 1, 2, 3 ou 4, pas « " +
                              ligne.Valeur(travail).toStdString() + " »");
  }
  if (ligne.Present(visu)) {
    for (const QString& v : ligne.Valeur(visu).split(QLatin1Char(','))) {
      const QString t = v.trimmed();
      if (t == QLatin1String("1")) {
        etat.VisuFace1 = 1;
      } else if (t == QLatin1String("2")) {
        etat.VisuFace2 = 1;
      } else if (t == QLatin1String("3")) {
        etat.VisuImplantation = 1;
      } else {
        return ligne.MauvaisUsage(
            "--visu attend une liste de 1, 2 et 3 séparés par des "
            "virgules, pas « " +
            ligne.Valeur(visu).toStdString() + " »");
      }
    }
  }
  const int indexZoom = IndexZoom(ligne.Valeur(zoom));
  if (indexZoom < 0) {
    return ligne.MauvaisUsage(
        "--zoom attend 25, 50, 100, 150, 200, 300, 400, 600, 800 ou "
        "1000, pas « " +
        ligne.Valeur(zoom).toStdString() + " »");
  }

  const QString entree = ligne.Positionnels().at(0);
  const QString sortie = ligne.Positionnels().at(1);
  const int refus = VerifieSortieDistincte(ligne, sortie, entree);
  if (refus >= 0) return refus;
  Circuit c;
  if (!OuvreEntree(entree, c)) return kEntreeInvalide;

  ContexteTrace ctx;
  ctx.Zoom = indexZoom;
  ctx.SurfaceX = c.EnteteCI.SurfaceX;
  ctx.SurfaceY = c.EnteteCI.SurfaceY;
  if (ctx.SurfaceX < 1 || ctx.SurfaceY < 1) {
    Erreur(NomCircuit(entree) + " a une surface de travail invalide (" +
           std::to_string(ctx.SurfaceX) + " x " + std::to_string(ctx.SurfaceY) + " unités).");
    return kEntreeInvalide;
  }
  const Pixels taille = TaillePixels(ctx, indexZoom);
  const int64_t largeur = taille.largeur, hauteur = taille.hauteur;
  auto pourcent = [](int index) { return std::to_string(kValeursZoom[index] * 5) + " %"; };
  auto enTexte = [](const Pixels& p) {
    return std::to_string(p.largeur) + " x " + std::to_string(p.hauteur) + " pixels";
  };
  if (taille.largeur < 1 || !taille.Admise()) {
    // The nearest zoom the editor offers that gives a picture: a usage error that names it.
    // When no zoom does, the circuit's surface is at fault (a damaged header): invalid input.
    const int pas = taille.largeur < 1 ? 1 : -1;
    int k = indexZoom + pas;
    while (k >= 0 && k < static_cast<int>(kValeursZoom.size()) &&
           !(TaillePixels(ctx, k).largeur >= 1 && TaillePixels(ctx, k).Admise()))
      k += pas;
    if (k < 0 || k >= static_cast<int>(kValeursZoom.size())) {
      // What is wrong with the surface, whatever the zoom asked: too large at the smallest zoom;
      // or, at the first zoom that gives it a pixel of width, too tall for that width; or too
      // narrow at every zoom.
      int large = 0;
      while (large < static_cast<int>(kValeursZoom.size()) && TaillePixels(ctx, large).largeur < 1)
        ++large;
      const int nbZooms = static_cast<int>(kValeursZoom.size());
      std::string defaut;
      int zoomDit = 0;
      if (large == 0) {
        defaut = "trop grande pour une image : même au zoom le plus petit (" + pourcent(0) + ")";
      } else if (large < nbZooms) {
        zoomDit = large;
        defaut = "trop haute pour sa largeur : au zoom de " + pourcent(large) +
                 ", le premier qui lui donne un pixel de large";
      } else {
        zoomDit = nbZooms - 1;
        defaut =
            "trop étroite pour une image : même au zoom le plus grand (" + pourcent(zoomDit) + ")";
      }
      const Pixels dit = TaillePixels(ctx, zoomDit);
      Erreur(NomCircuit(entree) + " a une surface de travail de " + std::to_string(ctx.SurfaceX) +
             " x " + std::to_string(ctx.SurfaceY) + " unités (" + Millimetres(ctx.SurfaceX) +
             " x " + Millimetres(ctx.SurfaceY) + " mm), " + defaut + ", l'image ferait " +
             enTexte(dit) + (dit.Admise() ? "" : ", au-delà de 100 millions") +
             ". Une surface de travail ne dépasse pas 800 x 800 mm : l'en-tête du fichier est "
             "sans doute endommagé.");
      return kEntreeInvalide;
    }
    return ligne.MauvaisUsage(
        "au zoom de " + pourcent(indexZoom) + ", l'image ferait " + enTexte(taille) +
        (pas < 0 ? ", au-delà de 100 millions : choisissez un zoom de " + pourcent(k) + " au plus"
                 : " : choisissez un zoom d'au moins " + pourcent(k)));
  }
  ctx.LargeurSurface = static_cast<int32_t>(largeur);
  ctx.HauteurSurface = static_cast<int32_t>(hauteur - 1);
  // Drawn into plain memory by the editor's rasteriser and coded without Qt's image classes:
  // the command line then loads neither QtGui nor the libraries behind it.
  MemoireImage image(static_cast<size_t>(largeur * hauteur));
  if (image.Pixels() == nullptr) {
    Erreur("mémoire insuffisante pour une image de " + std::to_string(largeur) + " x " +
           std::to_string(hauteur) + " pixels");
    return kEcritureImpossible;
  }
  CanevasImage toile(image.Pixels(), static_cast<int>(largeur), static_cast<int>(hauteur),
                     static_cast<std::ptrdiff_t>(largeur));
  ctx.Toile = &toile;
  ctx.Zone = {0, 0, static_cast<int32_t>(largeur), static_cast<int32_t>(hauteur)};
  ctx.OrigineX = 0;
  ctx.OrigineY = ctx.HauteurSurface;
  ctx.SansCurseur = true;
  ctx.Elagage = true;
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);

  // Coded in memory, then written like every other output: a failed write leaves the previous
  // file as it was.
  std::vector<uint8_t> png;
  std::string erreur;
  if (!CodePng(image.Pixels(), static_cast<int>(largeur), static_cast<int>(hauteur),
               static_cast<std::ptrdiff_t>(largeur), png, erreur)) {
    Erreur("impossible de coder l'image « " + sortie.toStdString() + " » : " + erreur +
           ". Rien n'a été écrit.");
    return kEcritureImpossible;
  }
  const int ecrit = EcritSortie(ligne, entree, sortie, png);
  return ecrit >= 0 ? ecrit : kFait;
}

}  // namespace korv4::cli
