#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "render/Equipe.h"

namespace korv4 {
namespace {

// Thousands of tasks in a row, of one to nine parts, some parts slow: every part runs exactly
// once per task and the task is over when Partage returns, whichever thread took each part.
TEST(Equipe, ChaquePartieUneFoisParTache) {
  Equipe equipe;
  std::vector<std::atomic<int>> fois(9);
  for (int tache = 0; tache < 3000; ++tache) {
    const int nombre = 1 + tache % 9;
    for (auto& f : fois) f = 0;
    std::atomic<int> faites{0};
    const double travail[Equipe::kPartiesMax] = {1, 2, 3, 4, 5, 6, 7, 8};
    equipe.Partage(
        nombre,
        [&](int i) {
          if (tache % 97 == 0 && i == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
          ++fois[i];
          ++faites;
        },
        tache % 2 == 0 ? travail : nullptr);
    ASSERT_EQ(faites.load(), nombre) << "tâche " << tache;
    for (int i = 0; i < 9; ++i) ASSERT_EQ(fois[i].load(), i < nombre ? 1 : 0) << tache << " " << i;
    const double part = equipe.PartAppelant();
    ASSERT_TRUE(part > 0.3 && part < 0.9) << part;
  }
}

}  // namespace
}  // namespace korv4
