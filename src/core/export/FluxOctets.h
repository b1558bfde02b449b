#pragma once

#include <cstddef>
#include <cstdint>

namespace korv4 {

// Where the bytes of a file go as they are produced (a file on the disk, a buffer), so that a
// large output never has to be held in memory whole.
class FluxOctets {
 public:
  virtual ~FluxOctets() = default;
  // Takes the bytes; false when it cannot, and nothing more is then given to it.
  virtual bool Ecrit(const uint8_t* octets, size_t taille) = 0;
};

}  // namespace korv4
