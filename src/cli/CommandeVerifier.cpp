// korv4-cli verifier FICHIER [--isolement MM] [--couronne MM] [--bord MM] [--json]: the check
// of a circuit, its faults one per line (or as JSON); exit 5 when it finds any.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "Commun.h"
#include "SousCommandes.h"
#include "verification/Isolements.h"

namespace korv4::cli {

namespace {

// A minimum as typed: a decimal number of millimetres, with a point or a comma, above 0 (or
// from 0 when `zero` allows it: 0 checks nothing) and at most 10 mm. False otherwise.
bool LitMinimum(const QString& texte, double& mm, bool zero = false) {
  return LitMillimetres(texte, 0, 10, mm) && (mm > 0 || zero);
}

QJsonObject Json(const ResultatVerification& r, const OptionsVerification& o) {
  const double isolement = o.IsolementMm;
  QJsonArray defauts;
  for (const Defaut& d : r.Defauts) {
    defauts.append(QJsonObject{
        {"genre", QString::fromUtf8(NomGenreDefaut(d.Genre))},
        {"couche", QString::fromUtf8(NomCoucheDefaut(d.Couche))},
        {"x", std::round(UnitesEnMm(d.X) * 1e4) / 1e4},
        {"y", std::round(UnitesEnMm(d.Y) * 1e4) / 1e4},
        {"distance", std::round(d.Distance * 1e4) / 1e4},
        {"message", QString::fromStdString(DecritDefaut(d, isolement))},
    });
  }
  return QJsonObject{{"unite", QStringLiteral("mm")},
                     {"isolement", isolement},
                     {"couronne", o.CouronneMm},
                     {"bord", o.BordMm},
                     {"defauts", defauts}};
}

}  // namespace

int ExecuteVerifier(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("verifier"),
      QStringLiteral("FICHIER [--isolement MM] [--couronne MM] [--bord MM] [--pastilles "
                     "octogonales|circulaires] [--json]"),
      QStringLiteral(
          "Vérifie les isolements du cuivre tel que les fichiers Gerber le dessinent : deux\n"
          "morceaux de cuivre d'une même face plus proches que l'isolement sans se toucher,\n"
          "une extrémité de piste qui s'arrête trop près d'une pastille ou d'une piste, une\n"
          "pastille dont le perçage est plus grand qu'elle, un élément qui sort de la surface\n"
          "de travail ; et ce qui reviendrait mal fabriqué : une couronne plus étroite que\n"
          "--couronne, du cuivre plus près du contour que --bord, un trou métallisé sans\n"
          "cuivre, une extrémité de piste qui s'arrête trop près de sa propre équipotentielle.\n"
          "Un défaut par ligne, position en mm. Sortie 0 sans défaut, 5 s'il y en a. Le\n"
          "circuit n'est pas modifié."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  const QCommandLineOption isolement(
      QStringLiteral("isolement"),
      QStringLiteral("écart minimal entre deux cuivres, en mm (défaut 0.3)"), QStringLiteral("MM"),
      QStringLiteral("0.3"));
  const QCommandLineOption pastilles(
      QStringLiteral("pastilles"),
      QStringLiteral("forme des pastilles rondes : octogonales ou circulaires (défaut "
                     "octogonales, comme korv4-cli gerber)"),
      QStringLiteral("STYLE"), QStringLiteral("octogonales"));
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("les défauts en JSON sur une ligne"));
  const QCommandLineOption couronne(
      QStringLiteral("couronne"),
      QStringLiteral("couronne minimale de cuivre autour d'un trou, en mm (défaut 0.15, 0 : "
                     "aucune vérification)"),
      QStringLiteral("MM"), QStringLiteral("0.15"));
  const QCommandLineOption bord(
      QStringLiteral("bord"),
      QStringLiteral("écart minimal entre le cuivre et le contour, en mm (défaut 0.3, 0 : "
                     "aucune vérification)"),
      QStringLiteral("MM"), QStringLiteral("0.3"));
  ligne.AjouteOption(isolement);
  ligne.AjouteOption(couronne);
  ligne.AjouteOption(bord);
  ligne.AjouteOption(pastilles);
  ligne.AjouteOption(json);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  OptionsVerification o;
  if (!LitMinimum(ligne.Valeur(isolement), o.IsolementMm))
    return ligne.MauvaisUsage(
        "--isolement attend un nombre de mm plus grand que 0 et au plus "
        "10, pas « " +
        ligne.Valeur(isolement).toStdString() + " »");
  if (!LitMinimum(ligne.Valeur(couronne), o.CouronneMm, true))
    return ligne.MauvaisUsage("--couronne attend un nombre de mm de 0 à 10, pas « " +
                              ligne.Valeur(couronne).toStdString() + " »");
  if (!LitMinimum(ligne.Valeur(bord), o.BordMm, true))
    return ligne.MauvaisUsage("--bord attend un nombre de mm de 0 à 10, pas « " +
                              ligne.Valeur(bord).toStdString() + " »");
  const QString style = ligne.Valeur(pastilles);
  if (style == QLatin1String("circulaires")) {
    o.Pastilles = StylePastilles::Circulaires;
  } else if (style != QLatin1String("octogonales")) {
    return ligne.MauvaisUsage("--pastilles attend octogonales ou circulaires, pas « " +
                              style.toStdString() + " »");
  }
  const QString entree = ligne.Positionnels().at(0);
  Circuit c;
  if (!OuvreEntree(entree, c)) return kEntreeInvalide;

  const ResultatVerification r = VerifieCircuit(c, o);
  QString texte;
  if (ligne.Present(json)) {
    texte = QString::fromUtf8(QJsonDocument(Json(r, o)).toJson(QJsonDocument::Compact)) +
            QLatin1Char('\n');
  } else {
    for (const Defaut& d : r.Defauts)
      texte += QString::fromStdString(DecritDefaut(d, o.IsolementMm)) + QLatin1Char('\n');
  }
  if (!AfficheOuSignale(texte, "les défauts")) return kEcritureImpossible;
  if (r.Defauts.empty()) return kFait;
  Erreur(std::to_string(r.Defauts.size()) +
         (r.Defauts.size() == 1 ? " défaut trouvé" : " défauts trouvés") + " dans « " +
         entree.toStdString() + " ».");
  return kDefautsTrouves;
}

}  // namespace korv4::cli
