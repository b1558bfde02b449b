#include "fenetres/export/TFicheFabrication.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "export/Zip.h"
#include "fenetres/ui/ServiceDialogues.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4 {

namespace {

// The start of the layer files' names: the circuit's file name without its folder and
// extension, "carte" for a circuit without a name.
std::string Base(const Circuit& c) {
  const QString nom = QFileInfo(QFile::decodeName(c.NomFichier.c_str())).completeBaseName();
  return nom.isEmpty() ? std::string("carte") : nom.toStdString();
}

QString Taille(size_t octets) {
  return octets < 10000 ? QStringLiteral("%1 octets").arg(octets)
                        : QStringLiteral("%1 ko").arg((octets + 512) / 1024);
}

}  // namespace

TFicheFabrication::TFicheFabrication(const Circuit& circuit, ServiceDialogues& service,
                                     QWidget* parent)
    : QDialog(parent), circuit_(circuit), service_(service) {
  setObjectName(QStringLiteral("FicheFabrication"));
  setWindowTitle(QStringLiteral("Fichiers de fabrication"));
  auto* formulaire = new QFormLayout;
  MargeMasque_ = new QDoubleSpinBox(this);
  MargeMasque_->setObjectName(QStringLiteral("MargeMasque"));
  MargeMasque_->setRange(0, 5);
  MargeMasque_->setDecimals(2);
  MargeMasque_->setSingleStep(0.05);
  MargeMasque_->setValue(0.1);
  MargeMasque_->setSuffix(QStringLiteral(" mm"));
  MargeMasque_->setLocale(QLocale(QLocale::French));
  MargeMasque_->setAccessibleName(QStringLiteral("Marge des masques"));
  formulaire->addRow(QStringLiteral("Marge des &masques autour des pastilles :"), MargeMasque_);
  Contour_ = new QComboBox(this);
  Contour_->setObjectName(QStringLiteral("Contour"));
  Contour_->addItems({QStringLiteral("la surface de travail (Format > Taille)"),
                      QStringLiteral("l'étendue des éléments plus une marge")});
  Contour_->setAccessibleName(QStringLiteral("Contour de la carte"));
  formulaire->addRow(QStringLiteral("&Contour de la carte :"), Contour_);
  MargeContour_ = new QDoubleSpinBox(this);
  MargeContour_->setObjectName(QStringLiteral("MargeContour"));
  MargeContour_->setRange(0, 50);
  MargeContour_->setDecimals(1);
  MargeContour_->setValue(1.0);
  MargeContour_->setSuffix(QStringLiteral(" mm"));
  MargeContour_->setLocale(QLocale(QLocale::French));
  MargeContour_->setAccessibleName(QStringLiteral("Marge du contour"));
  formulaire->addRow(QStringLiteral("Marge du c&ontour :"), MargeContour_);
  Pastilles_ = new QComboBox(this);
  Pastilles_->setObjectName(QStringLiteral("Pastilles"));
  Pastilles_->addItems({QStringLiteral("octogonales"), QStringLiteral("circulaires")});
  Pastilles_->setAccessibleName(QStringLiteral("Forme des pastilles rondes"));
  formulaire->addRow(QStringLiteral("Pastilles &rondes :"), Pastilles_);

  Fichiers_ = new QTreeWidget(this);
  Fichiers_->setObjectName(QStringLiteral("Fichiers"));
  Fichiers_->setAccessibleName(QStringLiteral("Fichiers qui seront écrits"));
  Fichiers_->setHeaderLabels(
      {QStringLiteral("Fichier"), QStringLiteral("Couche"), QStringLiteral("Taille")});
  Fichiers_->setRootIsDecorated(false);
  Fichiers_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Fichiers_->setMinimumSize(760, 200);
  Resume_ = new QLabel(this);
  Resume_->setObjectName(QStringLiteral("Resume"));
  Resume_->setWordWrap(true);

  auto* boutons = new QDialogButtonBox(this);
  Enregistre_ =
      boutons->addButton(QStringLiteral("&Enregistrer l'archive…"), QDialogButtonBox::AcceptRole);
  Enregistre_->setObjectName(QStringLiteral("EnregistreArchive"));
  QPushButton* fermer = boutons->addButton(QStringLiteral("&Fermer"), QDialogButtonBox::RejectRole);
  fermer->setObjectName(QStringLiteral("Fermer"));
  connect(Enregistre_, &QPushButton::clicked, this, &TFicheFabrication::EnregistreClick);
  connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

  auto* colonne = new QVBoxLayout(this);
  colonne->addLayout(formulaire);
  colonne->addWidget(new QLabel(QStringLiteral("Fichiers écrits dans l'archive (vus du côté "
                                               "composants) :"),
                                this));
  colonne->addWidget(Fichiers_);
  colonne->addWidget(Resume_);
  colonne->addWidget(boutons);

  connect(MargeMasque_, &QDoubleSpinBox::valueChanged, this, [this] { Actualise(); });
  connect(MargeContour_, &QDoubleSpinBox::valueChanged, this, [this] { Actualise(); });
  connect(Contour_, &QComboBox::currentIndexChanged, this, [this] { Actualise(); });
  connect(Pastilles_, &QComboBox::currentIndexChanged, this, [this] { Actualise(); });
}

