// korv4-cli image against gerbv, as whole processes, on the same boards: generated circuits of
// 100000 records, the benchmark's board on a surface of 11820 x 7880 units (1182 x 789 pixels at
// 100 %) and a second one on 19680 x 15740 units (1968 x 1575 pixels). korv4-cli draws face 1 at
// 100 %; gerbv draws the face-1 Gerber file that korv4-cli writes for the same board to a PNG of
// the same size. The two programs run in turn, run after run, so that the load of the machine
// weighs on both alike; the medians of the wall and processor times and their ratios are printed.
//
// Then the budgets of korv4-cli image on the benchmark's board, which do not depend on the load:
// the shared libraries it loads (LD_DEBUG), its minor page faults (getrusage of the child) and
// its large blocks of memory (a counter preloaded into it, bench/comptage): the store and the
// picture are each allocated once.
//
//   korv4_bench_image_gerbv [RUNS]     (default 21)
//
// KORV4_BENCH_CLI=PATH measures another korv4-cli (an older build, to compare).
//
// Not a Google Benchmark: it times other processes, start-up included.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "model/Fichiers.h"
#include "render/CircuitExemple.h"

extern char** environ;

namespace korv4 {
namespace {

namespace fs = std::filesystem;

constexpr int kBudgetBibliotheques = 20;
constexpr long kBudgetDefauts = 1500;

struct Mesure {
  double ms = -1;    // wall time; negative when the program could not run or failed
  double cpu = 0;    // user + system time, ms
  long defauts = 0;  // minor page faults
};

// Runs the program with its output thrown away and `env` added to the environment.
Mesure Lance(const std::vector<std::string>& arguments, const std::vector<std::string>& env = {}) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Mesure m;
  const auto debut = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int err = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) return m;
  int statut = 0;
  struct rusage r {};
  if (wait4(pid, &statut, 0, &r) != pid) return m;
  const auto fin = std::chrono::steady_clock::now();
  if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0) return m;
  m.ms = std::chrono::duration<double, std::milli>(fin - debut).count();
  m.cpu = (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
          (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
  m.defauts = r.ru_minflt;
  return m;
}

template <typename T>
T Mediane(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

struct Carte {
  const char* nom;
  int32_t surfaceX, surfaceY;
  uint32_t graine;
};

struct Resultat {
  fs::path cix;
  std::vector<Mesure> korv4, gerbv;
};

std::string Cli() {
  const char* autre = std::getenv("KORV4_BENCH_CLI");
  return autre != nullptr && *autre != '\0' ? autre : KORV4_CLI;
}

bool Compare(const fs::path& dossier, const Carte& carte, int tours, Resultat& res) {
  const std::string cli = Cli();
  res.cix = dossier / (std::string(carte.nom) + ".CIX");
  {
    static Circuit c;
    CircuitExemple(c, kMaxElements, carte.surfaceX, carte.surfaceY, carte.graine);
    RemplitEnteteCI(c, "Banc", "", "", carte.surfaceX, carte.surfaceY);
    const std::vector<uint8_t> octets = EcritCircuit(c);
    std::ofstream(res.cix, std::ios::binary)
        .write(reinterpret_cast<const char*>(octets.data()),
               static_cast<std::streamsize>(octets.size()));
  }
  const fs::path base = dossier / carte.nom;
  const fs::path gerber = dossier / (std::string(carte.nom) + "-FC1.GBR");
  const fs::path pngKorv4 = dossier / (std::string(carte.nom) + "-korv4.png");
  const fs::path pngGerbv = dossier / (std::string(carte.nom) + "-gerbv.png");
  if (Lance({cli, "gerber", res.cix.string(), base.string()}).ms < 0 || !fs::exists(gerber)) {
    std::fprintf(stderr, "korv4-cli gerber a échoué\n");
    return false;
  }
  const int largeur = carte.surfaceX / 10, hauteur = carte.surfaceY / 10 + 1;
  const std::string taille = std::to_string(largeur) + "x" + std::to_string(hauteur);
  const std::vector<std::string> korv4 = {cli, "image", res.cix.string(), pngKorv4.string()};
  const std::vector<std::string> gerbv = {"gerbv",
                                          "--export=png",
                                          "--window=" + taille,
                                          "--dpi=100",
                                          "--origin=0x0",
                                          "--border=0",
                                          "--output=" + pngGerbv.string(),
                                          gerber.string()};
  for (int i = 0; i < tours + 1; ++i) {
    const Mesure a = Lance(korv4), b = Lance(gerbv);
    if (a.ms < 0 || b.ms < 0) {
      std::fprintf(stderr, "%s a échoué\n", a.ms < 0 ? "korv4-cli image" : "gerbv");
      return false;
    }
    if (i == 0) continue;  // the first run of each fills the page cache
    res.korv4.push_back(a);
    res.gerbv.push_back(b);
  }
  auto ms = [](const std::vector<Mesure>& v) {
    std::vector<double> t;
    for (const Mesure& m : v) t.push_back(m.ms);
    return t;
  };
  auto cpu = [](const std::vector<Mesure>& v) {
    std::vector<double> t;
    for (const Mesure& m : v) t.push_back(m.cpu);
    return t;
  };
  const double mk = Mediane(ms(res.korv4)), mg = Mediane(ms(res.gerbv));
  const double ck = Mediane(cpu(res.korv4)), cg = Mediane(cpu(res.gerbv));
  std::printf("\n%s : %d enregistrements, %s (%d x %d pixels), %d tours alternés\n", carte.nom,
              kMaxElements, res.cix.filename().c_str(), largeur, hauteur, tours);
  std::printf(
      "  korv4-cli image : médiane %7.2f ms (min %7.2f)  processeur %7.2f ms  PNG %ju "
      "octets\n",
      mk, Min(ms(res.korv4)), ck, static_cast<uintmax_t>(fs::file_size(pngKorv4)));
  std::printf(
      "  gerbv face 1    : médiane %7.2f ms (min %7.2f)  processeur %7.2f ms  PNG %ju "
      "octets\n",
      mg, Min(ms(res.gerbv)), cg, static_cast<uintmax_t>(fs::file_size(pngGerbv)));
  std::printf("  rapport gerbv / korv4-cli : %.2f (temps écoulé), %.2f (processeur)  objectif 5\n",
              mg / mk, cg / ck);
  return true;
}

// The budgets of korv4-cli image on the board `cix`.
void Budgets(const fs::path& dossier, const Resultat& res) {
  const std::string cli = Cli();
  const std::string png = (dossier / "budget.png").string();
  const std::vector<std::string> image = {cli, "image", res.cix.string(), png};
  // Libraries: LD_DEBUG writes one "calling init" line for every object the loader starts.
  const fs::path traces = dossier / "ld";
  Lance(image, {"LD_DEBUG=libs", "LD_DEBUG_OUTPUT=" + traces.string()});
  int bibliotheques = 0;
  for (const auto& f : fs::directory_iterator(dossier)) {
    if (f.path().filename().string().rfind("ld.", 0) != 0) continue;
    std::ifstream in(f.path());
    for (std::string l; std::getline(in, l);)
      if (l.find("calling init:") != std::string::npos) ++bibliotheques;
  }
  std::vector<long> defauts;
  for (const Mesure& m : res.korv4) defauts.push_back(m.defauts);
  const long d = Mediane(defauts);
  // Large blocks: the counter preloaded into korv4-cli.
  const fs::path blocs = dossier / "blocs.txt";
  Lance(image,
        {std::string("LD_PRELOAD=") + KORV4_GRANDS_BLOCS, "KORV4_GRANDS_BLOCS=" + blocs.string()});
  std::map<size_t, int> tailles;
  std::ifstream in(blocs);
  char genre;
  size_t taille;
  while (in >> genre >> taille) ++tailles[taille];
  const size_t store = (kMaxElements + 1) * sizeof(ElementCI);
  std::printf("\nbudgets de korv4-cli image (%s)\n", res.cix.filename().c_str());
  std::printf("  bibliothèques partagées chargées : %3d  (au plus %d) %s\n", bibliotheques,
              kBudgetBibliotheques, bibliotheques <= kBudgetBibliotheques ? "tenu" : "DÉPASSÉ");
  std::printf("  défauts de page mineurs (médiane) : %ld  (au plus %ld) %s\n", d, kBudgetDefauts,
              d <= kBudgetDefauts ? "tenu" : "DÉPASSÉ");
  std::printf("  grands blocs (>= 256 Kio), taille : nombre\n");
  for (const auto& [t, n] : tailles)
    std::printf("    %9zu octets : %d%s\n", t, n,
                t == store ? "  (éléments et copie d'annulation du circuit, un bloc chacun)" : "");
}

int Principal(int tours) {
  char modele[] = "/tmp/korv4-bench-image-XXXXXX";
  if (mkdtemp(modele) == nullptr) return 1;
  const fs::path dossier = modele;
  const Carte cartes[] = {{"carte", 11820, 7880, 2024}, {"grande", 19680, 15740, 7}};
  Resultat reference;
  for (const Carte& carte : cartes) {
    Resultat r;
    if (!Compare(dossier, carte, tours, r)) return 1;
    if (&carte == &cartes[0]) reference = r;
  }
  Budgets(dossier, reference);
  if (std::getenv("KORV4_BENCH_GARDE") == nullptr)
    fs::remove_all(dossier);
  else
    std::printf("fichiers gardés dans %s\n", dossier.c_str());
  return 0;
}

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  const int tours = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  return korv4::Principal(tours);
}
