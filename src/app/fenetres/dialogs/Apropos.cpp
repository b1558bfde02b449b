#include "fenetres/dialogs/Apropos.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "fenetres/commun/Ressources.h"

namespace korv4 {

namespace {

QPixmap DessineIcone(int cote, qreal ratio = 1.0) {
  ChargeRessources();
  QPixmap p(static_cast<int>(cote * ratio), static_cast<int>(cote * ratio));
  p.fill(Qt::transparent);
  QSvgRenderer rendu(QStringLiteral(":/korv4.svg"));
  QPainter peintre(&p);
  rendu.render(&peintre);
  peintre.end();
  p.setDevicePixelRatio(ratio);
  return p;
}

QLabel* Libelle(const QString& texte, const char* nom, QWidget* parent) {
  auto* l = new QLabel(texte, parent);
  l->setObjectName(QLatin1String(nom));
  return l;
}

}  // namespace

QIcon IconeProgramme() {
  QIcon icone;
  for (int cote : {16, 24, 32, 48, 64, 128, 256}) icone.addPixmap(DessineIcone(cote));
  return icone;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("A propos de KORV4"));
  setModal(true);

  auto* cadre = new QFrame(this);
  cadre->setObjectName(QStringLiteral("Cadre"));
  cadre->setFrameShape(QFrame::StyledPanel);
  cadre->setFrameShadow(QFrame::Sunken);

  auto* icone = new QLabel(cadre);
  icone->setObjectName(QStringLiteral("IconeProgramme"));
  icone->setPixmap(DessineIcone(64, devicePixelRatioF()));
  icone->setFixedSize(64, 64);

  QLabel* nom = Libelle(QStringLiteral("KORV 4 pour Windows"), "NomProduit", cadre);
  QFont gras = nom->font();
  gras.setBold(true);
  gras.setPointSizeF(gras.pointSizeF() * 1.3);
  nom->setFont(gras);
  QLabel* version = Libelle(QStringLiteral(" Version " KORV4_VERSION " "), "Version", cadre);
  QLabel* commentaire =
      Libelle(QStringLiteral("Logiciel de dessin de circuit imprimé assisté par ordinateur"),
              "Commentaire", cadre);
  commentaire->setWordWrap(true);

  auto* titres = new QVBoxLayout;
  titres->addWidget(nom);
  titres->addWidget(version);
  titres->addStretch();
  auto* haut = new QHBoxLayout;
  haut->addWidget(icone, 0, Qt::AlignTop);
  haut->addSpacing(12);
  haut->addLayout(titres, 1);
  auto* dansCadre = new QVBoxLayout(cadre);
  dansCadre->addLayout(haut);
  dansCadre->addSpacing(12);
  dansCadre->addWidget(commentaire);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BoutonOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* bas = new QHBoxLayout;
  bas->addStretch();
  bas->addWidget(ok);
  bas->addStretch();
  auto* tout = new QVBoxLayout(this);
  tout->addWidget(cadre);
  tout->addLayout(bas);
  setWindowIcon(IconeProgramme());
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace korv4
