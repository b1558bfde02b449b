#include "fenetres/export/TExportGerber.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <new>

#include "fenetres/commun/ServiceDialogues.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4 {

TExportGerber::TExportGerber(const Circuit& circuit, ServiceDialogues& service, QWidget* parent)
    : QDialog(parent), circuit_(circuit), service_(service) {
  setObjectName(QStringLiteral("ExportGerber"));
  setWindowTitle(QStringLiteral("Exporter le circuit au format Gerber"));

  auto* groupe = new QGroupBox(QStringLiteral("Style des pastilles"), this);
  groupe->setObjectName(QStringLiteral("GroupBox1"));
  PastHocto_ = new QRadioButton(QStringLiteral("Pastilles octogonales"), groupe);
  PastHocto_->setObjectName(QStringLiteral("PastHocto"));
  PastHocto_->setChecked(true);
  PastCir_ = new QRadioButton(QStringLiteral("Pastilles circulaires"), groupe);
  PastCir_->setObjectName(QStringLiteral("PastCir"));
  auto* lg = new QVBoxLayout(groupe);
  lg->addWidget(PastHocto_);
  lg->addWidget(PastCir_);

  EnregistreFichierGerber_ = new QPushButton(QStringLiteral("Enregistrer"), this);
  EnregistreFichierGerber_->setObjectName(QStringLiteral("EnregistreFichierGerber"));
  EnregistreFichierGerber_->setDefault(true);
  BitBtn1_ = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
  connect(EnregistreFichierGerber_, &QPushButton::clicked, this,
          &TExportGerber::EnregistreFichierGerberClick);
  connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::reject);

  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(EnregistreFichierGerber_);
  boutons->addWidget(BitBtn1_);
  auto* l = new QVBoxLayout(this);
  l->addWidget(groupe);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);
}

int TExportGerber::Ouvre() { return circuit_.NbElements > 0 ? exec() : 0; }

void TExportGerber::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) move(250, 150);  // FormShow, at an opening only
  QDialog::showEvent(e);
}

StylePastilles TExportGerber::Style() const {
  return PastCir_->isChecked() ? StylePastilles::Circulaires : StylePastilles::Octogonales;
}

void TExportGerber::EnregistreFichierGerberClick() {
  DemandeEnregistrement d;  // SaveGerber
  d.filtre = QStringLiteral("Format Gerber");
  d.confirmeEcrasement = true;
  d.lectureSeuleCachee = true;
  const QString nom = service_.FichierAEnregistrer(this, d);
  if (nom.isEmpty() || circuit_.NbElements <= 0) return;  // the dialog stays open
  nomFichierGerber_ = nom;
  const Cadre etendue = CadreElements(circuit_, 1, circuit_.NbElements);
  const std::vector<CoucheGerber> couches = CouchesGerber(circuit_);
  // No layer file may replace the open circuit's file: checked before the first is written.
  for (const CoucheGerber& k : couches) {
    std::string erreur;
    if (!SortieDistincte(nom + QLatin1String(k.Suffixe),
                         QString::fromStdString(circuit_.NomFichier), erreur)) {
      service_.Message(this, QString::fromStdString(erreur));
      return;
    }
  }
  // The layer files in order, each written to the disk as it is plotted (the memory stays small
  // whatever the board); a file that cannot be written stops the export there (it keeps its
  // previous contents) and the dialog stays open.
  QString enCours;
  try {
    for (const CoucheGerber& k : couches) {
      enCours = nom + QLatin1String(k.Suffixe);
      FichierDisqueEnCours fichier(enCours);
      std::string erreur;
      bool ecrit = fichier.Ouvre(erreur);
      if (ecrit) {
        EcritFichierGerber(CollecteElementsGerber(circuit_, k.Masque), etendue, Style(), fichier);
        ecrit = fichier.Termine(erreur);
      }
      if (!ecrit) {
        service_.Message(this, QString::fromStdString(erreur));
        return;
      }
    }
  } catch (const std::bad_alloc&) {
    service_.Message(this, QString::fromStdString(MessageMemoireInsuffisante(enCours)));
    return;
  }
  accept();
}

}  // namespace korv4
