#include "fenetres/export/TFicheFabrication.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>
#include <new>
#include <set>

#include "export/Apercu.h"
#include "export/Zip.h"
#include "fenetres/commun/ServiceDialogues.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4 {

namespace {

// The start of the layer files' names: the circuit's file name without its folder and
// extension, "carte" for a circuit without a name.
std::string Base(const Circuit& c) {
  const QString nom = QFileInfo(QFile::decodeName(c.NomFichier.c_str())).completeBaseName();
  return nom.isEmpty() ? std::string("carte") : nom.toStdString();
}

// A flux that only counts the bytes of a file, for the list.
class Compteur final : public FluxOctets {
 public:
  bool Ecrit(const uint8_t*, size_t taille) override {
    taille_ += taille;
    return true;
  }
  size_t taille_ = 0;
};

QSettings Reglages() { return QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4")); }
const QString kCleNonMetallises = QStringLiteral("Fabrication/NonMetallises");

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
  Contour_->addItems(
      {QStringLiteral("le rectangle tracé sur le plan de perçage, sinon l'étendue plus la marge"),
       QStringLiteral("l'étendue des éléments plus une marge"),
       QStringLiteral("la surface de travail (Format > Taille)")});
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
  // A box per drill diameter the circuit's holes use: checked, its holes are not plated.
  std::set<int32_t> diametres;
  for (int32_t i = 1; i <= circuit_.NbElements; ++i) {
    const ElementCI& e = circuit_.Elements[i];
    if (EstPastillePercee(e.Code) && e.Attribut >= 1 && e.Attribut <= 13)
      diametres.insert(circuit_.EnteteCI.DiametresPercage[e.Attribut]);
  }
  QList<int> retenus;
  for (const QVariant& v : Reglages().value(kCleNonMetallises).toList()) retenus << v.toInt();
  auto* ligneTrous = new QHBoxLayout;
  for (const int32_t d : diametres) {
    auto* boite = new QCheckBox(
        QLocale(QLocale::French).toString(d / 10.0, 'f', 1) + QStringLiteral(" mm"), this);
    boite->setObjectName(QStringLiteral("NonMetallise%1").arg(d));
    boite->setAccessibleName(QStringLiteral("Trous de %1 mm non métallisés")
                                 .arg(QLocale(QLocale::French).toString(d / 10.0, 'f', 1)));
    boite->setChecked(retenus.contains(d));
    NonMetallises_.push_back({boite, d});
    ligneTrous->addWidget(boite);
    connect(boite, &QCheckBox::toggled, this, [this] {
      QList<QVariant> liste;
      for (const auto& [b, diametre] : NonMetallises_)
        if (b->isChecked()) liste << diametre;
      // Diameters this circuit does not use keep their remembered choice.
      for (const QVariant& v : Reglages().value(kCleNonMetallises).toList()) {
        bool utilise = false;
        for (const auto& [b, diametre] : NonMetallises_) utilise = utilise || diametre == v.toInt();
        if (!utilise) liste << v;
      }
      Reglages().setValue(kCleNonMetallises, liste);
      Actualise();
    });
  }
  if (diametres.empty()) ligneTrous->addWidget(new QLabel(QStringLiteral("aucun trou"), this));
  ligneTrous->addStretch();
  formulaire->addRow(QStringLiteral("Trous non métallisés (les trous sans cuivre le sont "
                                    "toujours) :"),
                     ligneTrous);

  Fichiers_ = new QTreeWidget(this);
  Fichiers_->setObjectName(QStringLiteral("Fichiers"));
  Fichiers_->setAccessibleName(QStringLiteral("Fichiers qui seront écrits"));
  Fichiers_->setHeaderLabels(
      {QStringLiteral("Fichier"), QStringLiteral("Couche"), QStringLiteral("Taille")});
  Fichiers_->setRootIsDecorated(false);
  Fichiers_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Fichiers_->setMinimumSize(760, 200);
  CouleurMasque_ = new QComboBox(this);
  CouleurMasque_->setObjectName(QStringLiteral("CouleurMasque"));
  CouleurMasque_->addItems({QStringLiteral("vert"), QStringLiteral("bleu"), QStringLiteral("rouge"),
                            QStringLiteral("noir"), QStringLiteral("blanc")});
  CouleurMasque_->setAccessibleName(QStringLiteral("Couleur du vernis de l'aperçu"));
  formulaire->addRow(QStringLiteral("&Vernis de l'aperçu :"), CouleurMasque_);
  Dessus_ = new QLabel(this);
  Dessus_->setObjectName(QStringLiteral("ApercuDessus"));
  Dessus_->setAccessibleName(
      QStringLiteral("La carte vue de dessus, telle que le fabricant la "
                     "rendra"));
  Dessous_ = new QLabel(this);
  Dessous_->setObjectName(QStringLiteral("ApercuDessous"));
  Dessous_->setAccessibleName(
      QStringLiteral("La carte vue de dessous (en miroir), telle que le "
                     "fabricant la rendra"));
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
  auto* apercus = new QHBoxLayout;
  for (const auto& [image, titre] :
       {std::pair{Dessus_, QStringLiteral("Dessus")},
        std::pair{Dessous_, QStringLiteral("Dessous, vu de dessous (en miroir)")}}) {
    auto* pile = new QVBoxLayout;
    pile->addWidget(new QLabel(titre, this));
    pile->addWidget(image);
    pile->addStretch();
    apercus->addLayout(pile);
  }
  colonne->addLayout(apercus);
  colonne->addWidget(boutons);

  connect(MargeMasque_, &QDoubleSpinBox::valueChanged, this, [this] { Actualise(); });
  connect(MargeContour_, &QDoubleSpinBox::valueChanged, this, [this] { Actualise(); });
  connect(Contour_, &QComboBox::currentIndexChanged, this, [this] { Actualise(); });
  connect(Pastilles_, &QComboBox::currentIndexChanged, this, [this] { Actualise(); });
  connect(CouleurMasque_, &QComboBox::currentIndexChanged, this, [this] { Actualise(); });
}

OptionsFabrication TFicheFabrication::Options() const {
  OptionsFabrication o;
  o.Base = Base(circuit_);
  o.MargeMasqueMm = MargeMasque_->value();
  o.Contour = Contour_->currentIndex() == 1   ? ContourFabrication::Etendue
              : Contour_->currentIndex() == 2 ? ContourFabrication::Surface
                                              : ContourFabrication::Carte;
  o.MargeContourMm = MargeContour_->value();
  o.Pastilles =
      Pastilles_->currentIndex() == 1 ? StylePastilles::Circulaires : StylePastilles::Octogonales;
  for (const auto& [boite, diametre] : NonMetallises_)
    if (boite->isChecked()) o.DiametresNonMetallises.push_back(diametre);
  o.Date = date_;
  return o;
}

void TFicheFabrication::Actualise() {
  MargeContour_->setEnabled(Contour_->currentIndex() != 2);
  {
    // ISO 8601 with the offset from UTC written out ("+01:00").
    const QDateTime maintenant = QDateTime::currentDateTime();
    const int decalage = maintenant.offsetFromUtc() / 60, absolu = std::abs(decalage);
    date_ = (maintenant.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
             QStringLiteral("%1%2:%3")
                 .arg(decalage < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                 .arg(absolu / 60, 2, 10, QLatin1Char('0'))
                 .arg(absolu % 60, 2, 10, QLatin1Char('0')))
                .toStdString();
  }
  Fichiers_->clear();
  Dessus_->clear();
  Dessous_->clear();
  size_t total = 0;
  try {
    plan_ = PrepareJeu(circuit_, Options());
    // Each file made once to count its bytes: the list never holds the set.
    for (size_t k = 0; k < plan_.Fichiers().size(); ++k) {
      Compteur compteur;
      plan_.EcritFichier(k, compteur);
      auto* ligne = new QTreeWidgetItem(Fichiers_);
      ligne->setText(0, QString::fromStdString(plan_.Fichiers()[k].Nom));
      ligne->setText(1, QString::fromStdString(plan_.Fichiers()[k].Couche));
      ligne->setText(2, Taille(compteur.taille_));
      total += compteur.taille_;
    }
    // The two sides as the board house will make them, 380 pixels across each.
    OptionsApercu oa;
    oa.Largeur = 380;
    oa.Masque = static_cast<CouleurMasque>(CouleurMasque_->currentIndex());
    for (QLabel* l : {Dessus_, Dessous_}) {
      ImageApercu image;
      std::string erreur;
      if (!DessineApercu(circuit_, plan_, oa, l == Dessous_, image, erreur)) continue;
      const QImage q(reinterpret_cast<const uchar*>(image.Pixels.data()), image.Largeur,
                     image.Hauteur, image.Largeur * 4, QImage::Format_RGB32);
      l->setPixmap(QPixmap::fromImage(q.copy()));
    }
  } catch (const std::bad_alloc&) {
    // A huge board may not fit. Nothing to write then.
    Fichiers_->clear();
    plan_ = PlanFabrication{};
    Resume_->setText(
        QStringLiteral("Mémoire insuffisante pour préparer les fichiers de fabrication de ce "
                       "circuit."));
    Enregistre_->setEnabled(false);
    return;
  }
  if (!plan_.Erreur().empty()) {
    Resume_->setText(QString::fromStdString(plan_.Erreur()));
  } else if (plan_.Fichiers().empty()) {
    Resume_->setText(QStringLiteral("Le circuit est vide : aucun fichier à écrire."));
  } else {
    QString texte =
        QStringLiteral("%1 fichiers, %2. Carte de %3 x %4 mm, contour : %5.")
            .arg(plan_.Fichiers().size())
            .arg(Taille(total))
            .arg(QLocale(QLocale::French).toString(plan_.LargeurMm(), 'f', 2))
            .arg(QLocale(QLocale::French).toString(plan_.HauteurMm(), 'f', 2))
            .arg(Contour_->currentIndex() == 2
                     ? QStringLiteral("la surface de travail (réglez-la à la taille de la carte "
                                      "par Format > Taille)")
                     : QString::fromStdString(plan_.DescriptionContour()));
    // What the board house would make wrong: said here, the set is written all the same.
    for (const std::string& a : plan_.Avertissements())
      texte += QStringLiteral("\nAttention : ") + QString::fromStdString(a);
    Resume_->setText(texte);
  }
  Enregistre_->setEnabled(!plan_.Fichiers().empty());
}

QImage TFicheFabrication::ApercuDessus() const { return Dessus_->pixmap().toImage(); }
QImage TFicheFabrication::ApercuDessous() const { return Dessous_->pixmap().toImage(); }

int TFicheFabrication::Ouvre() {
  Actualise();
  return exec() == QDialog::Accepted ? 1 : 2;
}

bool TFicheFabrication::EcritArchive(const QString& nom) {
  try {
    return EcritArchiveEnMemoire(nom);
  } catch (const std::bad_alloc&) {
    service_.Message(this, QString::fromStdString(MessageMemoireInsuffisante(nom)));
    return false;
  }
}

bool TFicheFabrication::EcritArchiveEnMemoire(const QString& nom) {
  if (plan_.Fichiers().empty()) return false;
  const QDateTime t = QDateTime::currentDateTime();
  uint16_t date = 0, heure = 0;
  DateHeureDos(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
               t.time().minute(), t.time().second(), date, heure);
  std::string erreur;
  if (!SortieDistincte(nom, QFile::decodeName(circuit_.NomFichier.c_str()), erreur)) {
    service_.Message(this, QString::fromStdString(erreur));
    return false;
  }
  // Written as it is made; the archive replaces the file only once complete.
  FichierDisqueEnCours fichier(nom);
  if (fichier.Ouvre(erreur)) {
    ZipEnFlux zip(fichier, date, heure);
    bool ok = true;
    for (size_t k = 0; k < plan_.Fichiers().size() && ok; ++k)
      ok = zip.Ajoute(plan_.Fichiers()[k].Nom,
                      [this, k](FluxOctets& f) { return plan_.EcritFichier(k, f); });
    ok = ok && zip.Termine();
    if (fichier.Termine(erreur)) return true;
    if (!ok && zip.Erreur() != "l'écriture de l'archive a échoué")
      erreur = "L'archive « " + nom.toStdString() + " » n'est pas écrite : " + zip.Erreur() + ".";
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