OptionsFabrication TFicheFabrication::Options() const {
  OptionsFabrication o;
  o.Base = Base(circuit_);
  o.MargeMasqueMm = MargeMasque_->value();
  o.Contour =
      Contour_->currentIndex() == 1 ? ContourFabrication::Etendue : ContourFabrication::Surface;
  o.MargeContourMm = MargeContour_->value();
  o.Pastilles =
      Pastilles_->currentIndex() == 1 ? StylePastilles::Circulaires : StylePastilles::Octogonales;
  return o;
}

void TFicheFabrication::Actualise() {
  MargeContour_->setEnabled(Contour_->currentIndex() == 1);
  jeu_ = FabriqueJeu(circuit_, Options());
  Fichiers_->clear();
  size_t total = 0;
  for (const FichierFabrication& f : jeu_.Fichiers) {
    auto* ligne = new QTreeWidgetItem(Fichiers_);
    ligne->setText(0, QString::fromStdString(f.Nom));
    ligne->setText(1, QString::fromStdString(f.Couche));
    ligne->setText(2, Taille(f.Octets.size()));
    total += f.Octets.size();
  }
  if (!jeu_.Erreur.empty()) {
    Resume_->setText(QString::fromStdString(jeu_.Erreur));
  } else if (jeu_.Fichiers.empty()) {
    Resume_->setText(QStringLiteral("Le circuit est vide : aucun fichier à écrire."));
  } else {
    Resume_->setText(QStringLiteral("%1 fichiers, %2. Le contour est %3.")
                         .arg(jeu_.Fichiers.size())
                         .arg(Taille(total))
                         .arg(Contour_->currentIndex() == 1
                                  ? QStringLiteral("l'étendue des éléments plus la marge")
                                  : QStringLiteral("la surface de travail : réglez-la à la "
                                                   "taille de la carte par Format > Taille")));
  }
  Enregistre_->setEnabled(!jeu_.Fichiers.empty());
}

int TFicheFabrication::Ouvre() {
  Actualise();
  return exec() == QDialog::Accepted ? 1 : 2;
}

bool TFicheFabrication::EcritArchive(const QString& nom) {
  if (jeu_.Fichiers.empty()) return false;
  std::vector<EntreeZip> entrees;
  for (const FichierFabrication& f : jeu_.Fichiers) entrees.push_back({f.Nom, f.Octets});
  const QDateTime t = QDateTime::currentDateTime();
  uint16_t date = 0, heure = 0;
  DateHeureDos(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
               t.time().minute(), t.time().second(), date, heure);
  const std::vector<uint8_t> zip = EcritZip(entrees, date, heure);
  std::string erreur;
  if (zip.empty()) {
    erreur = "L'archive « " + nom.toStdString() + " » serait trop grande pour le format zip.";
  } else if (SortieDistincte(nom, QFile::decodeName(circuit_.NomFichier.c_str()), erreur) &&
             EcritFichierDisque(nom, zip, erreur)) {
    return true;
  }
  service_.Message(this, QString::fromStdString(erreur));
  return false;
}

void TFicheFabrication::EnregistreClick() {
  DemandeEnregistrement d;
  d.titre = QStringLiteral("Enregistrement des fichiers de fabrication");
  d.filtre = QStringLiteral("Archive zip (*.zip)|*.zip");
  d.extensionDefaut = QStringLiteral("zip");
  d.nom = QString::fromStdString(Options().Base) + QStringLiteral(".zip");
  const QString nom = service_.FichierAEnregistrer(this, d);
  if (nom.isEmpty()) return;
  if (EcritArchive(nom)) accept();
}

}  // namespace korv4
