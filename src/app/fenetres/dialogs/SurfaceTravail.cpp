#include "fenetres/dialogs/SurfaceTravail.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "fenetres/commun/ServiceDialogues.h"

namespace korv4 {

namespace {

template <typename T>
T* Nomme(T* w, const char* nom) {
  w->setObjectName(QLatin1String(nom));
  return w;
}

// 800 x 800 mm is 31 496 units; 31 501 and more are refused.
constexpr int32_t kTailleRefusee = kSurfaceRefusee;

}  // namespace

TSurfacedetravail::TSurfacedetravail(const Circuit& circuit, ServiceDialogues& service,
                                     std::function<PageImprimante()> pageImprimante,
                                     QWidget* parent)
    : QDialog(parent),
      circuit_(circuit),
      service_(service),
      pageImprimante_(std::move(pageImprimante)) {
  setObjectName(QStringLiteral("Surfacedetravail"));
  setWindowTitle(QStringLiteral("Taille de la surface de travail"));
  // Fixed size, no title-bar buttons, always on top.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);

  QGroupBox* taille = Nomme(new QGroupBox(this), "GroupeTaille");
  auto* lt = new QGridLayout(taille);
  lt->addWidget(Nomme(new QLabel(QStringLiteral("Surface de travail"), taille), "Label4"), 0, 0, 1,
                2);
  lt->addWidget(Nomme(new QLabel(QStringLiteral("Largeur"), taille), "Label2"), 1, 0);
  Editlargeur_ = Nomme(new QLineEdit(taille), "Editlargeur");
  lt->addWidget(Editlargeur_, 1, 1);
  lt->addWidget(Nomme(new QLabel(QStringLiteral("Hauteur"), taille), "Label3"), 2, 0);
  EditHauteur_ = Nomme(new QLineEdit(taille), "EditHauteur");
  lt->addWidget(EditHauteur_, 2, 1);
  taille->setAccessibleName(QStringLiteral("Surface de travail"));
  Editlargeur_->setAccessibleName(QStringLiteral("Largeur de la surface de travail"));
  EditHauteur_->setAccessibleName(QStringLiteral("Hauteur de la surface de travail"));
  for (QLineEdit* e : {Editlargeur_, EditHauteur_}) {
    e->setMaxLength(3);
    e->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->installEventFilter(this);
  }

  QGroupBox* unites = Nomme(new QGroupBox(this), "GroupeUnites");
  auto* lu = new QVBoxLayout(unites);
  Choixenmm_ = Nomme(new QRadioButton(QStringLiteral("Taille en  mm"), unites), "Choixenmm");
  Choixenpas_ = Nomme(new QRadioButton(QStringLiteral("Taille en pas"), unites), "Choixenpas");
  Choixenmm_->setChecked(true);
  lu->addWidget(Choixenmm_);
  lu->addWidget(Choixenpas_);

  unites->setAccessibleName(QString::fromUtf8("Unité de la taille"));
  QGroupBox* formats = Nomme(new QGroupBox(this), "GroupeFormats");
  formats->setAccessibleName(QStringLiteral("Formats"));
  auto* lf = new QVBoxLayout(formats);
  struct Preset {
    const char* nom;
    const char* texte;
    int32_t w, h;  // millimetres; 0: the printer's format
  };
  // "200 x 150 mm" sets 250 x 150 mm, as users of the program know it.
  const Preset p[6] = {{"RadioButton2", "Format imprimante", 0, 0},
                       {"RadioButton3", "160 x 100mm", 160, 100},
                       {"RadioButton4", "200 x 150 mm", 250, 150},
                       {"RadioButton5", "300 x200 mm", 300, 200},
                       {"RadioButton1", "400 x300 mm", 400, 300},
                       {"RadioButton6", "800 x 800 mm (Max)", 800, 800}};
  for (int i = 0; i < 6; ++i) {
    QRadioButton* b = Nomme(new QRadioButton(QString::fromUtf8(p[i].texte), formats), p[i].nom);
    presets_[i] = b;
    lf->addWidget(b);
    const int32_t w = p[i].w, h = p[i].h;
    if (w == 0) {
      connect(b, &QRadioButton::clicked, this, &TSurfacedetravail::FormatImprimanteClick);
      b->setEnabled(static_cast<bool>(pageImprimante_));
    } else {
      connect(b, &QRadioButton::clicked, this, [this, w, h] { faittaille(w, h, true); });
    }
  }

  SpeedButton1_ = Nomme(new QPushButton(QStringLiteral("OK"), this), "SpeedButton1");
  BitBtn4_ = Nomme(new QPushButton(QStringLiteral("Annuler"), this), "BitBtn4");
  SpeedButton1_->setDefault(true);
  connect(Choixenmm_, &QRadioButton::clicked, this, &TSurfacedetravail::affichagetaille);
  connect(Choixenpas_, &QRadioButton::clicked, this, &TSurfacedetravail::affichagetaille);
  connect(SpeedButton1_, &QPushButton::clicked, this, &TSurfacedetravail::SpeedButton1Click);
  connect(BitBtn4_, &QPushButton::clicked, this, &QDialog::reject);

  auto* gauche = new QVBoxLayout;
  gauche->addWidget(taille);
  gauche->addWidget(unites);
  auto* haut = new QHBoxLayout;
  haut->addLayout(gauche);
  haut->addWidget(formats);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(SpeedButton1_);
  boutons->addWidget(BitBtn4_);
  auto* l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);
}

