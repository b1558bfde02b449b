#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

// A second thread for the parts of a task that split cleanly (the bands of a redraw). It is
// started at the first task and lives as long as its owner. The parts are taken in turn by
// whichever thread is free: when the helper is not given a processor in time, the calling
// thread does every part itself.
//
// A helper that shares its processor with another program runs slower than the caller, and a
// caller that waits for it loses what the split gained: the team measures how fast the helper
// went on the parts it took, for the work each part was said to hold, and tells the caller
// what share of the next task to keep for itself (a half when both go as fast).

namespace korv4 {

class Equipe {
 public:
  static constexpr int kPartiesMax = 8;

  Equipe() = default;
  Equipe(const Equipe&) = delete;
  Equipe& operator=(const Equipe&) = delete;
  ~Equipe();

  // Runs partie(0) .. partie(nombre - 1), each exactly once, on this thread and the helper;
  // returns when all are done. `travail`, when given, is the work each part holds (in any
  // unit; the first kPartiesMax parts), from which the helper's speed is measured. Without a
  // second processor, all run on this thread. A part that throws ends only itself: the other
  // parts still run, and once all are over (the helper no longer holds `partie`) the first
  // exception thrown is thrown again here.
  void Partage(int nombre, const std::function<void(int)>& partie, const double* travail = nullptr);

  // The share of a task's work the caller should keep for its first part.
  double PartAppelant() const { return 1.0 / (1.0 + vitesseAide_); }

  // A second processor is free at this moment: no more threads ready to run on the whole
  // machine than processors, less one for the caller. A split is worth it only then: when
  // another program keeps a processor busy, the helper shares it, and waiting for its part
  // took longer than doing the whole task alone (a quarter more, measured). The machine's
  // load is read at most once per kIntervalleCharge; in between the last answer stands.
  static bool ProcesseurLibre();
  static constexpr std::chrono::milliseconds kIntervalleCharge{1000};
  // How many times the load has been read since the program started.
  static uint64_t LecturesDeCharge();

 private:
  void Aide();
  // Takes the next part of that task and runs it; false when none is left.
  bool PrendUnePartie(uint32_t tache, const std::function<void(int)>* partie, int nombre,
                      bool aide);
  void Mesure(int nombre, const double* travail);
  // Runs part i, keeping what it throws for the caller.
  void Lance(const std::function<void(int)>& partie, int i);
  // Throws again the exception a part threw, if any, and forgets it.
  void RelanceErreur();

  std::thread aide_;
  std::mutex verrou_;
  std::condition_variable reveil_, fin_;
  // Under verrou_: the task posted last, its parts, how many are done, and for each the time
  // it took and whether the helper ran it.
  bool arret_ = false;
  uint32_t tache_ = 0;
  const std::function<void(int)>* partie_ = nullptr;
  int nombre_ = 0;
  int faites_ = 0;
  double duree_[kPartiesMax] = {};
  bool parAide_[kPartiesMax] = {};
  // The task's number (high half) and its next part (low half), taken by compare and swap, so
  // that a thread late from the last task can never take a part of the next one.
  std::atomic<uint64_t> suivante_{0};
  double vitesseAide_ = 1.0;  // the helper's speed over the caller's, smoothed
  // Under verrou_: the first exception a part of the current task threw.
  std::exception_ptr erreur_;
};

}  // namespace korv4
