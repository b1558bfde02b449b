#include "fenetres/dialogs/FenetreAide.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "fenetres/commun/Ressources.h"
#include "fenetres/dialogs/Apropos.h"

namespace korv4 {

QUrl FenetreAide::PagePrincipale() { return QUrl(QStringLiteral("qrc:/aide/index.html")); }

FenetreAide::FenetreAide(QWidget* parent) : QDialog(parent) {
  ChargeRessources();
  setObjectName(QStringLiteral("FenetreAide"));
  setWindowTitle(QStringLiteral("Aide de KORV4"));
  setWindowIcon(IconeProgramme());
  setModal(false);
  setSizeGripEnabled(true);
  // A help window of its own, with the usual window buttons, that may stay open beside the
  // main window.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

  auto* sommaire = new QPushButton(QStringLiteral("Sommaire"), this);
  sommaire->setObjectName(QStringLiteral("BoutonSommaire"));
  precedent_ = new QPushButton(QStringLiteral("< Précédent"), this);
  precedent_->setObjectName(QStringLiteral("BoutonPrecedent"));
  suivant_ = new QPushButton(QStringLiteral("Suivant >"), this);
  suivant_->setObjectName(QStringLiteral("BoutonSuivant"));
  auto* fermer = new QPushButton(QStringLiteral("Fermer"), this);
  fermer->setObjectName(QStringLiteral("BoutonFermer"));
  for (QPushButton* b : {sommaire, precedent_, suivant_, fermer}) b->setAutoDefault(false);

  navigateur_ = new QTextBrowser(this);
  navigateur_->setObjectName(QStringLiteral("Navigateur"));
  // Pages of the help open here; a link to the outside goes to the system's browser.
  navigateur_->setOpenLinks(true);
  navigateur_->setOpenExternalLinks(true);

  connect(sommaire, &QPushButton::clicked, this,
          [this] { navigateur_->setSource(PagePrincipale()); });
  connect(precedent_, &QPushButton::clicked, navigateur_, &QTextBrowser::backward);
  connect(suivant_, &QPushButton::clicked, navigateur_, &QTextBrowser::forward);
  connect(navigateur_, &QTextBrowser::backwardAvailable, precedent_, &QWidget::setEnabled);
  connect(navigateur_, &QTextBrowser::forwardAvailable, suivant_, &QWidget::setEnabled);
  connect(fermer, &QPushButton::clicked, this, &QWidget::close);
  precedent_->setEnabled(false);
  suivant_->setEnabled(false);

  auto* barre = new QHBoxLayout;
  barre->addWidget(sommaire);
  barre->addWidget(precedent_);
  barre->addWidget(suivant_);
  barre->addStretch();
  barre->addWidget(fermer);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(barre);
  tout->addWidget(navigateur_, 1);
  resize(720, 640);
}

void FenetreAide::Ouvre() {
  navigateur_->setSource(PagePrincipale());
  show();
  raise();
  activateWindow();
}

}  // namespace korv4
