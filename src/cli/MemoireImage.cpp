#include "MemoireImage.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace korv4::cli {

namespace {

constexpr size_t kGrandePage = size_t{2} << 20;

}  // namespace

MemoireImage::MemoireImage(size_t pixels) {
  if (pixels == 0 || pixels > SIZE_MAX / 4 - 2 * kGrandePage) return;
  const size_t octets = (pixels * 4 + kGrandePage - 1) / kGrandePage * kGrandePage;
  // One huge page more, so that the pixels can start on a huge-page boundary.
  taille_ = octets + kGrandePage;
  void* zone = ::mmap(nullptr, taille_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (zone == MAP_FAILED) {
    taille_ = 0;
    return;
  }
  zone_ = zone;
  const uintptr_t debut =
      (reinterpret_cast<uintptr_t>(zone) + kGrandePage - 1) / kGrandePage * kGrandePage;
  pixels_ = reinterpret_cast<uint32_t*>(debut);
  // A request only: without huge pages the memory is the same, in small pages.
  ::madvise(pixels_, octets, MADV_HUGEPAGE);
}

void TasEnGrandesPages() {
  constexpr size_t kReserve = size_t{16} << 20;
  mallopt(M_TOP_PAD, static_cast<int>(kReserve));
  // A block that makes the heap grow now, by the reserve, then the whole huge pages it holds.
  void* bloc = std::malloc(kGrandePage / 8);
  // Later growth by the usual steps: a limit on the process's memory then weighs as before.
  mallopt(M_TOP_PAD, 128 << 10);
  if (bloc == nullptr) return;
  const uintptr_t debut =
      (reinterpret_cast<uintptr_t>(bloc) + kGrandePage - 1) / kGrandePage * kGrandePage;
  const uintptr_t fin = reinterpret_cast<uintptr_t>(::sbrk(0)) / kGrandePage * kGrandePage;
  if (fin > debut) ::madvise(reinterpret_cast<void*>(debut), fin - debut, MADV_HUGEPAGE);
  std::free(bloc);
}

MemoireImage::~MemoireImage() {
  if (zone_) ::munmap(zone_, taille_);
}

}  // namespace korv4::cli
