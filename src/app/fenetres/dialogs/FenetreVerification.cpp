#include "fenetres/dialogs/FenetreVerification.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korv4 {

namespace {
QString Mm(double mm) { return QLocale(QLocale::French).toString(mm, 'f', 2) + " mm"; }
}  // namespace

FenetreVerification::FenetreVerification(const Circuit& circuit, QWidget* parent)
    : QDialog(parent), circuit_(circuit) {
  setObjectName(QStringLiteral("FenetreVerification"));
  setWindowTitle(QStringLiteral("Vérification des isolements"));
  setModal(false);
  Isolement_ = new QDoubleSpinBox(this);
  Isolement_->setObjectName(QStringLiteral("Isolement"));
  Isolement_->setRange(0.05, 5);
  Isolement_->setDecimals(2);
  Isolement_->setSingleStep(0.05);
  Isolement_->setValue(0.3);
  Isolement_->setSuffix(QStringLiteral(" mm"));
  Isolement_->setLocale(QLocale(QLocale::French));
  Isolement_->setAccessibleName(QStringLiteral("Isolement minimal"));
  Continue_ = new QCheckBox(QStringLiteral("Vérification &continue"), this);
  Continue_->setObjectName(QStringLiteral("Continue"));
  Continue_->setToolTip(
      QStringLiteral("Vérifie de nouveau après chaque modification du circuit et signale dans la "
                     "barre d'état les défauts qui apparaissent."));
  auto* formulaire = new QFormLayout;
  formulaire->addRow(QStringLiteral("&Isolement minimal entre cuivres :"), Isolement_);
  formulaire->addRow(Continue_);
  Resume_ = new QLabel(this);
  Resume_->setObjectName(QStringLiteral("Resume"));
  Resume_->setWordWrap(true);
  Defauts_ = new QListWidget(this);
  Defauts_->setObjectName(QStringLiteral("Defauts"));
  Defauts_->setAccessibleName(QStringLiteral("Défauts trouvés"));
  Defauts_->setMinimumSize(620, 220);
  auto* boutons = new QDialogButtonBox(this);
  QPushButton* verifier =
      boutons->addButton(QStringLiteral("&Vérifier"), QDialogButtonBox::ActionRole);
  verifier->setObjectName(QStringLiteral("Verifier"));
  verifier->setDefault(true);  // Enter runs the check
  QPushButton* fermer = boutons->addButton(QStringLiteral("&Fermer"), QDialogButtonBox::RejectRole);
  fermer->setObjectName(QStringLiteral("Fermer"));
  connect(verifier, &QPushButton::clicked, this, &FenetreVerification::Verifie);
  connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
  // Ticked: the list is brought up to date at once, from the circuit as it is.
  connect(Continue_, &QCheckBox::toggled, this, [this](bool coche) {
    if (coche) Verifie();
  });
  connect(Defauts_, &QListWidget::currentRowChanged, this, [this](int ligne) {
    if (!montre) return;
    const bool ok = ligne >= 0 && ligne < static_cast<int>(resultat_.Defauts.size());
    montre(ok ? &resultat_.Defauts[static_cast<size_t>(ligne)] : nullptr);
  });
  connect(this, &QDialog::finished, this, [this] {
    if (montre) montre(nullptr);
  });
  auto* colonne = new QVBoxLayout(this);
  colonne->addLayout(formulaire);
  colonne->addWidget(Resume_);
  colonne->addWidget(Defauts_);
  colonne->addWidget(boutons);
}

void FenetreVerification::Ouvre() {
  Verifie();
  if (!isVisible() && parentWidget() != nullptr) {
    // Beside the drawing area rather than over it: against the main window's right edge.
    adjustSize();
    const QRect f = parentWidget()->frameGeometry();
    move(std::max(f.right() - width() - 40, f.left()), f.top() + 160);
  }
  show();
  raise();
  activateWindow();
}

void FenetreVerification::Verifie() {
  OptionsVerification o;
  o.IsolementMm = Isolement_->value();
  resultat_ = continue_.Commence(circuit_, o);
  {
    const QSignalBlocker bloque(Defauts_);
    Defauts_->clear();
  }
  if (montre) montre(nullptr);
  Affiche(o.IsolementMm);
}

void FenetreVerification::ApresEtape() {
  if (!Continue_->isChecked() || !isVisible()) return;
  const double isolement = Isolement_->value();
  if (!continue_.Commencee() || continue_.Options().IsolementMm != isolement) {
    Verifie();
    return;
  }
  if (!continue_.Suit(circuit_)) return;
  // The fault shown stays chosen (and its ring in the view) while it is still in the list.
  const int ligne = Defauts_->currentRow();
  const bool choisi = ligne >= 0 && ligne < static_cast<int>(resultat_.Defauts.size());
  const Defaut avant = choisi ? resultat_.Defauts[static_cast<size_t>(ligne)] : Defaut{};
  resultat_ = continue_.Resultat();
  int garde = -1;
  for (size_t k = 0; choisi && k < resultat_.Defauts.size(); ++k) {
    if (MemeDefaut(resultat_.Defauts[k], avant)) {
      garde = static_cast<int>(k);
      break;
    }
  }
  Affiche(isolement);
  {
    const QSignalBlocker bloque(Defauts_);
    Defauts_->setCurrentRow(garde);
  }
  if (choisi && garde < 0 && montre) montre(nullptr);
  const std::vector<Defaut>& nouveaux = continue_.Nouveaux();
  if (!nouveaux.empty() && annonce) {
    QString texte = QStringLiteral("Nouveau défaut : %1")
                        .arg(QString::fromStdString(DecritDefaut(nouveaux.front(), isolement)));
    if (nouveaux.size() > 1) texte += QStringLiteral(" (et %1 autres)").arg(nouveaux.size() - 1);
    annonce(texte);
  }
}

void FenetreVerification::Affiche(double isolementMm) {
  {
    const QSignalBlocker bloque(Defauts_);
    Defauts_->clear();
    for (const Defaut& d : resultat_.Defauts) {
      Defauts_->addItem(QString::fromStdString(DecritDefaut(d, isolementMm)));
    }
  }
  QString texte = resultat_.Defauts.empty()
                      ? QStringLiteral("Aucun défaut à %1.").arg(Mm(isolementMm))
                      : QStringLiteral("%1 défaut%2 à %3 : choisissez-en un pour le voir.")
                            .arg(resultat_.Defauts.size())
                            .arg(resultat_.Defauts.size() > 1 ? "s" : "")
                            .arg(Mm(isolementMm));
  if (resultat_.EcartMinimalMm >= 0) {
    texte += QStringLiteral(" Écart le plus petit : %1.").arg(Mm(resultat_.EcartMinimalMm));
  }
  if (resultat_.PisteMinimaleMm >= 0) {
    texte += QStringLiteral(" Piste la plus fine : %1.").arg(Mm(resultat_.PisteMinimaleMm));
  }
  Resume_->setText(texte);
}

}  // namespace korv4
