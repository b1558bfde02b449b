#include "fenetres/commun/GardeRecuperation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRunnable>
#include <QSaveFile>
#include <new>

#include "editeur/Editeur.h"
#include "model/FichierRecuperation.h"
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
  // memory, this copy is skipped (the previous one stays) and the next change tries again.
  std::shared_ptr<std::vector<uint8_t>> octets;
  try {
    octets = std::make_shared<std::vector<uint8_t>>(
        CopieDeRecuperation(ed_, QDateTime::currentSecsSinceEpoch()));
  } catch (const std::bad_alloc&) {
    vu_ = 0;
    return;
  }
  const QString nom = Fichier();
  ecriture_.start(QRunnable::create([this, octets, nom] {
    std::string erreur;
    try {
      if (EcritFichierDisque(nom, *octets, erreur)) copie_ = true;
    } catch (const std::bad_alloc&) {
      // The copy on the disk is the previous one, whole.
    }
  }));
  if (attendre) ecriture_.waitForDone();
}

void GardeRecuperation::Retire() {
  minuterie_.stop();
  ecriture_.waitForDone();
  QFile::remove(Fichier());
  copie_ = false;
}

bool GardeRecuperation::Propose() {
  if (ed_.dialogues == nullptr) return false;
  const QStringList copies =
      QDir(dossier_).entryList({QStringLiteral("*") + kExtension}, QDir::Files, QDir::Time);
  for (const QString& nom : copies) {
    const QString chemin = dossier_ + "/" + nom;
    if (chemin == Fichier()) continue;
    // The copy of an editor still running stays its own.
    QLockFile verrou(Verrou(chemin));
    if (!verrou.tryLock(0)) continue;
    std::vector<uint8_t> octets;
    std::string erreur;
    const std::string cheminOctets = QFile::encodeName(chemin).toStdString();
    Circuit lu;
    CopieRecuperation copie;
    if (!LitFichierDisque(chemin, octets, erreur) ||
        !LitRecuperation(lu, copie, octets, cheminOctets, erreur)) {
      // Refused as a damaged circuit is, and put aside so that it is not offered again.
      ed_.dialogues->Message(erreur);
      QFile::rename(chemin, chemin + ".endommagee");
      verrou.unlock();
      continue;
    }
    const std::string quand =
        QDateTime::fromSecsSinceEpoch(copie.Date).toString("dd/MM/yyyy à HH:mm").toStdString();
    const std::string circuit =
        copie.NomFichier.empty()
            ? std::string("sans nom")
            : "« " + QFile::decodeName(copie.NomFichier.c_str()).toStdString() + " »";
    const std::string texte =
        "Une copie de récupération du circuit " + circuit + ", écrite le " + quand +
        ", a été laissée par un éditeur qui s'est arrêté sans enregistrer. Désirez-vous la "
        "restaurer ?";
    const int choix =
        ed_.dialogues->Choix(texte, {"Restaurer", "Garder pour plus tard", "Supprimer"}, 1);
    if (choix == 2) {
      QFile::remove(chemin);
      verrou.unlock();
      continue;
    }
    if (choix != 0) {
      verrou.unlock();
      continue;
    }
    if (!RestaureCopie(ed_, octets, cheminOctets, erreur)) {
      ed_.dialogues->Message(erreur);
      verrou.unlock();
      continue;
    }
    // The restored circuit is this editor's now: its copy replaces the old one at once.
    vu_ = Marque(ed_);
    Ecrit(true);
    if (copie_) QFile::remove(chemin);
    verrou.unlock();
    return true;
  }
  return false;
}

}  // namespace korv4
