#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QLockFile;

namespace korv4 {

struct Editeur;

// The recovery copies of the editor: while the circuit has unsaved changes, a copy of it is
// written now and then (at most once every `Delai` after a change) into the user's state
// folder, atomically and on a thread of its own; it goes away once the circuit is saved,
// opened, new or closed cleanly. At start-up, the copies left by editors that stopped without
// closing are offered back. Each editor locks its own copy, so that two editors running at
// once never take each other's. A copy that cannot be written (a folder that refuses it, a full
// disk) is said once in the status bar, marked in the caption while it lasts, and tried again
// after the same delay.
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
  // (then the others wait for another start), keep it for later, or throw it away. Copies that
  // cannot be read are listed in one message: the damaged ones are set aside under a name of
  // their own, the others (a copy the user may not read now) stay as they are. Locks of editors
  // no longer running are removed. Symbolic links are never followed. True when a circuit was
  // restored.
  bool Propose();

  void Delai(int millisecondes) { minuterie_.setInterval(millisecondes); }
  // Called when a copy that could not be written is said, or is written again: the window shows
  // the editor's states.
  std::function<void()> change;

 private:
  Editeur& ed_;
  QString dossier_;
  QString id_;
  std::unique_ptr<QLockFile> verrou_;
  QTimer minuterie_;
  QThreadPool ecriture_;
  uint64_t vu_ = 0;
  std::atomic<bool> copie_{false};  // this editor's copy is on the disk
  // The last write's failure ("" when it succeeded), and whether it was said.
  QMutex mutexEchec_;
  std::string echec_;
  bool echecDit_ = false;
  void Echec(const std::string& raison);  // on the editor's thread
  void Reussite();
};

}  // namespace korv4
