#include "fenetres/ui/DialoguesQt.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>

#include "fenetres/commun/CodePage.h"
#include "fenetres/commun/ServiceDialogues.h"
#include "fenetres/dialogs/Editiontexte.h"
#include "fenetres/ui/ZoneDessin.h"
#include "partage/disque/FichiersDisque.h"
#include "partage/disque/VerrouOuverture.h"

namespace korv4 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A folder that does not exist gives way to the fallback one, then to the start-up folder.
QString DossierExistant(const DemandeFichier& demande) {
  for (const std::string* dossier : {&demande.Dossier, &demande.DossierSecours}) {
    const QString d = Q(*dossier);
    if (!d.isEmpty() && QDir(d).exists()) return d;
  }
  return QDir::currentPath();
}

// "description|*.EXT" pairs, as the dialog service reads them.
QString Filtre(const DemandeFichier& d) {
  QStringList parties;
  for (const std::string& f : d.Filtres) parties << Q(f);
  return parties.join(QLatin1Char('|'));
}

std::string Nom(const QString& chemin) { return QFile::encodeName(chemin).toStdString(); }

}  // namespace

DialoguesQt::DialoguesQt(QWidget* fenetre, QWidget* zone, TFenetreEditiontexte* saisie,
                         ServiceDialogues& service)
    : fenetre_(fenetre), zone_(zone), saisie_(saisie), service_(service) {}

DialoguesQt::~DialoguesQt() = default;

void DialoguesQt::DossierVerrous(const QString& dossier) {
  verrou_ = std::make_unique<VerrouOuverture>(dossier);
}

void DialoguesQt::Message(const std::string& texte) { service_.Message(fenetre_, Q(texte)); }

Reponse DialoguesQt::Question(const std::string& texte, Boutons boutons) {
  if (boutons == Boutons::OuiNonAnnuler) return service_.QuestionOuiNonAnnuler(fenetre_, Q(texte));
  if (boutons == Boutons::OkAnnuler) {
    return service_.ConfirmationOKAnnuler(fenetre_, Q(texte)) ? Reponse::Ok : Reponse::Annuler;
  }
  return service_.QuestionOuiNon(fenetre_, Q(texte)) ? Reponse::Oui : Reponse::Non;
}

int DialoguesQt::Choix(const std::string& texte, const std::vector<std::string>& boutons,
                       int echap) {
  QStringList noms;
  for (const std::string& b : boutons) noms << Q(b);
  return service_.Choix(fenetre_, Q(texte), noms, echap);
}

std::string DialoguesQt::FichierAOuvrir(const DemandeFichier& d) {
  DemandeOuverture o;
  o.titre = Q(d.Titre);
  o.filtre = Filtre(d);
  o.dossier = DossierExistant(d);
  o.nom = Q(d.Nom);
  const QString nom = service_.FichierAOuvrir(fenetre_, o);
  return nom.isEmpty() ? std::string() : Nom(nom);
}

std::string DialoguesQt::FichierAEnregistrer(const DemandeFichier& d) {
  DemandeEnregistrement e;
  e.titre = Q(d.Titre);
  e.filtre = Filtre(d);
  e.extensionDefaut = Q(d.Extension);
  e.dossier = DossierExistant(d);
  e.nom = Q(d.Nom);
  e.confirmeEcrasement = d.ConfirmeEcrasement;
  const QString nom = service_.FichierAEnregistrer(fenetre_, e);
  return nom.isEmpty() ? std::string() : Nom(nom);
}

int DialoguesQt::SaisieTexte(std::string& texte) {
  saisie_->Edittexte()->setText(DeWindows1252(texte));
  saisie_->adjustSize();
  // Centred over the drawing area.
  const QPoint coin = zone_->mapToGlobal(QPoint(0, 0));
  saisie_->move(coin.x() + (zone_->width() - saisie_->width()) / 2,
                coin.y() + (zone_->height() - saisie_->height()) / 2);
  const int r = saisie_->exec();
  if (r == 1 && !VersWindows1252(saisie_->Edittexte()->text(), texte)) return 2;
  return r == 1 ? 1 : 2;
}

Controle DialoguesQt::MenuSurgissant(Controle menu, int32_t x, int32_t y) {
  QMenu popup(fenetre_);
  popup.setObjectName(QString::fromLatin1(Definition(menu).Nom));
  for (int i = 1; i < kNombreControles; ++i) {
    const DefinitionControle& d = Definition(static_cast<Controle>(i));
    if (d.Conteneur != menu) continue;
    QAction* a = popup.addAction(QString::fromUtf8(d.Libelle));
    a->setObjectName(QString::fromLatin1(d.Nom));
    a->setData(i);
  }
  // The editor's points are in the screen's pixels.
  auto* zone = qobject_cast<ZoneDessin*>(zone_);
  const double k = zone != nullptr ? zone->Echelle() : 1;
  QAction* choix = popup.exec(zone_->mapToGlobal(QPoint(qRound(x / k), qRound(y / k))));
  return choix ? static_cast<Controle>(choix->data().toInt()) : Controle::Aucun;
}

std::string DialoguesQt::DateDuJour() {
  std::string octets;
  // In the interface's language (French), whatever the system's.
  VersWindows1252(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), octets);
  return octets;
}

bool DialoguesQt::LitFichier(const std::string& nom, std::vector<uint8_t>& octets,
                             std::string& erreur) {
  return LitFichierDisque(QFile::decodeName(nom.c_str()), octets, erreur);
}

bool DialoguesQt::EcritFichier(const std::string& nom, const std::vector<uint8_t>& octets,
                               std::string& erreur) {
  return EcritFichierDisque(QFile::decodeName(nom.c_str()), octets, erreur);
}

bool DialoguesQt::RetientFichier(const std::string& nom) {
  return verrou_ == nullptr || verrou_->Retient(QFile::decodeName(nom.c_str()));
}

std::string DialoguesQt::EtatFichier(const std::string& nom) {
  return EtatFichierDisque(QFile::decodeName(nom.c_str()));
}

}  // namespace korv4
