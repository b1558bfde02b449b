#pragma once

#include <cstddef>
#include <cstdint>

namespace korv4::cli {

// The pixels of one picture, zero, straight from the system: no zero-filling pass, and in huge
// pages where the system offers them (transparent huge pages on request), so that a picture of a
// few megabytes costs a few page faults instead of one per 4 KB page. Released when destroyed.
class MemoireImage {
 public:
  // Null Pixels() when the memory is not available.
  explicit MemoireImage(size_t pixels);
  ~MemoireImage();
  MemoireImage(const MemoireImage&) = delete;
  MemoireImage& operator=(const MemoireImage&) = delete;

  uint32_t* Pixels() const { return pixels_; }

 private:
  uint32_t* pixels_ = nullptr;
  void* zone_ = nullptr;
  size_t taille_ = 0;
};

// The heap grows by a few megabytes at once, and the system is asked to back it with huge pages
// where it offers them: the store, the file's bytes and the joining's tables then cost a few
// page faults instead of one per 4 KB page. Called first in main, once.
void TasEnGrandesPages();

}  // namespace korv4::cli
