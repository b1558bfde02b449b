#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

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

// A file name the disk layer accepts: not empty, and holding no U+FFFD. Qt turns the bytes of a
// name that are not UTF-8 (an old Latin-1 name given on a command line or listed by a file
// dialog) into U+FFFD, and the name it would then use on the disk is another one: such a name
// is refused rather than read or written under a different name. False and `erreur` otherwise.
bool NomDisqueValide(const QString& chemin, std::string& erreur);

// Reads the file (its first kTailleLectureMax bytes). Only a regular file is read: a directory,
// a named pipe, a device or a socket is refused without being waited on. On failure: false,
// and `erreur` says which file and why.
bool LitFichierDisque(const QString& chemin, std::vector<uint8_t>& octets, std::string& erreur);

// The editor's and korv4-cli's open: reads the file and opens it with OuvreCircuit (read by the
// last letter of the name, join, repair). On failure the circuit is unchanged and `erreur` says
// why.
bool OuvreCircuitDisque(const QString& chemin, Circuit& c, std::string& erreur);

// Writes the file through a temporary file that replaces it only once completely written: a
// failed write (no space, no permission, missing or read-only folder, file size limit) leaves
// the previous file as it was. A name that is a directory, a named pipe, a device or a socket
// (through symbolic links too) is refused: it is never replaced by a regular file. On failure:
// false, and `erreur` says which file and why.
bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur);

// True when both names designate the same existing file: the same name, another path to it, a
// symbolic or a hard link (same device and inode).
bool MemeFichier(const QString& a, const QString& b);

// An output must never replace the file it is made from (a circuit replaced by its picture or
// its drill file): false and `erreur` when `sortie` is the file `entree`.
bool SortieDistincte(const QString& sortie, const QString& entree, std::string& erreur);

// The reason of a failed system call (errno), in French.
std::string RaisonSysteme(int numero);

// A write beyond the process's file size limit must fail with an error, not kill the program:
// call once at start-up.
void IgnoreSignalTailleFichier();

}  // namespace korv4
