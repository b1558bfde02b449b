// korv4-cli image against gerbv, as whole processes, on the same board: a generated circuit of
// 100000 records on a surface of 11820 x 7880 units (1182 x 789 pixels at 100 %). korv4-cli
// draws face 1 at 100 %; gerbv draws the face-1 Gerber file that korv4-cli writes for the same
// board to a PNG of the same size. The two programs run in turn, run after run, so that the
// load of the machine weighs on both alike; the medians and their ratio are printed.
//
//   korv4_bench_image_gerbv [RUNS]     (default 21)
//
// Not a Google Benchmark: it times other processes, start-up included.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/Fichiers.h"
#include "render/CircuitExemple.h"

extern char** environ;

namespace korv4 {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kSurfaceX = 11820, kSurfaceY = 7880;

// Runs the program with its output thrown away; returns the wall time in milliseconds, or a
// negative value when it could not run or did not exit with 0.
double Chrono(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto debut = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int err = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) return -1;
  int statut = 0;
  if (waitpid(pid, &statut, 0) != pid) return -1;
  const auto fin = std::chrono::steady_clock::now();
  if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0) return -1;
  return std::chrono::duration<double, std::milli>(fin - debut).count();
}

double Mediane(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int Lance(int tours) {
  char modele[] = "/tmp/korv4-bench-image-XXXXXX";
  if (mkdtemp(modele) == nullptr) return 1;
  const fs::path dossier = modele;
  const fs::path cix = dossier / "carte.CIX";
  {
    static Circuit c;
    CircuitExemple(c, kMaxElements, kSurfaceX, kSurfaceY, 2024);
    RemplitEnteteCI(c, "Banc", "", "", kSurfaceX, kSurfaceY);
    const std::vector<uint8_t> octets = EcritCircuit(c);
    std::ofstream(cix, std::ios::binary)
        .write(reinterpret_cast<const char*>(octets.data()),
               static_cast<std::streamsize>(octets.size()));
  }
  const std::string cli = KORV4_CLI;
  const fs::path base = dossier / "carte", gerber = dossier / "carte-FC1.GBR";
  const fs::path pngKorv4 = dossier / "korv4.png", pngGerbv = dossier / "gerbv.png";
  if (Chrono({cli, "gerber", cix.string(), base.string()}) < 0 || !fs::exists(gerber)) {
    std::fprintf(stderr, "korv4-cli gerber a échoué\n");
    return 1;
  }
  const std::vector<std::string> korv4 = {cli, "image", cix.string(), pngKorv4.string()};
  const std::vector<std::string> gerbv = {"gerbv",
                                          "--export=png",
                                          "--window=1182x789",
                                          "--dpi=100",
                                          "--origin=0x0",
                                          "--border=0",
                                          "--output=" + pngGerbv.string(),
                                          gerber.string()};
  std::vector<double> tk, tg;
  for (int i = 0; i < tours + 1; ++i) {
    const double a = Chrono(korv4), b = Chrono(gerbv);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "%s a échoué\n", a < 0 ? "korv4-cli image" : "gerbv");
      return 1;
    }
    if (i == 0) continue;  // the first run of each fills the page cache
    tk.push_back(a);
    tg.push_back(b);
  }
  const double mk = Mediane(tk), mg = Mediane(tg);
  std::printf("carte : %d enregistrements, %s\n", kMaxElements, cix.filename().c_str());
  std::printf("korv4-cli image (1182 x 789)  : médiane %7.2f ms  min %7.2f ms  PNG %ju octets\n",
              mk, *std::min_element(tk.begin(), tk.end()),
              static_cast<uintmax_t>(fs::file_size(pngKorv4)));
  std::printf("gerbv face 1 (1182 x 789)     : médiane %7.2f ms  min %7.2f ms  PNG %ju octets\n",
              mg, *std::min_element(tg.begin(), tg.end()),
              static_cast<uintmax_t>(fs::file_size(pngGerbv)));
  std::printf("rapport gerbv / korv4-cli     : %.2f (%d tours alternés)\n", mg / mk, tours);
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
  return korv4::Lance(tours);
}
