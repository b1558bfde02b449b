#include "fenetres/dialogs/Editiontexte.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "fenetres/ui/CodePage.h"

namespace korv4 {

namespace {

// Refuses, as they are typed, the characters that have no byte in the code page.
class ValideurCodePage : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& texte, int&) const override {
    std::string octets;
    return VersWindows1252(texte, octets) ? Acceptable : Invalid;
  }
};

}  // namespace

TFenetreEditiontexte::TFenetreEditiontexte(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("FenetreEditiontexte"));
  setWindowTitle(QStringLiteral("Edition d'un texte"));
  Edittexte_ = new QLineEdit(this);
  Edittexte_->setObjectName(QStringLiteral("Edittexte"));
  Edittexte_->setMaxLength(200);
  Edittexte_->setFont(QFont(QStringLiteral("Arial")));
  Edittexte_->setValidator(new ValideurCodePage(Edittexte_));
  Edittexte_->setAccessibleName(QStringLiteral("Texte"));
  Edittexte_->setMinimumWidth(360);
  BitBtn1_ = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1_->setDefault(true);
  BitBtn2_ = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
  connect(BitBtn1_, &QPushButton::clicked, this, [this] { done(1); });
  connect(BitBtn2_, &QPushButton::clicked, this, [this] { done(2); });

  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(BitBtn1_);
  boutons->addWidget(BitBtn2_);
  auto* disposition = new QVBoxLayout(this);
  disposition->addWidget(Edittexte_);
  disposition->addLayout(boutons);
}

void TFenetreEditiontexte::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Edittexte_->setFocus();
}

}  // namespace korv4
