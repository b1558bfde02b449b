#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

// Disk access for the circuit and component files, on the Qt side: the core only turns bytes
// into a circuit and back. Shared by korv4-cli and the editor.

namespace korv4 {

// No reader needs more than the first MiB of a file (a full circuit is 192 + 800000 bytes,
// a full old file 306150, a full component 28 + 800000): the bytes after it are ignored by
// every reader, so a huge file is never loaded whole.
constexpr int64_t kTailleLectureMax = 1 << 20;

// Reads the file (its first kTailleLectureMax bytes). On failure: false, and `erreur` says in
// French which file and why (UTF-8).
bool LitFichierDisque(const QString& chemin, std::vector<uint8_t>& octets, std::string& erreur);

// Writes the file through a temporary file that replaces it only once completely written: a
// failed write (no space, no permission, missing or read-only folder, file size limit) leaves
// the previous file as it was. On failure: false, and `erreur` says in French which file and
// why.
bool EcritFichierDisque(const QString& chemin, const std::vector<uint8_t>& octets,
                        std::string& erreur);

// The reason of a failed system call (errno), in French.
std::string RaisonSysteme(int numero);

// A write beyond the process's file size limit must fail with an error, not kill the program:
// call once at start-up.
void IgnoreSignalTailleFichier();

}  // namespace korv4
