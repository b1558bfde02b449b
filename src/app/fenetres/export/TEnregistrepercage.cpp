#include "fenetres/export/TEnregistrepercage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <new>

#include "fenetres/commun/ServiceDialogues.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4 {

namespace {

QRadioButton* Radio(QWidget* parent, const char* nom, const QString& texte, QLayout* l) {
  auto* b = new QRadioButton(texte, parent);
  b->setObjectName(QLatin1String(nom));
  l->addWidget(b);
  return b;
}

QGroupBox* Groupe(QWidget* parent, const char* nom, const QString& titre) {
  auto* g = new QGroupBox(titre, parent);
  g->setObjectName(QLatin1String(nom));
  return g;
}

QLabel* Etiquette(QWidget* parent, const char* nom, const QString& texte) {
  auto* l = new QLabel(texte, parent);
  l->setObjectName(QLatin1String(nom));
  return l;
}

}  // namespace

TEnregistrepercage::TEnregistrepercage(const Circuit& circuit, ServiceDialogues& service,
                                       QWidget* parent)
    : QDialog(parent), circuit_(circuit), service_(service) {
  setObjectName(QStringLiteral("Enregistrepercage"));
  setWindowTitle(QStringLiteral("Enregistrement d'un fichier de perçage"));

  QGroupBox* format = Groupe(this, "FormatFichier", QStringLiteral("Format du fichier de perçage"));
  auto* lf = new QVBoxLayout(format);
  Formatexcellon_ =
      Radio(format, "Formatexcellon", QStringLiteral("Format Excellon  ( .EXL )"), lf);
  FormatIso_ = Radio(format, "FormatIso", QStringLiteral("Format ISO            ( .ISO )"), lf);
  FormatHPGL_ = Radio(format, "FormatHPGL", QStringLiteral("Format HPGL       ( .HPG )"), lf);
  FormatExport_ = Radio(format, "FormatExport", QStringLiteral("Format Export      ( .PEX )"), lf);
  Formatexcellon_->setChecked(true);

  QGroupBox* config =
      Groupe(this, "GroupBox1", QStringLiteral("Configuration du fichier de perçage"));
  auto* lc = new QHBoxLayout(config);
  QGroupBox* face = Groupe(config, "FacePercage", QStringLiteral("Face de perçage"));
  auto* lfa = new QVBoxLayout(face);
  CoteCuivre_ = Radio(face, "CoteCuivre", QStringLiteral("Coté cuivre"), lfa);
  CoteComposants_ = Radio(face, "CoteComposants", QStringLiteral("Coté composants"), lfa);
  CoteComposants_->setChecked(true);
  QGroupBox* elements = Groupe(config, "ElementsPercer", QStringLiteral("Eléments à percer"));
  auto* le = new QVBoxLayout(elements);
  PercageCI_ = Radio(elements, "PercageCI", QStringLiteral("Perçage du CI"), le);
  PercagePion_ =
      Radio(elements, "PercagePion", QStringLiteral("Perçage des pions de centrage"), le);
  PercageCI_->setChecked(true);
  // Named for assistive technology, which would otherwise call them after the group around.
  face->setAccessibleName(face->title());
  elements->setAccessibleName(elements->title());
  lc->addWidget(face);
  lc->addWidget(elements);

  QGroupBox* nombre = Groupe(this, "GroupBox2", QStringLiteral("Nombre de perçages"));
  auto* ln = new QGridLayout(nombre);
  ln->addWidget(Etiquette(nombre, "Label2", QStringLiteral("Nombre de perçages du CI")), 0, 0);
  LabelNbpercage_ = Etiquette(nombre, "LabelNbpercage", QStringLiteral("0"));
  ln->addWidget(LabelNbpercage_, 0, 1);
  ln->addWidget(Etiquette(nombre, "Label1", QStringLiteral("Nombre de pions de centrage")), 1, 0);
  LabelPions_ = Etiquette(nombre, "LabelPions", QStringLiteral("0"));
  ln->addWidget(LabelPions_, 1, 1);

  EnregistreFichierPercage_ = new QPushButton(QStringLiteral("Enregistrer"), this);
  EnregistreFichierPercage_->setObjectName(QStringLiteral("EnregistreFichierPercage"));
  EnregistreFichierPercage_->setDefault(true);
  BitBtn1_ = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
  connect(EnregistreFichierPercage_, &QPushButton::clicked, this,
          &TEnregistrepercage::EnregistreFichierPercageClick);
  connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::reject);

  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(EnregistreFichierPercage_);
  boutons->addWidget(BitBtn1_);
  auto* l = new QVBoxLayout(this);
  l->addWidget(format);
  l->addWidget(config);
  l->addWidget(nombre);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);
}

