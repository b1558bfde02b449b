#pragma once

#include <QString>
#include <memory>
#include <string>

class QLockFile;

// Which editor has a circuit file open, so that a second editor opening it can say so: a lock
// file named after the file's full path, in a folder of locks (the recovery copies' folder). A
// lock left behind by an editor that is no longer running does not count and is taken over.

namespace korv4 {

class VerrouOuverture {
 public:
  explicit VerrouOuverture(QString dossier);
  ~VerrouOuverture();
  VerrouOuverture(const VerrouOuverture&) = delete;
  VerrouOuverture& operator=(const VerrouOuverture&) = delete;

  // Holds `chemin` (letting go of the file held before): false when a running editor holds
  // it, and nothing is held then. "" lets go.
  bool Retient(const QString& chemin);
  // The lock file of `chemin` in the folder.
  QString FichierVerrou(const QString& chemin) const;

 private:
  QString dossier_;
  QString retenu_;  // the lock file held, "" for none
  std::unique_ptr<QLockFile> verrou_;
};

// What tells a change of a file on the disk: its identity (device, inode), size and time of
// last change to the nanosecond; "" when it does not exist.
std::string EtatFichierDisque(const QString& chemin);

}  // namespace korv4
