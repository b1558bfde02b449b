#include "fenetres/dialogs/Editiontexte.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <functional>

#include "fenetres/commun/CodePage.h"

namespace korv4 {

namespace {

// Leaves out, as they are typed or pasted, the characters that have no byte in the code page,
// and keeps the others; `refuses` is told which were left out.
class ValideurCodePage : public QValidator {
 public:
  ValideurCodePage(QObject* parent, std::function<void(const QString&)> refuses)
      : QValidator(parent), refuses_(std::move(refuses)) {}
  State validate(QString& texte, int& position) const override {
    std::string octets;
    if (VersWindows1252(texte, octets)) return Acceptable;
    QString garde, refuse;
    int curseur = position;
    int i = 0;
    // By whole characters (a pair of UTF-16 units outside the basic plane is one).
    for (const uint c : texte.toUcs4()) {
      const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
      if (VersWindows1252(ch, octets)) {
        garde += ch;
      } else {
        if (!refuse.contains(ch)) refuse += ch;
        if (i < position) curseur -= static_cast<int>(ch.size());
      }
      i += static_cast<int>(ch.size());
    }
    texte = garde;
    position = std::max(0, std::min(curseur, static_cast<int>(garde.size())));
    refuses_(refuse);
    return Acceptable;
  }

 private:
  std::function<void(const QString&)> refuses_;
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
  Refus_ = new QLabel(this);
  Refus_->setObjectName(QStringLiteral("Refus"));
  Refus_->setWordWrap(true);
  Edittexte_->setValidator(new ValideurCodePage(Edittexte_, [this](const QString& refuses) {
    Refus_->setText((refuses.toUcs4().size() > 1
                         ? QStringLiteral("Caractères refusés : « %1 » n'existent pas dans le jeu "
                                          "de caractères des textes du circuit (Windows-1252).")
                         : QStringLiteral("Caractère refusé : « %1 » n'existe pas dans le jeu de "
                                          "caractères des textes du circuit (Windows-1252)."))
                        .arg(refuses));
  }));
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
  disposition->addWidget(Refus_);
  disposition->addLayout(boutons);
}

void TFenetreEditiontexte::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Refus_->clear();
  Edittexte_->setFocus();
}

}  // namespace korv4
