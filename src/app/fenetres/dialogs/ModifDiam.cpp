#include "fenetres/dialogs/ModifDiam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace korv4 {

namespace {

constexpr int32_t kPremieres[8] = {0, 5, 8, 10, 12, 15, 20, 25};

// Image1: a pad seen from above with its hole and the diameter marked across it.
QPixmap Illustration() {
  QPixmap p(120, 120);
  p.fill(Qt::white);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0xB8, 0x73, 0x33));  // copper
  g.drawEllipse(QPointF(60, 60), 44, 44);
  g.setBrush(Qt::white);
  g.drawEllipse(QPointF(60, 60), 20, 20);
  g.setPen(QPen(Qt::black, 1.5));
  g.drawLine(QPointF(40, 60), QPointF(80, 60));
  g.drawLine(QPointF(40, 55), QPointF(40, 65));
  g.drawLine(QPointF(80, 55), QPointF(80, 65));
  g.drawText(QRectF(0, 96, 120, 20), Qt::AlignCenter, QStringLiteral("\u2300 per\u00e7age"));
  return p;
}

}  // namespace

int32_t TFicheModifDiametre::PremiereValeur(int k) { return kPremieres[k]; }

QString TFicheModifDiametre::TexteValeur(int32_t v) {
  return QStringLiteral("%1,%2 mm").arg(v / 10).arg(v % 10);
}

TFicheModifDiametre::TFicheModifDiametre(Circuit& circuit, QWidget* parent)
    : QDialog(parent), circuit_(circuit) {
  setObjectName(QStringLiteral("FicheModifDiametre"));
  setWindowTitle(QStringLiteral("Modification des diamètres de perçage"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);

  auto* grille = new QGridLayout;
  for (int k = 1; k <= 7; ++k) {
    auto* liste = new QComboBox(this);
    liste->setObjectName(QStringLiteral("ComboBox%1").arg(k));
    liste->setEditable(false);  // a drop-down list, no free typing
    for (int j = 0; j <= 10; ++j) {
      const int32_t v = kPremieres[k] + j;
      liste->addItem(TexteValeur(v), v);
    }
    listes_[k] = liste;
    grille->addWidget(new QLabel(QStringLiteral("Perçage %1").arg(k), this), k - 1, 0);
    grille->addWidget(liste, k - 1, 1);
  }
  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(Illustration());

  BitBtnOk_ = new QPushButton(QStringLiteral("OK"), this);
  BitBtnOk_->setObjectName(QStringLiteral("BitBtnOk"));
  BitBtnOk_->setDefault(true);
  BitBtnCancel_ = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtnCancel_->setObjectName(QStringLiteral("BitBtnCancel"));
  connect(BitBtnOk_, &QPushButton::clicked, this, &TFicheModifDiametre::BitBtnOkClick);
  connect(BitBtnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* haut = new QHBoxLayout;
  haut->addLayout(grille);
  haut->addWidget(image, 0, Qt::AlignTop);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(BitBtnOk_);
  boutons->addWidget(BitBtnCancel_);
  auto* l = new QVBoxLayout(this);
  l->addLayout(haut);
  l->addLayout(boutons);
  l->setSizeConstraint(QLayout::SetFixedSize);
  move(300, 100);  // FormCreate
}

int TFicheModifDiametre::Ouvre(const std::function<void()>& apresModification) {
  CopieDiametres = circuit_.EnteteCI.DiametresPercage;
  const int r = exec();
  if (r == QDialog::Accepted) {
    circuit_.EnteteCI.DiametresPercage = CopieDiametres;
    if (apresModification) apresModification();
  }
  return r;
}

void TFicheModifDiametre::showEvent(QShowEvent* e) {
  if (!e->spontaneous()) FormShow();
  QDialog::showEvent(e);
}

void TFicheModifDiametre::FormShow() {
  for (int k = 1; k <= 7; ++k) {
    const int32_t j = CopieDiametres[k] - kPremieres[k];
    // A value of no item: no selection, and OK keeps the entry unless the user picks one.
    listes_[k]->setCurrentIndex(j >= 0 && j <= 10 ? j : -1);
  }
}

void TFicheModifDiametre::BitBtnOkClick() {
  for (int k = 1; k <= 7; ++k) {
    if (listes_[k]->currentIndex() >= 0) CopieDiametres[k] = listes_[k]->currentData().toInt();
  }
  accept();
}

}  // namespace korv4
