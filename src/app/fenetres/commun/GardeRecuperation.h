#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>

class QLockFile;

namespace korv4 {

struct Editeur;

// The recovery copies of the editor: while the circuit has unsaved changes, a copy of it is
// written now and then (at most once every `Delai` after a change) into the user's state
// folder, atomically and on a thread of its own; it goes away once the circuit is saved,
// opened, new or closed cleanly. At start-up, the copies left by editors that stopped without
// closing are offered back. Each editor locks its own copy, so that two editors running at
// once never take each other's.
class GardeRecuperation : public QObject {
  Q_OBJECT

 public:
  // `dossier`: where the copies live; empty: the state folder of the user
  // ($XDG_STATE_HOME/korv4/recuperation, ~/.local/state by default).
  explicit GardeRecuperation(Editeur& ed, const QString& dossier = QString(),
                             QObject* parent = nullptr);
  ~GardeRecuperation() override;

  static QString DossierParDefaut();
  QString Dossier() const { return dossier_; }
  // This editor's copy.
  QString Fichier() const;

  // After each of the user's actions: a change arms the next write; an unmodified circuit has
  // no copy.
  void Apres();
  // Writes the copy now (and waits until it is on the disk when `attendre`).
  void Ecrit(bool attendre = false);
  // Removes this editor's copy (a clean close).
  void Retire();
  // Offers back, one after the other, the copies of editors no longer running: restore one
  // (then the others wait for another start), keep it for later, or throw it away. True when
  // a circuit was restored.
  bool Propose();

  void Delai(int millisecondes) { minuterie_.setInterval(millisecondes); }

 private:
  Editeur& ed_;
  QString dossier_;
  QString id_;
  std::unique_ptr<QLockFile> verrou_;
  QTimer minuterie_;
  QThreadPool ecriture_;
  uint64_t vu_ = 0;
  std::atomic<bool> copie_{false};  // this editor's copy is on the disk
};

}  // namespace korv4
