#include "fenetres/commun/GardeRecuperation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRunnable>
#include <QSaveFile>
#include <algorithm>
#include <new>

#include "editeur/Editeur.h"
#include "model/FichierRecuperation.h"
#include "model/TexteAffichable.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4 {

namespace {

constexpr int kDelaiParDefaut = 30000;  // milliseconds
const QString kExtension = QStringLiteral(".recup");

QString Verrou(const QString& copie) {
  return copie.left(copie.size() - kExtension.size()) + ".lock";
}

// What the history has done so far: any change of it is a change of the circuit.
uint64_t Marque(const Editeur& ed) {
  return ed.historique.Enregistrements() * 1000003u + ed.historique.Position() * 2u +
         (ed.circuit.CircuitModifie ? 1u : 0u);
}

}  // namespace

QString GardeRecuperation::DossierParDefaut() {
  QString etat = qEnvironmentVariable("XDG_STATE_HOME");
  if (etat.isEmpty() || !QDir::isAbsolutePath(etat)) etat = QDir::homePath() + "/.local/state";
  return etat + "/korv4/recuperation";
}

GardeRecuperation::GardeRecuperation(Editeur& ed, const QString& dossier, QObject* parent)
    : QObject(parent), ed_(ed), dossier_(dossier.isEmpty() ? DossierParDefaut() : dossier) {
  id_ = QStringLiteral("%1-%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QDateTime::currentMSecsSinceEpoch());
  QDir().mkpath(dossier_);
  QFile::setPermissions(dossier_,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  verrou_ = std::make_unique<QLockFile>(Verrou(Fichier()));
  verrou_->setStaleLockTime(0);  // held as long as this editor runs
  verrou_->tryLock(0);
  ecriture_.setMaxThreadCount(1);
  minuterie_.setSingleShot(true);
  minuterie_.setInterval(kDelaiParDefaut);
  connect(&minuterie_, &QTimer::timeout, this, [this] { Ecrit(); });
  vu_ = Marque(ed_);
}

GardeRecuperation::~GardeRecuperation() { ecriture_.waitForDone(); }

QString GardeRecuperation::Fichier() const { return dossier_ + "/" + id_ + kExtension; }

void GardeRecuperation::Apres() {
  const uint64_t m = Marque(ed_);
  if (!ed_.circuit.CircuitModifie) {
    minuterie_.stop();
    vu_ = m;
    if (copie_ || ecriture_.activeThreadCount() > 0) Retire();
    // Nothing unsaved: no copy is missing.
    if (ed_.CopieEnEchec) {
      ed_.CopieEnEchec = false;
      echecDit_ = false;
      ++ed_.Version;
    }
    return;
  }
  if (m != vu_) {
    vu_ = m;
    if (!minuterie_.isActive()) minuterie_.start();
  }
}

void GardeRecuperation::Ecrit(bool attendre) {
  minuterie_.stop();
  if (!ed_.circuit.CircuitModifie) return;
  // The bytes are made here, between two events; the disk is written on the thread. Short of
  // memory, this copy is skipped (the previous one stays) and tried again later.
  std::shared_ptr<std::vector<uint8_t>> octets;
  try {
    octets = std::make_shared<std::vector<uint8_t>>(
        CopieDeRecuperation(ed_, QDateTime::currentSecsSinceEpoch()));
  } catch (const std::bad_alloc&) {
    Echec("mémoire insuffisante");
    return;
  }
  const QString nom = Fichier();
  ecriture_.start(QRunnable::create([this, octets, nom] {
    std::string erreur;
    bool ecrite = false;
    try {
      ecrite = EcritFichierDisque(nom, *octets, erreur);
    } catch (const std::bad_alloc&) {
      // The copy on the disk is the previous one, whole.
      erreur = "mémoire insuffisante";
    }
    if (ecrite) copie_ = true;
    // Said on the editor's thread.
    QMetaObject::invokeMethod(
        this, [this, ecrite, erreur] { ecrite ? Reussite() : Echec(erreur); },
        Qt::QueuedConnection);
  }));
  if (attendre) {
    ecriture_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
  }
}

void GardeRecuperation::Echec(const std::string& raison) {
  // Tried again after the delay, changes or not, while the circuit has unsaved changes.
  if (ed_.circuit.CircuitModifie && !minuterie_.isActive()) minuterie_.start();
  if (echecDit_) return;
  echecDit_ = true;
  ed_.CopieEnEchec = true;
  Panneau(ed_, 4,
          "La copie de récupération ne peut pas être écrite (" + raison +
              ") : les modifications non enregistrées seraient perdues si l'éditeur "
              "s'arrêtait. Nouvel essai dans " +
              std::to_string(std::max(1, minuterie_.interval() / 1000)) + " s.");
  ++ed_.Version;
  if (change) change();
}

void GardeRecuperation::Reussite() {
  if (!echecDit_) return;
  echecDit_ = false;
  ed_.CopieEnEchec = false;
  Panneau(ed_, 4, "La copie de récupération est écrite de nouveau.");
  ++ed_.Version;
  if (change) change();
}

void GardeRecuperation::Retire() {
  minuterie_.stop();
  ecriture_.waitForDone();
  QFile::remove(Fichier());
  copie_ = false;
}

namespace {

// The name of a copy as the user sees it: control and direction characters escaped, cut.
std::string NomMontre(const QString& chemin) {
  return TexteAffichableCourt(QFile::encodeName(chemin).toStdString(), 160);
}

// A damaged copy goes aside under a name no other file has: "X.recup.endommagee", else
// "X.recup.endommagee-2"... ("" when none could be taken).
QString MetDeCote(const QString& chemin) {
  for (int k = 1; k <= 100; ++k) {
    const QString nom = chemin + QStringLiteral(".endommagee") +
                        (k == 1 ? QString() : QStringLiteral("-%1").arg(k));
    if (QFileInfo::exists(nom) || QFileInfo(nom).isSymLink()) continue;
    if (QFile::rename(chemin, nom)) return nom;
    if (QFileInfo::exists(chemin) && !QFileInfo::exists(nom)) return QString();  // refused
  }
  return QString();
}

}  // namespace

bool GardeRecuperation::Propose() {
  if (ed_.dialogues == nullptr) return false;
  const QDir dossier(dossier_);
  // Locks of editors that stopped before their first copy, or of files they had open: a lock
  // that can be taken is nobody's, and goes.
  for (const QString& nom :
       dossier.entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::NoSymLinks)) {
    const QString chemin = dossier_ + "/" + nom;
    if (QFile::exists(chemin.left(chemin.size() - 5) + kExtension)) continue;
    QLockFile verrou(chemin);
    verrou.setStaleLockTime(0);
    if (verrou.tryLock(0)) verrou.unlock();
  }

  std::vector<std::string> illisibles;  // one line each, for the one message
  struct Valide {
    QString chemin;
    std::unique_ptr<QLockFile> verrou;
  };
  std::vector<Valide> valides;
  for (const QString& nom : dossier.entryList({QStringLiteral("*") + kExtension},
                                              QDir::Files | QDir::NoSymLinks, QDir::Time)) {
    const QString chemin = dossier_ + "/" + nom;
    if (chemin == Fichier() || QFileInfo(chemin).isSymLink()) continue;
    // The copy of an editor still running stays its own.
    auto verrou = std::make_unique<QLockFile>(Verrou(chemin));
    verrou->setStaleLockTime(0);
    if (!verrou->tryLock(0)) continue;
    std::vector<uint8_t> octets;
    std::string erreur;
    if (!LitFichierDisque(chemin, octets, erreur)) {
      // Not damaged: it cannot be read now (its permissions); it stays for a later start.
      illisibles.push_back(TexteAffichable(erreur) + " Elle est gardée telle quelle.");
      continue;
    }
    Circuit lu;
    CopieRecuperation copie;
    if (!LitRecuperation(lu, copie, octets, NomMontre(chemin), erreur)) {
      const QString cote = MetDeCote(chemin);
      illisibles.push_back(TexteAffichable(erreur) +
                           (cote.isEmpty()
                                ? std::string(" Elle n'a pas pu être mise de côté.")
                                : " Elle est mise de côté sous « " + NomMontre(cote) + " »."));
      continue;
    }
    valides.push_back({chemin, std::move(verrou)});
  }
  if (!illisibles.empty()) {
    constexpr size_t kLignesMax = 12;
    std::string texte = illisibles.size() == 1
                            ? std::string("Une copie de récupération n'a pas pu être lue :")
                            : std::to_string(illisibles.size()) +
                                  " copies de récupération n'ont pas pu être lues :";
    for (size_t k = 0; k < illisibles.size() && k < kLignesMax; ++k) {
      texte += "\n– " + illisibles[k];
    }
    if (illisibles.size() > kLignesMax) {
      texte += "\n… et " + std::to_string(illisibles.size() - kLignesMax) + " autres.";
    }
    ed_.dialogues->Message(texte);
  }

  for (Valide& v : valides) {
    const QString& chemin = v.chemin;
    std::vector<uint8_t> octets;
    std::string erreur;
    Circuit lu;
    CopieRecuperation copie;
    if (QFileInfo(chemin).isSymLink() || !LitFichierDisque(chemin, octets, erreur) ||
        !LitRecuperation(lu, copie, octets, NomMontre(chemin), erreur)) {
      continue;
    }
    const std::string quand =
        QDateTime::fromSecsSinceEpoch(copie.Date).toString("dd/MM/yyyy à HH:mm").toStdString();
    const std::string circuit = copie.NomFichier.empty()
                                    ? std::string("sans nom")
                                    : "« " + TexteAffichableCourt(copie.NomFichier, 160) + " »";
    const std::string texte =
        "Une copie de récupération du circuit " + circuit + ", écrite le " + quand +
        ", a été laissée par un éditeur qui s'est arrêté sans enregistrer. Désirez-vous la "
        "restaurer ?";
    const int choix =
        ed_.dialogues->Choix(texte, {"Restaurer", "Garder pour plus tard", "Supprimer"}, 1);
    if (choix == 2) {
      QFile::remove(chemin);
      continue;
    }
    if (choix != 0) continue;
    if (!RestaureCopie(ed_, octets, NomMontre(chemin), erreur)) {
      ed_.dialogues->Message(erreur);
      continue;
    }
    // The restored circuit is this editor's now: its copy replaces the old one at once.
    vu_ = Marque(ed_);
    Ecrit(true);
    if (copie_) QFile::remove(chemin);
    return true;
  }
  return false;
}

}  // namespace korv4