int TSurfacedetravail::Ouvre(int32_t& surfaceX, int32_t& surfaceY,
                             const std::function<void()>& afficheCI) {
  TailleSurface = {surfaceX, surfaceY};
  const int r = exec();
  if (r == QDialog::Accepted) {
    surfaceX = TailleSurface[0];
    surfaceY = TailleSurface[1];
    if (afficheCI) afficheCI();
  }
  return r;
}

void TSurfacedetravail::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) {
    move(200, 100);
    FormShow();
  }
  QDialog::showEvent(e);
}

void TSurfacedetravail::FormShow() {
  for (QRadioButton* b : presets_) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
  etendue_ = circuit_.NbElements > 0 ? CadreElements(circuit_, 1, circuit_.NbElements) : Cadre{};
  affichagetaille();
}

void TSurfacedetravail::affichagetaille() {
  const bool mm = Choixenmm_->isChecked();
  montresEnMm_ = mm;
  tailleMontree_ = TailleSurface;
  for (int i = 0; i < 2; ++i) {
    montres_[i] = QString::number(mm ? MmMontres(TailleSurface[i]) : TailleSurface[i] / 100);
    (i == 0 ? Editlargeur_ : EditHauteur_)->setText(montres_[i]);
  }
}

void TSurfacedetravail::faittaille(int32_t w, int32_t h, bool millimetres) {
  if (millimetres) {
    TailleSurface = {MmVersUnites(w) + 20, MmVersUnites(h) + 20};
  } else {
    TailleSurface = {w * 100 + 20, h * 100 + 20};
  }
  affichagetaille();
}

void TSurfacedetravail::FormatImprimanteClick() {
  if (!pageImprimante_) return;
  const PageImprimante p = pageImprimante_();
  const int32_t w = p.PointsParPouceX > 0
                        ? static_cast<int32_t>(int64_t{p.LargeurPoints} * 10 / p.PointsParPouceX)
                        : 0;
  const int32_t h = p.PointsParPouceY > 0
                        ? static_cast<int32_t>(int64_t{p.HauteurPoints} * 10 / p.PointsParPouceY)
                        : 0;
  faittaille(w, h, false);
}

bool TSurfacedetravail::eventFilter(QObject* objet, QEvent* e) {
  // EditlargeurKeyPress, EditHauteurKeyPress: backspace and the digits pass; every other
  // character key is discarded (keys without a character, the arrows, are no key press there).
  if (e->type() == QEvent::KeyPress && (objet == Editlargeur_ || objet == EditHauteur_)) {
    auto* k = static_cast<QKeyEvent*>(e);
    const QString t = k->text();
    if (!t.isEmpty() && k->key() != Qt::Key_Backspace) {
      const QChar c = t.at(0);
      if (t.size() != 1 || c < QLatin1Char('0') || c > QLatin1Char('9')) return true;
    }
  }
  return QDialog::eventFilter(objet, e);
}

void TSurfacedetravail::SpeedButton1Click() {
  const bool mm = Choixenmm_->isChecked();
  for (int i = 0; i < 2; ++i) {
    const QString texte = (i == 0 ? Editlargeur_ : EditHauteur_)->text();
    // A size whose number was not changed stays as it is, to the unit (the largest preset,
    // whose margin goes beyond the limit, gives the number shown).
    const bool garde =
        mm == montresEnMm_ && texte == montres_[i] && tailleMontree_[i] < kTailleRefusee;
    const int32_t v = texte.toInt();  // empty: 0
    TailleSurface[i] = garde ? tailleMontree_[i] : mm ? MmVersUnites(v) : v * 100;
  }
  if (TailleSurface[0] >= kTailleRefusee || TailleSurface[1] >= kTailleRefusee) {
    service_.Message(this, QStringLiteral("Taille maximale du circuit = 800 x 800 mm"));
  } else if (TailleSurface[0] > etendue_.Droite && TailleSurface[1] > etendue_.Haut) {
    accept();
  } else {
    service_.Message(this,
                     QStringLiteral("Taille du CI est plus grande que la surface de travail"));
  }
}

}  // namespace korv4
