#pragma once

#include <cstddef>
#include <string>

// Texts that come from a file (a title of the title block, a circuit's name stored in a copy, a
// file name) are shown, printed and written only through these: a control character, a
// direction override or a byte that is not UTF-8 could otherwise drive a terminal, reverse a
// line or forge others.

namespace korv4 {

// The UTF-8 text with every character that is not plain text written as an escape: C0 and C1
// controls and DEL as "\x1b" (tab included, so that a line stays a line), the direction marks
// and overrides (U+200E, U+200F, U+202A..U+202E, U+2066..U+2069, U+061C) as "\u202e", a byte
// that does not begin a valid UTF-8 sequence as "\xff".
std::string TexteAffichable(const std::string& utf8);

// As TexteAffichable, cut to at most `maximum` characters: a longer text keeps its beginning and
// its end around "…".
std::string TexteAffichableCourt(const std::string& utf8, size_t maximum);

// True when the text holds nothing that TexteAffichable would escape.
bool EstTexteSimple(const std::string& utf8);

}  // namespace korv4
