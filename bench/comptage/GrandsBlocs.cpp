// Preloaded into a program (LD_PRELOAD) by korv4_bench_image_gerbv: notes every block of memory
// of at least 256 KiB the program asks for (malloc, calloc, realloc, operator new through them,
// and its own mmap calls), and at its exit writes one line "kind size" per block into the file
// named by KORV4_GRANDS_BLOCS. Shows that a run allocates the store and the picture once.

#include <dlfcn.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}

namespace {

constexpr size_t kSeuil = size_t{256} << 10;
constexpr int kMax = 4096;
struct Bloc {
  char genre;  // m malloc, c calloc, r realloc, p mmap
  size_t taille;
};
Bloc blocs[kMax];
int nb = 0;

void Note(char genre, size_t taille) {
  if (taille >= kSeuil && nb < kMax) blocs[nb++] = {genre, taille};
}

struct Ecriture {
  ~Ecriture() {
    const char* nom = std::getenv("KORV4_GRANDS_BLOCS");
    if (!nom) return;
    if (std::FILE* f = std::fopen(nom, "w")) {
      for (int i = 0; i < nb; ++i) std::fprintf(f, "%c %zu\n", blocs[i].genre, blocs[i].taille);
      std::fclose(f);
    }
  }
} ecriture;

}  // namespace

extern "C" {

void* malloc(size_t n) {
  Note('m', n);
  return __libc_malloc(n);
}

void* calloc(size_t n, size_t t) {
  Note('c', n * t);
  return __libc_calloc(n, t);
}

void* realloc(void* p, size_t n) {
  Note('r', n);
  return __libc_realloc(p, n);
}

void* mmap(void* adresse, size_t n, int protection, int drapeaux, int fd, off_t decalage) {
  using Mmap = void* (*)(void*, size_t, int, int, int, off_t);
  static Mmap suivant = reinterpret_cast<Mmap>(dlsym(RTLD_NEXT, "mmap"));
  if (fd < 0) Note('p', n);
  return suivant(adresse, n, protection, drapeaux, fd, decalage);
}

}  // extern "C"
