#include "render/Equipe.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <system_error>

namespace korv4 {

namespace {

// The processors of the machine, counted once (the count reads a file of the system).
unsigned Processeurs() {
  static const unsigned n = std::thread::hardware_concurrency();
  return n;
}

// The last reading of the load: its answer, when the next one is due (steady clock, in
// nanoseconds), how many readings were made.
std::atomic<bool> libreLu{true};
std::atomic<int64_t> prochaineLecture{std::numeric_limits<int64_t>::min()};
std::atomic<uint64_t> lectures{0};

// Fewer threads ready to run on the whole machine than processors.
bool LitCharge(unsigned processeurs) {
#ifdef __linux__
  // The fourth field of /proc/loadavg: the threads ready to run now, then all of them.
  std::FILE* f = std::fopen("/proc/loadavg", "r");
  if (f == nullptr) return true;
  char texte[128] = {};
  const size_t n = std::fread(texte, 1, sizeof texte - 1, f);
  std::fclose(f);
  texte[n] = '\0';
  double charge[3];
  unsigned prets = 0;
  if (std::sscanf(texte, "%lf %lf %lf %u/", &charge[0], &charge[1], &charge[2], &prets) != 4)
    return true;
  return prets < processeurs;
#else
  (void)processeurs;
  return true;
#endif
}

}  // namespace

Equipe::~Equipe() {
  if (!aide_.joinable()) return;
  {
    std::lock_guard<std::mutex> l(verrou_);
    arret_ = true;
  }
  reveil_.notify_one();
  aide_.join();
}

bool Equipe::PrendUnePartie(uint32_t tache, const std::function<void(int)>* partie, int nombre,
                            bool aide) {
  uint64_t v = suivante_.load();
  do {
    if (static_cast<uint32_t>(v >> 32) != tache || static_cast<int>(v & 0xFFFFFFFFu) >= nombre)
      return false;
  } while (!suivante_.compare_exchange_weak(v, v + 1));
  const int i = static_cast<int>(v & 0xFFFFFFFFu);
  const auto debut = std::chrono::steady_clock::now();
  Lance(*partie, i);
  const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
  std::lock_guard<std::mutex> l(verrou_);
  if (i < kPartiesMax) {
    duree_[i] = duree.count();
    parAide_[i] = aide;
  }
  if (++faites_ == nombre) fin_.notify_one();
  return true;
}

void Equipe::Aide() {
  uint32_t vue = 0;
  std::unique_lock<std::mutex> l(verrou_);
  for (;;) {
    reveil_.wait(l, [&] { return arret_ || tache_ != vue; });
    if (arret_) return;
    vue = tache_;
    // The parts are called only while the task is the current one: its caller waits for them.
    const std::function<void(int)>* partie = partie_;
    const int nombre = nombre_;
    l.unlock();
    while (PrendUnePartie(vue, partie, nombre, true)) {
    }
    l.lock();
  }
}

void Equipe::Mesure(int nombre, const double* travail) {
  double travailAide = 0, tempsAide = 0, travailAppelant = 0, tempsAppelant = 0;
  for (int i = 0; i < std::min(nombre, kPartiesMax); ++i) {
    (parAide_[i] ? travailAide : travailAppelant) += travail[i];
    (parAide_[i] ? tempsAide : tempsAppelant) += duree_[i];
  }
  double vitesse;
  if (travailAide <= 0) {
    vitesse = 0;  // the helper took nothing: it had no processor in time
  } else if (travailAppelant <= 0 || tempsAide <= 0 || tempsAppelant <= 0) {
    return;
  } else {
    vitesse = (travailAide / tempsAide) / (travailAppelant / tempsAppelant);
  }
  vitesseAide_ = std::clamp((vitesseAide_ + vitesse) / 2, 0.25, 1.5);
}

bool Equipe::ProcesseurLibre() {
  const unsigned processeurs = Processeurs();
  if (processeurs < 2) return false;
  const int64_t maintenant = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
  int64_t prochaine = prochaineLecture.load();
  // The thread that moves the next reading on reads; the others keep the last answer.
  if (maintenant < prochaine ||
      !prochaineLecture.compare_exchange_strong(
          prochaine, maintenant + std::chrono::nanoseconds(kIntervalleCharge).count()))
    return libreLu.load();
  ++lectures;
  const bool libre = LitCharge(processeurs);
  libreLu.store(libre);
  return libre;
}

uint64_t Equipe::LecturesDeCharge() { return lectures.load(); }

void Equipe::Lance(const std::function<void(int)>& partie, int i) {
  try {
    partie(i);
  } catch (...) {
    std::lock_guard<std::mutex> l(verrou_);
    if (!erreur_) erreur_ = std::current_exception();
  }
}

void Equipe::RelanceErreur() {
  std::exception_ptr e;
  {
    std::lock_guard<std::mutex> l(verrou_);
    e = std::move(erreur_);
    erreur_ = nullptr;
  }
  if (e) std::rethrow_exception(e);
}

void Equipe::Partage(int nombre, const std::function<void(int)>& partie, const double* travail) {
  if (nombre <= 0) return;
  if (nombre == 1 || Processeurs() < 2) {
    for (int i = 0; i < nombre; ++i) Lance(partie, i);
    RelanceErreur();
    return;
  }
  if (!aide_.joinable()) {
    try {
      aide_ = std::thread([this] { Aide(); });
    } catch (const std::system_error&) {
      // No thread to be had (a limit of the system): the caller does it all.
      for (int i = 0; i < nombre; ++i) Lance(partie, i);
      RelanceErreur();
      return;
    }
  }
  uint32_t tache;
  {
    std::lock_guard<std::mutex> l(verrou_);
    tache = ++tache_;
    partie_ = &partie;
    nombre_ = nombre;
    faites_ = 0;
    suivante_.store(uint64_t{tache} << 32);
  }
  reveil_.notify_one();
  while (PrendUnePartie(tache, &partie, nombre, false)) {
  }
  std::exception_ptr erreur;
  {
    std::unique_lock<std::mutex> l(verrou_);
    fin_.wait(l, [&] { return faites_ == nombre_; });
    // Every part is over: the helper calls `partie` no more for this task.
    erreur = std::move(erreur_);
    erreur_ = nullptr;
    if (travail != nullptr && !erreur) Mesure(nombre, travail);
  }
  if (erreur) std::rethrow_exception(erreur);
}

}  // namespace korv4
