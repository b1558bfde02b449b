#pragma once

#include <string>

namespace korv4 {

// The store's and the files' characters are Windows-1252 bytes; the terminal, JSON and Qt
// speak UTF-8. The five bytes that have no character in that code page (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become U+FFFD.
std::string Windows1252VersUtf8(const std::string& octets);

}  // namespace korv4
