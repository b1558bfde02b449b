#include <gtest/gtest.h>

#include "model/TexteAffichable.h"

namespace korv4 {
namespace {

TEST(TexteAffichable, CeQuiPiloteUnTerminalEstEchappe) {
  struct Cas {
    std::string entree, affiche;
  };
  const Cas cas[] = {
      {"Alimentation 5 V", "Alimentation 5 V"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \\ \xF0\x9F\x94\x8C",
       "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \\ \xF0\x9F\x94\x8C"},
      {"\x1b]0;pris\x07", "\\x1b]0;pris\\x07"},        // retitles a terminal
      {"a\x1b[2Jb", "a\\x1b[2Jb"},                     // clears it
      {"x\rFichier : x\n", "x\\x0dFichier : x\\x0a"},  // forges a line
      {"\t\x7f", "\\x09\\x7f"},
      {"\xC2\x9B"
       "31m",
       "\\x9b31m"},  // C1 control sequence introducer
      {"abc\xE2\x80\xAE"
       "fdp.exe",
       "abc\\u202efdp.exe"},  // reverses what follows
      {"\xE2\x81\xA6\xE2\x80\x8F", "\\u2066\\u200f"},
      {"\xFF\xC3(\xE0\x80\x80\xED\xA0\x80", "\\xff\\xc3(\\xe0\\x80\\x80\\xed\\xa0\\x80"},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(TexteAffichable(c.entree), c.affiche) << c.entree;
    EXPECT_EQ(EstTexteSimple(c.entree), c.entree == c.affiche) << c.entree;
  }
}

TEST(TexteAffichable, LongTexteCoupeAuMilieu) {
  EXPECT_EQ(TexteAffichableCourt("abcdef", 6), "abcdef");
  EXPECT_EQ(TexteAffichableCourt("abcdefgh", 5), "ab\xE2\x80\xA6gh");
  // An escape counts as one character and is never cut in two.
  EXPECT_EQ(TexteAffichableCourt("\x1b\x1b\x1b\x1b\x1b", 4), "\\x1b\\x1b\xE2\x80\xA6\\x1b");
  EXPECT_EQ(TexteAffichableCourt(std::string(4000, 'a'), 100).size(), 99u + 3u);
}

}  // namespace
}  // namespace korv4
