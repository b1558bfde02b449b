#include "LanceTypon.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "Commun.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"

namespace korv4::cli {

namespace {

// The folder of the running program, with its final '/'; empty when the system does not say.
std::string DossierProgramme() {
  char chemin[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", chemin, sizeof chemin - 1);
  if (n <= 0) return {};
  const std::string programme(chemin, static_cast<size_t>(n));
  const size_t barre = programme.rfind('/');
  return barre == std::string::npos ? std::string() : programme.substr(0, barre + 1);
}

}  // namespace

int LanceTypon(int argc, char** argv) {
  const std::string dossier = DossierProgramme();
  // Beside korv4-cli in the build folder; under libexec once installed.
  const std::string candidats[] = {dossier + "korv4-typon", dossier + KORV4_TYPON_INSTALLE};
  std::vector<char*> arguments(argv, argv + argc);
  arguments.push_back(nullptr);
  int numero = ENOENT;
  for (const std::string& c : candidats) {
    if (dossier.empty()) break;
    arguments[0] = const_cast<char*>(c.c_str());
    ::execv(c.c_str(), arguments.data());
    if (errno != ENOENT) numero = errno;  // found but not runnable: that reason is the one told
  }
  Erreur("typon : impossible de lancer le programme d'impression korv4-typon (" +
         (dossier.empty() ? std::string("dossier de korv4-cli inconnu") : RaisonSysteme(numero)) +
         ") ; l'installation de KORV4 est incomplète. Rien n'a été écrit.");
  return kEcritureImpossible;
}

}  // namespace korv4::cli
