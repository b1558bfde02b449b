// korv4-cli fabrication read by readers we did not write: the tracespace packages from npm that
// `make deps` installs into the build folder (tests/cli/lecteurs/package-lock.json), run by
// tests/cli/lit_jeu.js. Every file must be taken for the layer it holds from its name alone,
// and the text file for none; no file may draw a single warning; the drawings must agree with
// each other (every mask opening over a pad of its face, larger by the margin on every side;
// every plated hole inside a copper pad of each layer, every non-plated one inside its pad or
// a hole without copper; the outline around everything, the size of the board).
// Without node or the packages the test fails and says what to install.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;
using essai::Shell;

struct Boite {
  double xmin, ymin, xmax, ymax;
};

Boite BoiteDe(const QJsonValue& v) {
  const QJsonArray a = v.toArray();
  return {a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble()};
}
// pcb-stackup's viewBox [x, y, w, h], in thousandths.
Boite BoiteDeVue(const QJsonValue& v) {
  const QJsonArray a = v.toArray();
  const double x = a[0].toDouble(), y = a[1].toDouble();
  return {x / 1000, y / 1000, (x + a[2].toDouble()) / 1000, (y + a[3].toDouble()) / 1000};
}
bool Contient(const Boite& grande, const Boite& petite) {
  return grande.xmin <= petite.xmin && grande.ymin <= petite.ymin && grande.xmax >= petite.xmax &&
         grande.ymax >= petite.ymax;
}
std::string Texte(const Boite& b) {
  return "[" + std::to_string(b.xmin) + ", " + std::to_string(b.ymin) + ", " +
         std::to_string(b.xmax) + ", " + std::to_string(b.ymax) + "]";
}

// What whats-that-gerber must take each file for, by the end of its name.
struct CoucheAttendue {
  const char* fin;
  const char* type;  // nullptr: no layer at all
  const char* cote;
};
constexpr CoucheAttendue kCouches[] = {
    {".GTL", "copper", "top"},         {".GBL", "copper", "bottom"},
    {".GTO", "silkscreen", "top"},     {".GTS", "soldermask", "top"},
    {".GBS", "soldermask", "bottom"},  {".GKO", "outline", "all"},
    {"-PTH.DRL", "drill", "all"},      {"-NPTH.DRL", "drill", "all"},
    {".gbrjob", nullptr, nullptr},     {"-netlist.ipc", nullptr, nullptr},
    {"LISEZMOI.md", nullptr, nullptr},
};

class CliLecteursNpm : public essai::DossierCli {
 protected:
  // The readers' report on a folder, as lit_jeu.js prints it.
  QJsonObject LitJeu(const fs::path& jeu) const {
    const fs::path sortie = dossier_ / ".lit_jeu", erreur = dossier_ / ".lit_jeu.err";
    const int code =
        Shell("NODE_PATH='" KORV4_NPM_MODULES "' node '" KORV4_LIT_JEU "' '" + jeu.string() +
              "' >'" + sortie.string() + "' 2>'" + erreur.string() + "'");
    const std::vector<uint8_t> e = Lit(erreur), o = Lit(sortie);
    EXPECT_EQ(code, 0) << std::string(e.begin(), e.end());
    QJsonParseError p{};
    const QJsonDocument d = QJsonDocument::fromJson(
        QByteArray(reinterpret_cast<const char*>(o.data()), static_cast<qsizetype>(o.size())), &p);
    EXPECT_EQ(p.error, QJsonParseError::NoError) << p.errorString().toStdString();
    return d.object();
  }
};

