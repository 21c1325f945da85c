// The white-space set, blank and trim helpers, and lower-casing.
#include "io_utils/unicode.h"

#include <algorithm>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "printable.h"

namespace io_utils {
namespace {

using test::code_point_name;

TEST(Unicode, WhitespaceIsExactlyTheWhiteSpaceProperty) {
  const char32_t white_space[] = {
      0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x0020, 0x0085, 0x00A0, 0x1680,
      0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007, 0x2008,
      0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000,
  };
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    bool expected = std::find(std::begin(white_space), std::end(white_space),
                              c) != std::end(white_space);
    ASSERT_EQ(expected, is_whitespace(c)) << code_point_name(c);
  }
}

TEST(Unicode, IsBlank) {
  struct Case {
    std::string text;
    bool expected;
  } cases[] = {
      {"", true},
      {" \t\r\n\v\f", true},
      {"\xc2\xa0\xe3\x80\x80\xe2\x80\xa8\xc2\x85",
       true},  // NBSP, U+3000, U+2028, NEL
      {" x ", false},
      {"\xe2\x80\x8b", false},  // zero-width space
      {"\xef\xbb\xbf", false},  // byte-order mark
      {"\xe1\xa0\x8e", false},  // U+180E
      {std::string(1, '\0'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.expected, is_blank(c.text));
  }
}

TEST(Unicode, TrimsWhitespace) {
  struct Case {
    std::string text;
    std::string both_ends;
    std::string trailing;
  } cases[] = {
      {"", "", ""},
      {"   ", "", ""},
      {"a", "a", "a"},
      {"  a b \t", "a b", "  a b"},
      {"\xe3\x80\x80x\xe3\x80\x80", "x", "\xe3\x80\x80x"},
      {"x\xc2\xa0\r", "x", "x"},
      {"\xe2\x80\x8bx\xe2\x80\x8b", "\xe2\x80\x8bx\xe2\x80\x8b",
       "\xe2\x80\x8bx\xe2\x80\x8b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.both_ends, trim_whitespace(c.text));
    EXPECT_EQ(c.trailing, trim_trailing_whitespace(c.text));
  }
}

struct LowercaseCase {
  const char* name;
  std::string text;
  std::string expected;
};

TEST(Lowercase, MapsEachCharacterToItsFullLowercase) {
  const LowercaseCase cases[] = {
      {"empty", "", ""},
      {"ascii", "Hello, WORLD 42!", "hello, world 42!"},
      {"ascii with NUL", std::string("A\0B", 3), std::string("a\0b", 3)},
      {"latin-1", "\xc3\x80\xc3\x89\xc3\x9e", "\xc3\xa0\xc3\xa9\xc3\xbe"},
      {"alternating pairs", "\xc4\x80\xc4\x81\xc4\x82",  // U+0100..U+0102
       "\xc4\x81\xc4\x81\xc4\x83"},
      {"dotted capital I becomes two characters", "\xc4\xb0stanbul",
       "i\xcc\x87stanbul"},
      {"kelvin sign", "\xe2\x84\xaa", "k"},
      {"sharp s is not folded", "\xc3\x9f", "\xc3\x9f"},
      {"capital sharp s", "\xe1\xba\x9e", "\xc3\x9f"},
      {"titlecase digraph", "\xc7\x85", "\xc7\x86"},       // U+01C5 -> U+01C6
      {"prosgegrammeni", "\xe1\xbe\x88", "\xe1\xbe\x80"},  // U+1F88 -> U+1F80
      {"deseret, outside the BMP", "\xf0\x90\x90\x80", "\xf0\x90\x90\xa8"},
      {"caseless scripts stay", "\xe4\xb8\x80\xd8\xa7", "\xe4\xb8\x80\xd8\xa7"},
      {"white space stays", "\xc2\xa0\xe3\x80\x80", "\xc2\xa0\xe3\x80\x80"},
      {"long text that grows and shrinks",
       "ABCDEFGH\xc4\xb0JKLMNOPQ\xe2\x84\xaaRSTUVWXYZ\xc3\x89",
       "abcdefghi\xcc\x87jklmnopqkrstuvwxyz\xc3\xa9"},
      // Unicode 16.0 added this pair; the tables hold Unicode 15.0.
      {"later addition stays", "\xea\x9f\x8b", "\xea\x9f\x8b"},
  };
  for (const LowercaseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, to_lowercase(c.text));
  }
}

// Σ U+03A3, σ U+03C3, ς U+03C2, Α U+0391, α U+03B1.
#define SIGMA "\xce\xa3"
#define SMALL "\xcf\x83"
#define FINAL "\xcf\x82"
#define ALPHA "\xce\x91"
#define ALPHA_LOWER "\xce\xb1"

TEST(Lowercase, CapitalSigmaFollowsTheFinalSigmaCondition) {
  const LowercaseCase cases[] = {
      {"alone", SIGMA, SMALL},
      {"ends a word at the end", ALPHA SIGMA, ALPHA_LOWER FINAL},
      {"inside a word", ALPHA SIGMA ALPHA, ALPHA_LOWER SMALL ALPHA_LOWER},
      {"ends a word before a space", ALPHA SIGMA " " ALPHA,
       ALPHA_LOWER FINAL " " ALPHA_LOWER},
      {"starts a word", " " SIGMA ALPHA, " " SMALL ALPHA_LOWER},
      {"after a latin letter", "A" SIGMA, "a" FINAL},
      {"after a digit", "1" SIGMA, "1" SMALL},
      {"ignorable apostrophe before", ALPHA "'" SIGMA, ALPHA_LOWER "'" FINAL},
      {"ignorable apostrophe inside", ALPHA SIGMA "'" ALPHA,
       ALPHA_LOWER SMALL "'" ALPHA_LOWER},
      {"ignorable period after", ALPHA SIGMA ".", ALPHA_LOWER FINAL "."},
      {"two sigmas", ALPHA SIGMA SIGMA, ALPHA_LOWER SMALL FINAL},
      {"combining mark before", ALPHA "\xcc\x81" SIGMA,
       ALPHA_LOWER "\xcc\x81" FINAL},
  };
  for (const LowercaseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, to_lowercase(c.text));
  }
}

// U+02B0 and U+0345 are both Cased and Case_Ignorable. They are skipped as
// ignorable before asking whether the nearest other character is Cased, so
// they never count as the cased neighbour themselves.
TEST(Lowercase, CasedIgnorableNeighboursOfSigmaAreSkipped) {
  const LowercaseCase cases[] = {
      {"U+02B0 after a space", " \xca\xb0" SIGMA, " \xca\xb0" SMALL},
      {"U+02B0 at the start", "\xca\xb0" SIGMA, "\xca\xb0" SMALL},
      {"U+02B0 after a letter", ALPHA "\xca\xb0" SIGMA,
       ALPHA_LOWER "\xca\xb0" FINAL},
      {"U+02B0 at the end", ALPHA SIGMA "\xca\xb0",
       ALPHA_LOWER FINAL "\xca\xb0"},
      {"U+02B0 before a letter", ALPHA SIGMA "\xca\xb0" ALPHA,
       ALPHA_LOWER SMALL "\xca\xb0" ALPHA_LOWER},
      {"U+0345 after a space", " \xcd\x85" SIGMA, " \xcd\x85" SMALL},
      {"U+0345 at the end", ALPHA SIGMA "\xcd\x85",
       ALPHA_LOWER FINAL "\xcd\x85"},
      {"U+0345 before a space", ALPHA SIGMA "\xcd\x85 ",
       ALPHA_LOWER FINAL "\xcd\x85 "},
  };
  for (const LowercaseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, to_lowercase(c.text));
  }
}

}  // namespace
}  // namespace io_utils
