#include "LanceTypon.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commun.h"
#include "SousCommandes.h"
#include "partage/disque/FichiersDisque.h"

extern char** environ;

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

// Our own messages of what korv4-typon wrote on its error stream (those of the system's loader
// or of the C++ runtime are English, and said again in French).
std::string NosMessages(const std::string& texte) {
  std::string garde;
  size_t debut = 0;
  while (debut < texte.size()) {
    size_t fin = texte.find('\n', debut);
    fin = fin == std::string::npos ? texte.size() : fin + 1;
    if (texte.compare(debut, 10, "korv4-cli:") == 0) garde.append(texte, debut, fin - debut);
    debut = fin;
  }
  return garde;
}

}  // namespace

int LanceTypon(int argc, char** argv) {
  const std::string dossier = DossierProgramme();
  // Beside korv4-cli in the build folder; under libexec once installed.
  const std::string candidats[] = {dossier + "korv4-typon", dossier + KORV4_TYPON_INSTALLE};
  std::vector<char*> arguments(argv, argv + argc);
  arguments.push_back(nullptr);
  // The program runs as a child whose error stream comes through here: a program that cannot
  // load its libraries, or stops before its main (short of memory), is said in French.
  int tube[2];
  if (::pipe2(tube, O_CLOEXEC) != 0) {
    Erreur("typon : impossible de lancer le programme d'impression korv4-typon (" +
           RaisonSysteme(errno) + "). Rien n'a été écrit.");
    return kEcritureImpossible;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, tube[1], STDERR_FILENO);
  pid_t enfant = -1;
  int numero = ENOENT;
  for (const std::string& c : candidats) {
    if (dossier.empty()) break;
    arguments[0] = const_cast<char*>(c.c_str());
    const int r = ::posix_spawn(&enfant, c.c_str(), &actions, nullptr, arguments.data(), environ);
    if (r == 0) break;
    enfant = -1;
    if (r != ENOENT) numero = r;  // found but not runnable: that reason is the one told
  }
  posix_spawn_file_actions_destroy(&actions);
  ::close(tube[1]);
  if (enfant < 0) {
    ::close(tube[0]);
    Erreur("typon : impossible de lancer le programme d'impression korv4-typon (" +
           (dossier.empty() ? std::string("dossier de korv4-cli inconnu") : RaisonSysteme(numero)) +
           ") ; l'installation de KORV4 est incomplète. Rien n'a été écrit.");
    return kEcritureImpossible;
  }
  std::string erreurs;
  char tampon[4096];
  for (;;) {
    const ssize_t n = ::read(tube[0], tampon, sizeof tampon);
    if (n > 0) {
      if (erreurs.size() < (size_t{1} << 20)) erreurs.append(tampon, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(tube[0]);
  int statut = 0;
  while (::waitpid(enfant, &statut, 0) < 0 && errno == EINTR) {
  }
  const bool charge = WIFEXITED(statut) && WEXITSTATUS(statut) != 126 && WEXITSTATUS(statut) != 127;
  if (charge) {
    std::fwrite(erreurs.data(), 1, erreurs.size(), stderr);
    return WEXITSTATUS(statut);
  }
  const std::string nos = NosMessages(erreurs);
  std::fwrite(nos.data(), 1, nos.size(), stderr);
  std::string raison;
  if (WIFSIGNALED(statut)) {
    const int signal = WTERMSIG(statut);
    const char* nom = sigabbrev_np(signal);
    raison = "s'est arrêté sur le signal " + std::to_string(signal) +
             (nom != nullptr ? " (SIG" + std::string(nom) + ")" : std::string()) +
             " avant d'avoir fini : le plus souvent, mémoire insuffisante (limite de mémoire du "
             "processus ?)";
  } else {
    raison =
        "n'a pas pu démarrer : ses bibliothèques ne se chargent pas (mémoire insuffisante, limite "
        "de mémoire du processus ?, ou installation incomplète)";
  }
  Erreur("typon : le programme d'impression korv4-typon " + raison +
         ". Rien n'a été écrit ; un fichier existant n'est remplacé qu'une fois le nouveau "
         "entièrement écrit.");
  return kEcritureImpossible;
}

}  // namespace korv4::cli
