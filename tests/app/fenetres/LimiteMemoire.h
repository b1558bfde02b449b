#pragma once

// A memory limit inside a test, as `ulimit -v` gives one to a program: what an action does when
// an allocation fails (std::bad_alloc).

#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <vector>

namespace korv4 {

// The process's address space, in bytes.
inline size_t EspaceAdresses() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0;
  statm >> pages;
  return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// The process's address space held to what it maps now plus `marge` bytes, until destroyed, as
// under `ulimit -v`: an allocation that needs more fails (std::bad_alloc). The free memory the
// earlier tests left in the heap is taken first, so that the limit bites whatever ran before.
class LimiteMemoire {
 public:
  explicit LimiteMemoire(size_t marge) {
    const size_t avant = EspaceAdresses();
    while (EspaceAdresses() == avant && pris_.size() < 1000000) pris_.emplace_back(4096);
    getrlimit(RLIMIT_AS, &ancienne_);
    rlimit r = ancienne_;
    r.rlim_cur = EspaceAdresses() + marge;
    setrlimit(RLIMIT_AS, &r);
  }
  ~LimiteMemoire() { setrlimit(RLIMIT_AS, &ancienne_); }

 private:
  rlimit ancienne_{};
  std::vector<std::vector<char>> pris_;
};

}  // namespace korv4