TEST_F(CliLecteursNpm, JeuReconnuLuSansAvertissementEtCoherent) {
  ASSERT_EQ(Shell("command -v node >/dev/null"), 0)
      << "node manque : `make deps` installe Node.js et les lecteurs npm de ce test.";
  ASSERT_TRUE(fs::exists(KORV4_NPM_MODULES "/pcb-stackup/package.json"))
      << "les lecteurs npm manquent dans " KORV4_NPM_MODULES " : lancez `make deps`.";

  struct Cas {
    const char* nom;
    Circuit circuit;
    const char* options;
    double margeMasqueMm;
    size_t nbFichiers;
    std::optional<Boite> contour;  // the outline's centre line, in millimetres, when known
  };
  fabrication::Fabrique dessine;  // a board whose outline is drawn on the drilling plan
  dessine.c = fabrication::CarteSimpleFace();
  dessine.Dessin(8, 130, 1, 500, 600, 2500, 1900);
  const std::vector<Cas> cas = {
      {"complete", fabrication::CarteComplete(), "--contour surface", 0.1, 11,
       Boite{0, 0, 300.228, 200.152}},
      {"simple", fabrication::CarteSimpleFace(),
       "--marge-masque 0,2 --marge-contour 1 --pastilles circulaires", 0.2, 7, std::nullopt},
      {"mesure", fabrication::CarteMesure(),
       "--marge-masque 0,5 --contour etendue --marge-contour 0", 0.5, 10, std::nullopt},
      {"dessine", dessine.c, "", 0.1, 7, Boite{12.7, 15.24, 63.5, 48.26}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Circuit c = k.circuit;
    RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
    const std::string cix = std::string(k.nom) + ".CIX";
    Ecrit(Chemin(cix), EcritCircuit(c));
    const Resultat r = Lance("fabrication " + cix + " " + k.nom + " " + k.options);
    ASSERT_EQ(r.code, 0) << r.erreur;
    const QJsonObject jeu = LitJeu(Chemin(k.nom));
    const std::string brut = QJsonDocument(jeu).toJson().toStdString();
    const QJsonObject couches = jeu["couches"].toObject(), fichiers = jeu["fichiers"].toObject();
    ASSERT_EQ(static_cast<size_t>(couches.size()), k.nbFichiers) << brut;

    // Every file for its layer, the text file for none; every layer file read without a word.
    std::map<std::string, QJsonObject> parCouche;  // by the end of the name
    for (auto it = couches.begin(); it != couches.end(); ++it) {
      const std::string nom = it.key().toStdString();
      SCOPED_TRACE(nom);
      const CoucheAttendue* a =
          std::find_if(std::begin(kCouches), std::end(kCouches), [&](const CoucheAttendue& x) {
            const std::string fin = x.fin;
            return nom.size() >= fin.size() &&
                   nom.compare(nom.size() - fin.size(), fin.size(), fin) == 0;
          });
      ASSERT_NE(a, std::end(kCouches)) << "fichier inattendu";
      const QJsonObject couche = it.value().toObject();
      EXPECT_EQ(couche["type"].toString().toStdString(), a->type ? a->type : "");
      EXPECT_EQ(couche["side"].toString().toStdString(), a->cote ? a->cote : "");
      EXPECT_EQ(couche["type"].isNull(), a->type == nullptr);
      if (!a->type) {
        EXPECT_FALSE(fichiers.contains(it.key()));
        continue;
      }
      const QJsonObject f = fichiers[it.key()].toObject();
      EXPECT_TRUE(f["avertissements"].toArray().isEmpty())
          << QJsonDocument(f["avertissements"].toArray()).toJson().toStdString();
      EXPECT_TRUE(f["erreurs"].toArray().isEmpty())
          << QJsonDocument(f["erreurs"].toArray()).toJson().toStdString();
      EXPECT_EQ(f["unites"].toString().toStdString(), "mm");
      EXPECT_TRUE(f["boite"].isArray()) << "rien de dessiné";
      parCouche[a->fin] = f;
    }

    // Every mask opening over a copper pad of its face, at the same place, larger by the margin
    // on every side (the bounding boxes of circles, rectangles and octagons alike); one opening
    // a pad.
    const double marge = k.margeMasqueMm;
    for (const auto& [masque, cuivre] : {std::pair{".GTS", ".GTL"}, std::pair{".GBS", ".GBL"}}) {
      if (!parCouche.count(masque)) continue;
      SCOPED_TRACE(masque);
      ASSERT_TRUE(parCouche.count(cuivre));
      const QJsonArray ouvertures = parCouche[masque]["pastilles"].toArray();
      const QJsonArray pastilles = parCouche[cuivre]["pastilles"].toArray();
      EXPECT_FALSE(ouvertures.isEmpty());
      EXPECT_EQ(ouvertures.size(), pastilles.size());
      for (const QJsonValue& o : ouvertures) {
        const Boite m = BoiteDe(o);
        const auto p = std::find_if(pastilles.begin(), pastilles.end(), [&](const QJsonValue& v) {
          const Boite b = BoiteDe(v);
          return std::abs((b.xmin + b.xmax) - (m.xmin + m.xmax)) < 2e-5 &&
                 std::abs((b.ymin + b.ymax) - (m.ymin + m.ymax)) < 2e-5;
        });
        ASSERT_NE(p, pastilles.end()) << "ouverture sans pastille : " << Texte(m);
        const Boite b = BoiteDe(*p);
        EXPECT_NEAR(b.xmin - m.xmin, marge, 1e-5) << Texte(b) << " dans " << Texte(m);
        EXPECT_NEAR(b.ymin - m.ymin, marge, 1e-5) << Texte(b) << " dans " << Texte(m);
        EXPECT_NEAR(m.xmax - b.xmax, marge, 1e-5) << Texte(b) << " dans " << Texte(m);
        EXPECT_NEAR(m.ymax - b.ymax, marge, 1e-5) << Texte(b) << " dans " << Texte(m);
      }
    }

    // Every plated hole centred in a copper pad of each copper layer (some fixtures drill
    // wider than their pads); every non-plated hole in one, or where the circuit has a hole
    // without copper (code 204). A two-layer board has plated holes, a one-layer board none.
    const bool deuxFaces = parCouche.count(".GTL") && parCouche.count(".GBL");
    EXPECT_EQ(parCouche.count("-PTH.DRL") == 1, deuxFaces);
    for (const char* fichier : {"-PTH.DRL", "-NPTH.DRL"}) {
      if (!parCouche.count(fichier)) continue;
      SCOPED_TRACE(fichier);
      const bool metallises = fichier[1] == 'P';
      EXPECT_FALSE(parCouche[fichier]["pastilles"].toArray().isEmpty());
      for (const QJsonValue& t : parCouche[fichier]["pastilles"].toArray()) {
        const Boite trou = BoiteDe(t);
        const double x = (trou.xmin + trou.xmax) / 2, y = (trou.ymin + trou.ymax) / 2;
        bool sansCuivre = false;
        for (int32_t i = 1; i <= c.NbElements; ++i) {
          const ElementCI& e = c.Elements[static_cast<size_t>(i)];
          sansCuivre = sansCuivre || (e.Code == 204 && std::abs(e.X * 0.0254 - x) < 1e-6 &&
                                      std::abs(e.Y * 0.0254 - y) < 1e-6);
        }
        EXPECT_FALSE(metallises && sansCuivre) << "trou métallisé sans cuivre : " << Texte(trou);
        int couches = 0, pastilles = 0;
        for (const char* cuivre : {".GTL", ".GBL"}) {
          if (!parCouche.count(cuivre)) continue;
          ++couches;
          bool dedans = false;
          for (const QJsonValue& p : parCouche[cuivre]["pastilles"].toArray())
            dedans = dedans || Contient(BoiteDe(p), Boite{x, y, x, y});
          pastilles += dedans;
        }
        EXPECT_TRUE(sansCuivre || pastilles == couches)
            << "trou hors des pastilles : " << Texte(trou);
      }
    }

    // The board pcb-stackup cuts from the outline (its centre line) holds every other layer.
    ASSERT_TRUE(jeu["pile"].isObject()) << brut;
    const QJsonObject pile = jeu["pile"].toObject();
    const Boite carte = BoiteDeVue(pile["contour"]), tout = BoiteDeVue(pile["tout"]);
    EXPECT_TRUE(Contient(carte, tout)) << Texte(carte) << " autour de " << Texte(tout);
    if (k.contour) {
      EXPECT_NEAR(carte.xmin, k.contour->xmin, 1e-6);
      EXPECT_NEAR(carte.ymin, k.contour->ymin, 1e-6);
      EXPECT_NEAR(carte.xmax, k.contour->xmax, 1e-6);
      EXPECT_NEAR(carte.ymax, k.contour->ymax, 1e-6);
    }
    for (const QJsonValue& taille : pile["svg"].toArray()) EXPECT_GT(taille.toInt(), 1000);
  }
}

}  // namespace
}  // namespace korv4
