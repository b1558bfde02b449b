#include "ui/DialoguesQt.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>

#include "dialogs/Editiontexte.h"
#include "disque/FichiersDisque.h"
#include "ui/CodePage.h"

namespace korv4 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A folder that does not exist opens the dialog in the start-up folder.
QString DossierExistant(const std::string& dossier) {
  const QString d = Q(dossier);
  return QDir(d).exists() ? d : QDir::currentPath();
}

QStringList Filtres(const DemandeFichier& d) {
  QStringList filtres;
  for (const std::string& f : d.Filtres) {
    const QString texte = Q(f);
    const int barre = texte.indexOf(QLatin1Char('|'));
    const QString description = texte.left(barre);
    const QString motif = texte.mid(barre + 1);
    filtres << description + QStringLiteral(" (") + motif + QLatin1Char(')');
  }
  return filtres;
}

std::string Nom(const QString& chemin) { return QFile::encodeName(chemin).toStdString(); }

}  // namespace

void DialoguesQt::Message(const std::string& texte) {
  QMessageBox::warning(fenetre_, QStringLiteral("KORV4"), Q(texte), QMessageBox::Ok);
}

Reponse DialoguesQt::Question(const std::string& texte, Boutons boutons) {
  if (boutons == Boutons::OuiNon) {
    return QMessageBox::question(fenetre_, QStringLiteral("Confirmation"), Q(texte),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes
               ? Reponse::Oui
               : Reponse::Non;
  }
  return QMessageBox::question(fenetre_, QStringLiteral("Confirmation"), Q(texte),
                               QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Ok) == QMessageBox::Ok
             ? Reponse::Ok
             : Reponse::Annuler;
}

std::string DialoguesQt::FichierAOuvrir(const DemandeFichier& d) {
  QFileDialog dialogue(fenetre_, Q(d.Titre), DossierExistant(d.Dossier));
  dialogue.setAcceptMode(QFileDialog::AcceptOpen);
  dialogue.setFileMode(QFileDialog::ExistingFile);
  dialogue.setNameFilters(Filtres(d));
  if (!d.Nom.empty()) dialogue.selectFile(Q(d.Nom));
  if (dialogue.exec() != QDialog::Accepted) return {};
  return Nom(dialogue.selectedFiles().value(0));
}

std::string DialoguesQt::FichierAEnregistrer(const DemandeFichier& d) {
  QFileDialog dialogue(fenetre_, Q(d.Titre), DossierExistant(d.Dossier));
  dialogue.setAcceptMode(QFileDialog::AcceptSave);
  dialogue.setFileMode(QFileDialog::AnyFile);
  dialogue.setNameFilters(Filtres(d));
  dialogue.setDefaultSuffix(Q(d.Extension));
  dialogue.setOption(QFileDialog::DontConfirmOverwrite, !d.ConfirmeEcrasement);
  if (!d.Nom.empty()) dialogue.selectFile(Q(d.Nom));
  if (dialogue.exec() != QDialog::Accepted) return {};
  return Nom(dialogue.selectedFiles().value(0));
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
  QAction* choix = popup.exec(zone_->mapToGlobal(QPoint(x, y)));
  return choix ? static_cast<Controle>(choix->data().toInt()) : Controle::Aucun;
}

std::string DialoguesQt::DateDuJour() {
  std::string octets;
  VersWindows1252(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat), octets);
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

}  // namespace korv4
