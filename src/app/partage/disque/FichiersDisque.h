#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/FluxOctets.h"
#include "model/Circuit.h"

// Disk access for the circuit, component and manufacturing files, on the Qt side: the core only
// turns bytes into a circuit and back. Shared by korv4-cli and the editor, so that both get the
// same checks: a name that reaches the disk as it was given, only regular files read (never a
// wait on a named pipe or a device), only regular files replaced, and every write atomic.
// Every message is French (UTF-8) and names the file.

namespace korv4 {

// No reader needs more than the first MiB of a file (a full circuit is 192 + 800000 bytes,
// a full old file 306150, a full component 28 + 800000): the bytes after it are ignored by
// every reader, so a huge file is never loaded whole.
constexpr int64_t kTailleLectureMax = 1 << 20;

// A name given as bytes (a command-line argument) as Qt reads it. Qt turns each byte of a name
// that is not UTF-8 (an old Latin-1 name) into U+FFFD, and the name it would then use on the
// disk is another one: such a name is remembered, so that NomDisqueValide refuses it and every
// name made from it. A name that is valid UTF-8 and holds U+FFFD itself is an ordinary name.
QString NomDepuisOctets(const char* octets);

// True when the bytes are UTF-8 (no invalid, overlong or surrogate sequence).
bool EstUtf8(const QByteArray& octets);

// A file name the disk layer accepts: not empty, and not a name whose bytes were not UTF-8:
// one given as such (NomDepuisOctets), or one listed so by a file dialog (its folder holds a
// name that is not UTF-8 and reads as it, and none of exactly its bytes). Such a name is
// refused rather than read or written under a different name. False and `erreur` otherwise.
bool NomDisqueValide(const QString& chemin, std::string& erreur);

// Reads the file (its first kTailleLectureMax bytes). Only a regular file is read: a directory,
// a named pipe, a device or a socket is refused without being waited on. On failure: false,
// and `erreur` says which file and why.
bool LitFichierDisque(const QString& chemin, std::vector<uint8_t>& octets, std::string& erreur);

// The editor's and korv4-cli's open: reads the file and opens it with OuvreCircuit (read by the
// last letter of the name, join, repair). On failure the circuit is unchanged and `erreur` says
// why.
// `avertissement`, when given, says what the opening repaired beyond joining and cleaning.
bool OuvreCircuitDisque(const QString& chemin, Circuit& c, std::string& erreur,
                        std::string* avertissement = nullptr);

// Writes the file through a temporary file that replaces it only once completely written: a
// failed write (no space, no permission, missing or read-only folder, file size limit) leaves
// the previous file as it was. A name that is a directory, a named pipe, a device or a socket
// (through symbolic links too) is refused: it is never replaced by a regular file. On failure:
// false, and `erreur` says which file and why.
bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur);

// A file written as it is produced, with the checks and the safety of EcritFichierDisque: the
// bytes go to a temporary file that replaces the file only in Termine, once all are written; a
// failure, or a destruction before Termine, leaves the previous file as it was.
class FichierDisqueEnCours final : public FluxOctets {
 public:
  explicit FichierDisqueEnCours(const QString& chemin);
  ~FichierDisqueEnCours() override;
  FichierDisqueEnCours(const FichierDisqueEnCours&) = delete;
  FichierDisqueEnCours& operator=(const FichierDisqueEnCours&) = delete;

  // Opens the temporary file. On failure: false, and `erreur` says which file and why.
  bool Ouvre(std::string& erreur);
  // Appends bytes. False when they could not all be written: the file is then abandoned, and
  // Termine reports why.
  bool Ecrit(const uint8_t* octets, size_t taille) override;
  // Replaces the file with what was written. On failure (an earlier write included): false,
  // `erreur` says why, and the previous file is unchanged.
  bool Termine(std::string& erreur);
  const QString& Chemin() const;

 private:
  struct Etat;
  std::unique_ptr<Etat> etat_;
};

// True when both names designate the same existing file: the same name, another path to it, a
// symbolic or a hard link (same device and inode).
bool MemeFichier(const QString& a, const QString& b);

// An output must never replace the file it is made from (a circuit replaced by its picture or
// its drill file): false and `erreur` when `sortie` is the file `entree`.
bool SortieDistincte(const QString& sortie, const QString& entree, std::string& erreur);

// Why stdout did not take a text (errno after the write), in French, after "sur la sortie
// standard : ": "elle est fermée", "plus de place sur le disque"...
std::string RaisonSortieStandard(int numero);

// Called first in main, before anything opens a file. A standard stream that is closed gets
// /dev/null, so that no file the program opens takes its number (a message or a summary would
// land in it); a closed stdout is opened read-only, so that writing to it fails as closed. A
// reader of stdout that went away (a closed pipe) is an error to report, not a signal that
// kills.
void GardeFluxStandard();

// What the editor says when memory ran out while `chemin` was being made or written (a file is
// replaced only once completely written, so it is unchanged).
std::string MessageMemoireInsuffisante(const QString& chemin);

// The reason of a failed system call (errno), in French.
std::string RaisonSysteme(int numero);

// A write beyond the process's file size limit must fail with an error, not kill the program:
// call once at start-up.
void IgnoreSignalTailleFichier();

}  // namespace korv4
