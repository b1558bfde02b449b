// korv4-cli info FICHIER [--json]: what a circuit holds, once opened as the editor opens it.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Commun.h"
#include "SousCommandes.h"
#include "Texte.h"
#include "model/Fichiers.h"
#include "model/TexteAffichable.h"
#include "partage/disque/FichiersDisque.h"
#include "verification/Equipotentielles.h"

namespace korv4::cli {

namespace {

QString Utf8(const std::string& windows1252) {
  return QString::fromStdString(Windows1252VersUtf8(windows1252));
}

// A text of the file as the terminal shows it: its control characters escaped.
QString Affichable(const std::string& windows1252) {
  return QString::fromStdString(TexteAffichable(Windows1252VersUtf8(windows1252)));
}

QJsonObject Json(const Circuit& c, size_t equipotentielles) {
  const TEnteteCI& h = c.EnteteCI;
  QJsonArray diametres;
  for (int32_t d : h.DiametresPercage) diametres.append(d);
  const std::array<uint8_t, 5> couches = CouchesUtilisees(c);
  QJsonObject oCouches{{"pastilles", couches[0] != 0},
                       {"face1", couches[1] != 0},
                       {"face2", couches[2] != 0},
                       {"implantation", couches[3] != 0},
                       {"percage", couches[4] != 0}};
  QJsonValue cadre = QJsonValue::Null;
  if (c.NbElements > 0) {
    const Cadre b = CadreElements(c, 1, c.NbElements);
    cadre = QJsonArray{b.Gauche, b.Haut, b.Droite, b.Bas};
  }
  return QJsonObject{{"titre", Utf8(h.Titre)},
                     {"date", Utf8(h.DateCI)},
                     {"auteur", Utf8(h.Auteur)},
                     {"elements", c.NbElements},
                     {"surface", QJsonArray{h.SurfaceX, h.SurfaceY}},
                     {"diametres", diametres},
                     {"couches", oCouches},
                     {"cadre", cadre},
                     {"equipotentielles", static_cast<qint64>(equipotentielles)},
                     {"modifie", c.CircuitModifie}};
}

QString Resume(const QString& chemin, const Circuit& c, size_t equipotentielles) {
  const TEnteteCI& h = c.EnteteCI;
  const QChar derniere = chemin.isEmpty() ? QChar() : chemin.back().toUpper();
  QString t;
  t += QStringLiteral("Fichier : %1 (%2)\n")
           .arg(chemin, derniere == QLatin1Char('P') ? QStringLiteral("ancien format")
                                                     : QStringLiteral("format actuel"));
  t += QStringLiteral("Titre : %1\n").arg(Affichable(h.Titre));
  t += QStringLiteral("Date : %1\n").arg(Affichable(h.DateCI));
  t += QStringLiteral("Auteur : %1\n").arg(Affichable(h.Auteur));
  t += QStringLiteral("Éléments : %1\n").arg(c.NbElements);
  t += QStringLiteral("Surface : %1 x %2 (%3 x %4 mm)\n")
           .arg(h.SurfaceX)
           .arg(h.SurfaceY)
           .arg(MmMontres(h.SurfaceX))
           .arg(MmMontres(h.SurfaceY));
  QStringList diametres;
  for (int32_t d : h.DiametresPercage) diametres << QString::number(d);
  t += QStringLiteral("Diamètres de perçage (1/10 mm) : %1\n").arg(diametres.join(' '));
  const std::array<uint8_t, 5> couches = CouchesUtilisees(c);
  static const char* const kNoms[5] = {"pastilles", "face 1", "face 2", "implantation", "perçage"};
  QStringList utilisees;
  for (int k = 0; k < 5; ++k)
    if (couches[k]) utilisees << QString::fromUtf8(kNoms[k]);
  t += QStringLiteral("Couches utilisées : %1\n")
           .arg(utilisees.isEmpty() ? QStringLiteral("aucune") : utilisees.join(", "));
  if (c.NbElements > 0) {
    const Cadre b = CadreElements(c, 1, c.NbElements);
    t += QStringLiteral("Cadre : gauche %1, haut %2, droite %3, bas %4\n")
             .arg(b.Gauche)
             .arg(b.Haut)
             .arg(b.Droite)
             .arg(b.Bas);
  } else {
    t += QStringLiteral("Cadre : aucun (circuit vide)\n");
  }
  t += QStringLiteral("Équipotentielles : %1\n").arg(static_cast<qint64>(equipotentielles));
  t += QStringLiteral("Modifié à l'ouverture : %1\n")
           .arg(c.CircuitModifie ? QStringLiteral("oui (pistes jointes ou circuit réparé)")
                                 : QStringLiteral("non"));
  return t;
}

}  // namespace

int ExecuteInfo(const QStringList& arguments) {
  LigneDeCommande ligne(
      QStringLiteral("info"), QStringLiteral("FICHIER [--json]"),
      QStringLiteral("Ouvre le circuit comme l'éditeur (lecture selon la dernière lettre du nom,\n"
                     "jonction des pistes, réparation) et en donne un résumé."));
  ligne.AjoutePositionnel(QStringLiteral("FICHIER"),
                          QStringLiteral("circuit .CIX (actuel) ou .CIP (ancien format)"));
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("Résumé en un objet JSON (chaînes en UTF-8)."));
  ligne.AjouteOption(json);
  const int statut = ligne.Analyse(arguments);
  if (statut >= 0) return statut;

  const QString chemin = ligne.Positionnels().first();
  Circuit c;
  if (!OuvreEntree(chemin, c)) return kEntreeInvalide;
  const size_t equipotentielles = CalculeEquipotentielles(c).Liste.size();
  const QString texte =
      ligne.Present(json)
          ? QString::fromUtf8(
                QJsonDocument(Json(c, equipotentielles)).toJson(QJsonDocument::Compact)) +
                '\n'
          : Resume(chemin, c, equipotentielles);
  return AfficheOuSignale(texte, "le résumé") ? kFait : kEcritureImpossible;
}

}  // namespace korv4::cli