bool TEnregistrepercage::PreparePercages() {
  if (circuit_.NbElements <= 0) return false;
  percages_ = CollectePercages(circuit_);
  return percages_.NbPercages > 0;
}

int TEnregistrepercage::Ouvre() { return PreparePercages() ? exec() : 0; }

void TEnregistrepercage::showEvent(QShowEvent* e) {
  // Only an opening sets the dialog up: the window system's show events (a minimized window
  // restored) keep what the user chose.
  if (!e->spontaneous()) {
    move(200, 150);
    FormShow();
  }
  QDialog::showEvent(e);
}

void TEnregistrepercage::FormShow() {
  const ListePercages& l = percages_;
  LabelNbpercage_->setText(QString::number(l.NbPercagesCI()));
  LabelPions_->setText(QString::number(l.NbPions));
  PercagePion_->setEnabled(l.NbPions > 0);
  PercageCI_->setEnabled(l.NbPercages > l.NbPions);
  // The circuit's holes when it has any, otherwise its pins.
  if (l.NbPercages > l.NbPions) {
    PercageCI_->setChecked(true);
  } else if (l.NbPions > 0) {
    PercagePion_->setChecked(true);
  }
  etendue_ = circuit_.NbElements > 0 ? CadreElements(circuit_, 1, circuit_.NbElements) : Cadre{};
}

OptionsPercage TEnregistrepercage::Options() const {
  OptionsPercage o;
  o.Elements = PercagePion_->isChecked() ? ElementsAPercer::Pions
               : PercageCI_->isChecked() ? ElementsAPercer::CI
                                         : ElementsAPercer::Aucun;
  o.Face = CoteCuivre_->isChecked()       ? FacePercage::Cuivre
           : CoteComposants_->isChecked() ? FacePercage::Composants
                                          : FacePercage::Aucune;
  return o;
}

FormatPercage TEnregistrepercage::Format() const {
  if (FormatIso_->isChecked()) return FormatPercage::ISO;
  if (FormatHPGL_->isChecked()) return FormatPercage::HPGL;
  if (FormatExport_->isChecked()) return FormatPercage::PEX;
  return FormatPercage::Excellon;
}

void TEnregistrepercage::EnregistreFichierPercageClick() {
  // Diameters that no dialog gives (a damaged file): no drill file, before a name is asked.
  std::string erreur;
  if (!VerifieDiametresPercage(circuit_, Options(), erreur)) {
    service_.Message(this, QStringLiteral("Le circuit a ") + QString::fromStdString(erreur));
    return;  // the dialog stays open
  }
  DemandeEnregistrement d;  // SavePercage
  d.confirmeEcrasement = true;
  switch (Format()) {
    case FormatPercage::Excellon:
      d.filtre = QStringLiteral("Format Ecellon  (*.EXL)|*.EXL");
      d.extensionDefaut = QStringLiteral("*.EXL");
      break;
    case FormatPercage::ISO:
      d.filtre = QStringLiteral("Format ISO      (*.ISO)|*.ISO");
      d.extensionDefaut = QStringLiteral("*.ISO");
      break;
    case FormatPercage::HPGL:
      d.filtre = QStringLiteral("Format HPGL     (*.HPG)|*.HPG");
      d.extensionDefaut = QStringLiteral("*.HPG");
      break;
    case FormatPercage::PEX:
      d.filtre = QStringLiteral("Format Export   (*.PEX)|*.PEX");
      d.extensionDefaut = QStringLiteral("*.PEX");
      break;
  }
  d.nom.clear();
  const QString nom = service_.FichierAEnregistrer(this, d);
  if (nom.isEmpty()) return;  // cancelled: the dialog stays open
  nomFichier_ = nom;

  std::vector<uint8_t> octets;
  try {
    octets = EcritFichierPercage(Format(), percages_, etendue_, Options());
  } catch (const std::bad_alloc&) {
    service_.Message(this, QString::fromStdString(MessageMemoireInsuffisante(nom)));
    return;  // the dialog stays open
  }
  if (octets.empty()) {
    service_.Message(this, QStringLiteral("Le fichier « %1 » n'est pas écrit : plus de %2 "
                                          "perçages, trop pour le format Export (.PEX).")
                               .arg(nom)
                               .arg(kPercagesMaxPEX));
    return;
  }
  bool ecrit = false;
  try {
    ecrit = SortieDistincte(nom, QString::fromStdString(circuit_.NomFichier), erreur) &&
            EcritFichierDisque(nom, octets, erreur);
  } catch (const std::bad_alloc&) {
    service_.Message(this, QString::fromStdString(MessageMemoireInsuffisante(nom)));
    return;
  }
  if (!ecrit) {
    service_.Message(this, QString::fromStdString(erreur));
    return;  // the dialog stays open
  }
  accept();
}

}  // namespace korv4
