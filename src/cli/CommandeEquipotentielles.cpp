// korv4-cli equipotentielles FICHIER [--json]: the nets of the copper of a circuit, each with its
// pads (position, kind, drill).

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "Commun.h"
#include "SousCommandes.h"
#include "verification/Equipotentielles.h"

namespace korv4::cli {

namespace {

// Units (1/1000 inch) to millimetres, exact to the fourth decimal.
double Mm(int32_t u) { return std::round(u * 254.0) / 10000; }

QString Decimal(double v, int decimales) {
  return QString::number(v, 'f', decimales).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The drill in mm, 0 without a hole.
double PercageMm(const Circuit& c, const ElementCI& e) {
  const size_t k = e.Attribut;
  return k >= 1 && k < c.EnteteCI.DiametresPercage.size()
             ? std::max(0, c.EnteteCI.DiametresPercage[k]) / 10.0
             : 0;
}

QJsonObject Json(const Circuit& c, const Equipotentielles& e) {
  QJsonArray liste;
  for (const Equipotentielle& q : e.Liste) {
    QJsonArray pastilles;
    for (int32_t i : q.Pastilles) {
      const ElementCI& p = c.Elements[i];
      pastilles.append(QJsonObject{
          {"element", i},
          {"x", Mm(p.X)},
          {"y", Mm(p.Y)},
          {"code", p.Code},
          {"genre", QString::fromUtf8(NomGenrePastille(p.Code))},
          {"percage", PercageMm(c, p)},
          {"metallise", TrouMetallise(c, p)},
      });
    }
    QJsonArray faces;
    if (q.Face1) faces.append(1);
    if (q.Face2) faces.append(2);
    liste.append(QJsonObject{{"nom", QString::fromStdString(q.Nom)},
                             {"faces", faces},
                             {"elements", static_cast<qint64>(q.Elements.size())},
                             {"pastilles", pastilles}});
  }
  return QJsonObject{{"unite", QStringLiteral("mm")}, {"equipotentielles", liste}};
}

QString Texte(const Circuit& c, const Equipotentielles& e) {
  QString t;
  for (const Equipotentielle& q : e.Liste) {
    const QString faces = q.Face1 && q.Face2 ? QStringLiteral("faces 1 et 2")
                          : q.Face1          ? QStringLiteral("face 1")
                                             : QStringLiteral("face 2");
    const qsizetype n = static_cast<qsizetype>(q.Pastilles.size());
    t += QStringLiteral("%1 : %2 %3, %4\n")
             .arg(QString::fromStdString(q.Nom))
             .arg(n)
             .arg(n > 1 ? QStringLiteral("pastilles") : QStringLiteral("pastille"))
             .arg(faces);
    for (int32_t i : q.Pastilles) {
      const ElementCI& p = c.Elements[i];
      const double percage = PercageMm(c, p);
      t += QStringLiteral("  pastille %1 à X = %2 mm, Y = %3 mm, %4\n")
               .arg(QString::fromUtf8(NomGenrePastille(p.Code)), Decimal(Mm(p.X), 2),
                    Decimal(Mm(p.Y), 2),
                    percage > 0 ? QStringLiteral("perçage %1 mm").arg(Decimal(percage, 1))
                                : QStringLiteral("sans perçage"));
    }
  }
  return t;
}

}  // namespace

int ExecuteEquipotentielles(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("equipotentielles"), QStringLiteral("FICHIER [--json]"),
      QStringLiteral(
          "Liste les équipotentielles du cuivre : le cuivre d'une face qui se touche est relié,\n"
          "une pastille percée (trou métallisé) relie ses deux faces, une pastille sans cuivre\n"
          "(diamètre libre) ou une mire ne relie rien. Chacune est nommée N1, N2... dans\n"
          "l'ordre de sa première pastille, avec ses pastilles (position en mm, genre,\n"
          "perçage). Le circuit n'est pas modifié."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"), QStringLiteral("circuit .CIX ou .CIP"));
  const QCommandLineOption json(
      QStringLiteral("json"),
      QStringLiteral("les équipotentielles en JSON sur une ligne (positions en mm)"));
  ligne.AjouteOption(json);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  const QString entree = ligne.Positionnels().at(0);
  Circuit c;
  if (!OuvreEntree(entree, c)) return kEntreeInvalide;
  const Equipotentielles e = CalculeEquipotentielles(c);
  const QString texte =
      ligne.Present(json)
          ? QString::fromUtf8(QJsonDocument(Json(c, e)).toJson(QJsonDocument::Compact)) +
                QLatin1Char('\n')
          : Texte(c, e);
  return AfficheOuSignale(texte, "les équipotentielles") ? kFait : kEcritureImpossible;
}

}  // namespace korv4::cli
