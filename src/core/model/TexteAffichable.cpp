#include "model/TexteAffichable.h"

#include <cstdint>
#include <vector>

namespace korv4 {

namespace {

// The length of the valid UTF-8 sequence at `i` and its code point; 0 when it is not one.
size_t Sequence(const std::string& s, size_t i, uint32_t& cp) {
  const auto o = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t b = o(i);
  size_t n = 0;
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0Fu;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07u;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((o(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (o(i + k) & 0x3Fu);
  }
  // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return n;
}

bool EstDirection(uint32_t cp) {
  return cp == 0x200E || cp == 0x200F || cp == 0x061C || (cp >= 0x202A && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

std::string Hexa(uint32_t v, int chiffres) {
  static const char kChiffres[] = "0123456789abcdef";
  std::string s;
  for (int k = chiffres - 1; k >= 0; --k) s += kChiffres[(v >> (4 * k)) & 0xF];
  return s;
}

// The text cut into displayed pieces: each character as it is shown (itself or its escape).
std::vector<std::string> Morceaux(const std::string& s) {
  std::vector<std::string> m;
  for (size_t i = 0; i < s.size();) {
    uint32_t cp = 0;
    const size_t n = Sequence(s, i, cp);
    if (n == 0) {
      m.push_back("\\x" + Hexa(static_cast<uint8_t>(s[i]), 2));
      ++i;
      continue;
    }
    if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
      m.push_back("\\x" + Hexa(cp, 2));
    } else if (EstDirection(cp)) {
      m.push_back("\\u" + Hexa(cp, 4));
    } else {
      m.push_back(s.substr(i, n));
    }
    i += n;
  }
  return m;
}

}  // namespace

std::string TexteAffichable(const std::string& utf8) {
  std::string r;
  r.reserve(utf8.size());
  for (const std::string& m : Morceaux(utf8)) r += m;
  return r;
}

std::string TexteAffichableCourt(const std::string& utf8, size_t maximum) {
  const std::vector<std::string> m = Morceaux(utf8);
  std::string r;
  if (m.size() <= maximum) {
    for (const std::string& x : m) r += x;
    return r;
  }
  const size_t garde = maximum > 1 ? maximum - 1 : 0;
  const size_t debut = (garde + 1) / 2, fin = garde - debut;
  for (size_t k = 0; k < debut; ++k) r += m[k];
  r += "\xE2\x80\xA6";  // …
  for (size_t k = m.size() - fin; k < m.size(); ++k) r += m[k];
  return r;
}

bool EstTexteSimple(const std::string& utf8) { return TexteAffichable(utf8) == utf8; }

}  // namespace korv4
