#include "fenetres/print/TFicheImpression.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShowEvent>
#include <QVBoxLayout>

#include "fenetres/commun/ServiceDialogues.h"
#include "partage/impression/ImprimePage.h"

namespace korv4 {

const char* const TFicheImpression::kFichierPdf = "Fichier PDF";

namespace {

template <typename T>
T* Nomme(T* w, const char* nom) {
  w->setObjectName(QLatin1String(nom));
  return w;
}

QGroupBox* Groupe(QWidget* parent, const char* nom, const QString& titre) {
  return Nomme(new QGroupBox(titre, parent), nom);
}

QString Texte(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TFicheImpression::TFicheImpression(const Circuit& circuit, ServiceDialogues& service,
                                   QWidget* parent)
    : QDialog(parent), circuit_(circuit), service_(service) {
  setObjectName(QStringLiteral("FicheImpression"));
  setWindowTitle(QStringLiteral("Impression"));

  QGroupBox* imprimante = Groupe(this, "GroupeImprimante", QStringLiteral("Imprimante"));
  ListeImprimantes_ = Nomme(new QComboBox(imprimante), "ListeImprimantes");
  ListeImprimantes_->setMinimumContentsLength(24);
  QGroupBox* orientation = Groupe(imprimante, "Orientation", QStringLiteral("Orientation"));
  RBPortrait_ = Nomme(new QRadioButton(QStringLiteral("Portrait"), orientation), "RBPortrait");
  RBPaysage_ = Nomme(new QRadioButton(QStringLiteral("Paysage"), orientation), "RBPaysage");
  auto* lo = new QHBoxLayout(orientation);
  lo->addWidget(RBPortrait_);
  lo->addWidget(RBPaysage_);
  ConfigIMP_ = Nomme(new QPushButton(QStringLiteral("Config."), imprimante), "ConfigIMP");
  auto* li = new QGridLayout(imprimante);
  li->addWidget(ListeImprimantes_, 0, 0, 1, 2);
  li->addWidget(orientation, 1, 0);
  li->addWidget(ConfigIMP_, 1, 1, Qt::AlignBottom);

  auto mesures = [this](const char* nomGroupe, const QString& titre, QLabel*& hauteur,
                        const char* nomHauteur, QLabel*& largeur, const char* nomLargeur) {
    QGroupBox* g = Groupe(this, nomGroupe, titre);
    auto* l = new QGridLayout(g);
    l->addWidget(new QLabel(QStringLiteral("Hauteur :"), g), 0, 0);
    hauteur = Nomme(new QLabel(g), nomHauteur);
    l->addWidget(hauteur, 0, 1);
    l->addWidget(new QLabel(QStringLiteral("Largeur :"), g), 1, 0);
    largeur = Nomme(new QLabel(g), nomLargeur);
    l->addWidget(largeur, 1, 1);
    l->setColumnStretch(1, 1);
    return g;
  };
  QGroupBox* surface = mesures("SurfaceImprimable", QStringLiteral("Surface imprimable"), Hauteur_,
                               "Hauteur", Largeur_, "Largeur");
  QGroupBox* surfaceCI = mesures("SurfaceCI", QStringLiteral("Surface du Circuit Imprimé"),
                                 HauteurCI_, "HauteurCI", LargeurCI_, "LargeurCI");

  QGroupBox* documents =
      Groupe(this, "ImpressionDocuments", QStringLiteral("Impression des documents"));
  auto* ld = new QGridLayout(documents);
  auto caseACocher = [](QWidget* parent, const char* nom, const QString& texte) {
    return Nomme(new QCheckBox(texte, parent), nom);
  };
  Face1_ = caseACocher(documents, "Face1", QStringLiteral("Typon Face 1"));
  Face2_ = caseACocher(documents, "Face2", QStringLiteral("Typon Face 2"));
  Face3_ = caseACocher(documents, "Face3", QStringLiteral("Plan d'implantation"));
  Face4_ = caseACocher(documents, "Face4", QStringLiteral("Plan de perçage"));
  Cadre_ = caseACocher(documents, "Cadre", QStringLiteral("Cadre et cartouche"));
  Inversionface2_ = caseACocher(documents, "Inversionface2", QStringLiteral("Inversion Face 2"));
  BoutonImpression_ =
      Nomme(new QPushButton(QStringLiteral("Imprimer"), documents), "BoutonImpression");
  Face1_->setChecked(true);
  ld->addWidget(Face1_, 0, 0);
  ld->addWidget(Face2_, 1, 0);
  ld->addWidget(Face3_, 2, 0);
  ld->addWidget(Face4_, 3, 0);
  ld->addWidget(Cadre_, 0, 1);
  ld->addWidget(Inversionface2_, 1, 1);
  ld->addWidget(BoutonImpression_, 3, 1);

  QGroupBox* ecran = Groupe(this, "ImpressionEcran", QStringLiteral("Impression tel qu'à l'ecran"));
  auto* le = new QHBoxLayout(ecran);
  Cadre2_ = caseACocher(ecran, "Cadre2", QStringLiteral("Cadre et cartouche"));
  ImprimeEcran_ = Nomme(new QPushButton(QStringLiteral("Imprimer"), ecran), "ImprimeEcran");
  le->addWidget(Cadre2_);
  le->addStretch();
  le->addWidget(ImprimeEcran_);

  BoutonAnnuler_ = Nomme(new QPushButton(QStringLiteral("Annuler"), this), "BoutonAnnuler");
  // Enter prints the documents checked; each control has a name of its own for assistive
  // technology.
  BoutonImpression_->setDefault(true);
  ListeImprimantes_->setAccessibleName(QStringLiteral("Imprimante choisie"));
  orientation->setAccessibleName(QStringLiteral("Orientation de la page"));
  ConfigIMP_->setAccessibleName(QStringLiteral("Configuration de l'imprimante"));
  Cadre_->setAccessibleName(QStringLiteral("Cadre et cartouche des documents"));
  BoutonImpression_->setAccessibleName(QStringLiteral("Imprimer les documents"));
  Cadre2_->setAccessibleName(
      QString::fromUtf8("Cadre et cartouche de l'impression tel qu'à l'écran"));
  ImprimeEcran_->setAccessibleName(QString::fromUtf8("Imprimer tel qu'à l'écran"));

  // User gestures only (activated, clicked): Init sets the same controls without a loop.
  connect(ListeImprimantes_, &QComboBox::activated, this,
          &TFicheImpression::ListeImprimantesChange);
  connect(RBPortrait_, &QRadioButton::clicked, this, [this] {
    imprimante_.setPageOrientation(QPageLayout::Portrait);
    RetientOrientation();
    Init();
  });
  connect(RBPaysage_, &QRadioButton::clicked, this, [this] {
    imprimante_.setPageOrientation(QPageLayout::Landscape);
    RetientOrientation();
    Init();
  });
  connect(ConfigIMP_, &QPushButton::clicked, this, [this] {
    if (service_.ConfigurationImprimante(this, imprimante_)) ApresConfiguration();
    Init();
  });
  connect(Cadre_, &QCheckBox::clicked, this, [this] { Cadre2_->setChecked(Cadre_->isChecked()); });
  connect(Cadre2_, &QCheckBox::clicked, this, [this] { Cadre_->setChecked(Cadre2_->isChecked()); });
  connect(BoutonImpression_, &QPushButton::clicked, this, &TFicheImpression::BoutonImpressionClick);
  connect(ImprimeEcran_, &QPushButton::clicked, this, &TFicheImpression::ImprimeEcranClick);
  connect(BoutonAnnuler_, &QPushButton::clicked, this, &QDialog::reject);

  auto* haut = new QHBoxLayout;
  haut->addWidget(imprimante, 1);
  auto* tailles = new QVBoxLayout;
  tailles->addWidget(surface);
  tailles->addWidget(surfaceCI);
  haut->addLayout(tailles);
  auto* bas = new QHBoxLayout;
  bas->addStretch();
  bas->addWidget(BoutonAnnuler_);
  auto* l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addWidget(documents);
  l->addWidget(ecran);
  l->addLayout(bas);
  l->setSizeConstraint(QLayout::SetFixedSize);

  // With no printer at all, the one entry prints to a PDF file.
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    imprimante_.setOutputFormat(QPrinter::PdfFormat);
  }
  // The orientation chosen last time.
  const QVariant paysage = QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
                               .value(QStringLiteral("Impression/Paysage"));
  if (paysage.isValid()) {
    imprimante_.setPageOrientation(paysage.toBool() ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
  }
}

void TFicheImpression::RetientOrientation() {
  QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
      .setValue(QStringLiteral("Impression/Paysage"),
                imprimante_.pageLayout().orientation() == QPageLayout::Landscape);
}

QStringList TFicheImpression::NomsImprimantes() {
  QStringList noms = QPrinterInfo::availablePrinterNames();
  if (noms.isEmpty()) noms << QLatin1String(kFichierPdf);
  return noms;
}

PageImprimante TFicheImpression::Page() const { return PageDe(imprimante_); }

int TFicheImpression::Ouvre(const EtatTravail& etat, const ContexteTrace& ecran) {
  if (circuit_.NbElements <= 0) return 0;
  etat_ = etat;
  ecran_ = ecran;
  ecran_.Toile = nullptr;
  return exec();
}

bool TFicheImpression::ConfigurationImprimante() {
  if (!service_.ConfigurationImprimante(parentWidget(), imprimante_)) return false;
  ApresConfiguration();
  return true;
}

void TFicheImpression::ApresConfiguration() {
  RetientOrientation();
  fichierDeLaConfiguration_ =
      imprimante_.outputFormat() == QPrinter::PdfFormat && !imprimante_.outputFileName().isEmpty();
}

void TFicheImpression::showEvent(QShowEvent* e) {
  // Only an opening sets the dialog up (a minimized window restored keeps its place).
  if (!e->spontaneous()) {
    move(150, 150);
    FormShow();
  }
  QDialog::showEvent(e);
}

void TFicheImpression::paintEvent(QPaintEvent* e) {
  // FormPaint: a paint of the whole dialog (shown, uncovered, resized, refreshed). A control
  // that repaints itself has its parent repaint the control's rectangle only: no Init there,
  // or a Face1 box unchecked by a click would be checked again by the click's own repaint.
  if (e->rect().contains(rect())) Init();
  QDialog::paintEvent(e);
}

void TFicheImpression::FormShow() {
  encombrement_ =
      circuit_.NbElements > 0 ? CadreElements(circuit_, 1, circuit_.NbElements) : Cadre{};
  Init();
}

void TFicheImpression::ChoisitImprimante(const QString& nom) {
  if (nom == QLatin1String(kFichierPdf) && QPrinterInfo::availablePrinterNames().isEmpty()) {
    imprimante_.setOutputFormat(QPrinter::PdfFormat);
  } else {
    imprimante_.setOutputFileName(QString());
    imprimante_.setPrinterName(nom);
  }
}

void TFicheImpression::Init() {
  // 1. The printers, the current one selected (a printer that went away gives way to the
  // system's default, or the first).
  const QStringList noms = NomsImprimantes();
  QStringList actuels;
  for (int i = 0; i < ListeImprimantes_->count(); ++i) actuels << ListeImprimantes_->itemText(i);
  if (actuels != noms) {
    ListeImprimantes_->clear();
    ListeImprimantes_->addItems(noms);
  }
  const bool pdf = imprimante_.outputFormat() == QPrinter::PdfFormat &&
                   noms.front() == QLatin1String(kFichierPdf);
  int index = pdf ? 0 : noms.indexOf(imprimante_.printerName());
  if (index < 0) {
    const QString defaut = QPrinterInfo::defaultPrinterName();
    index = std::max(0, static_cast<int>(noms.indexOf(defaut)));
    ChoisitImprimante(noms.at(index));
  }
  if (ListeImprimantes_->currentIndex() != index) ListeImprimantes_->setCurrentIndex(index);

  // 2. The orientation.
  const bool paysage = imprimante_.pageLayout().orientation() == QPageLayout::Landscape;
  if (paysage ? !RBPaysage_->isChecked() : !RBPortrait_->isChecked()) {
    (paysage ? RBPaysage_ : RBPortrait_)->setChecked(true);
  }

  // 3 and 4. The printable area.
  const PageImprimante page = Page();
  auto montre = [](QLabel* l, int32_t unites) {
    const QString t = Texte(TexteMillimetres(unites));
    if (l->text() != t) l->setText(t);
  };
  montre(Hauteur_, HauteurImprimable(page));
  montre(Largeur_, LargeurImprimable(page));
  // 5. The circuit's size.
  montre(HauteurCI_, encombrement_.Haut - encombrement_.Bas);
  montre(LargeurCI_, encombrement_.Droite - encombrement_.Gauche);

  // 6 and 7. The documents.
  const CasesDocuments cases = InitCases(circuit_);
  if (Face1_->isChecked() != cases.Face1) Face1_->setChecked(cases.Face1);
  if (Face1_->isEnabled() != cases.Face1) Face1_->setEnabled(cases.Face1);
  if (Face2_->isEnabled() != cases.Face2Active) Face2_->setEnabled(cases.Face2Active);
  if (Face3_->isEnabled() != cases.Face3Active) Face3_->setEnabled(cases.Face3Active);
  if (Face4_->isEnabled() != cases.Face4Active) Face4_->setEnabled(cases.Face4Active);
}

void TFicheImpression::ListeImprimantesChange(int index) {
  if (index >= 0) ChoisitImprimante(ListeImprimantes_->itemText(index));
  Init();
}

bool TFicheImpression::LanceImpression(TravailImpression& t) {
  if (t.Vide()) return false;
  if (!t.TailleAcceptee &&
      !service_.ConfirmationOKAnnuler(this, QString::fromUtf8(kQuestionTaille))) {
    return false;
  }
  if (imprimante_.outputFormat() == QPrinter::PdfFormat && fichierDeLaConfiguration_) {
    // Named in the set-up dialog just before: asked once only.
    fichierDeLaConfiguration_ = false;
    nomPdf_ = imprimante_.outputFileName();
  } else if (imprimante_.outputFormat() == QPrinter::PdfFormat) {
    DemandeEnregistrement d;
    d.titre = QStringLiteral("Impression dans un fichier PDF");
    d.filtre = QStringLiteral("Fichier PDF (*.pdf)|*.pdf");
    d.extensionDefaut = QStringLiteral("pdf");
    d.nom = nomPdf_;
    const QString nom = service_.FichierAEnregistrer(this, d);
    if (nom.isEmpty()) return false;
    nomPdf_ = nom;
    imprimante_.setOutputFormat(QPrinter::PdfFormat);
    imprimante_.setOutputFileName(nom);
  }
  imprimante_.setDocName(QString::fromLatin1(circuit_.EnteteCI.Titre.c_str()));
  imprimante_.setCreator(QStringLiteral("KORV4"));
  if (!ImprimeSurPage(circuit_, t, imprimante_)) {
    service_.Message(this, QStringLiteral("L'impression sur « %1 » n'a pas pu commencer.")
                               .arg(ListeImprimantes_->currentText()));
    return false;
  }
  return true;
}

void TFicheImpression::BoutonImpressionClick() {
  ChoixDocuments choix;
  choix.Face1 = Face1_->isChecked();
  choix.Face2 = Face2_->isChecked();
  choix.Face3 = Face3_->isChecked();
  choix.Face4 = Face4_->isChecked();
  choix.Cadre = Cadre_->isChecked();
  choix.InversionFace2 = Inversionface2_->isChecked();
  dernier_ =
      PrepareDocuments(circuit_, Page(), choix, etat_.Travail, ecran_.SurfaceX, ecran_.SurfaceY);
  dernierImprime_ = LanceImpression(dernier_);
  accept();
}

void TFicheImpression::ImprimeEcranClick() {
  dernier_ = PrepareEcran(circuit_, Page(), etat_, ecran_, Cadre2_->isChecked());
  dernierImprime_ = LanceImpression(dernier_);
  accept();
}

}  // namespace korv4
