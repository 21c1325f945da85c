// The comparison form of a line under the tab, white-space and case flags.
#include "io_utils/normalize.h"

#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "io_utils/unicode.h"
#include "io_utils/utf8.h"
#include "printable.h"

namespace io_utils {
namespace {

using test::hex_bytes;

// The flags a test case sets, spelled like the command line's options.
CompareOptions flags(std::string_view set, std::uint64_t tabsize = 8) {
  CompareOptions options;
  options.tabsize = tabsize;
  for (char flag : set) {
    switch (flag) {
      case 'i':
        options.ignore_case = true;
        break;
      case 'E':
        options.ignore_tab_expansion = true;
        break;
      case 'Z':
        options.ignore_trailing_space = true;
        break;
      case 'b':
        options.ignore_space_change = true;
        break;
      case 'w':
        options.ignore_all_space = true;
        break;
      default:
        ADD_FAILURE() << "unknown flag " << flag;
    }
  }
  return options;
}

TEST(NormalizeLine, AppliesTabsThenOneWhiteSpaceStepThenCase) {
  struct Case {
    const char* name;
    std::string line;
    const char* flags;
    std::string expected;
  } cases[] = {
      {"no flag keeps the line", " A\tb  \r", "", " A\tb  \r"},
      {"no flag keeps control bytes", std::string("a\0b\x1b", 4), "",
       std::string("a\0b\x1b", 4)},
      {"all space removes every white space",
       " a \t b\xc2\xa0"
       "c\xe3\x80\x80 ",
       "w", "abc"},
      {"space change collapses runs", "  a \t b\xe3\x80\x80 c  ", "b",
       " a b c"},
      {"trailing space keeps the rest", "  a \t b \t", "Z", "  a \t b"},
      {"all space wins over space change", "a  b ", "wbZ", "ab"},
      {"space change wins over trailing", " a  b ", "bZ", " a b"},
      {"trailing carriage return is white space", "a b\r", "Z", "a b"},
      {"white space only", " \t\xc2\xa0\r", "b", ""},
      {"zero-width space and BOM are not white space",
       "a\xe2\x80\x8b \xef\xbb\xbf", "w", "a\xe2\x80\x8b\xef\xbb\xbf"},
      {"tab expansion alone", "a\tb", "E", "a       b"},
      {"tab expansion then trailing", "a\t", "EZ", "a"},
      {"tab expansion is moot under space change", "a\tb\t", "Eb", "a b"},
      {"case", "\xc4\xb0X\xe2\x84\xaa", "i", "i\xcc\x87xk"},
      {"case with space change", "  HeLLo   WORLD ", "ib", " hello world"},
      // Lower-casing comes last: with the space gone the sigma is inside a
      // word; with it kept the sigma ends one.
      {"sigma after all space", "\xce\x91\xce\xa3 \xce\x91", "iw",
       "\xce\xb1\xcf\x83\xce\xb1"},
      {"sigma with space kept", "\xce\x91\xce\xa3 \xce\x91", "i",
       "\xce\xb1\xcf\x82 \xce\xb1"},
      {"sigma before trailing space removed", "\xce\x91\xce\xa3 ", "iZ",
       "\xce\xb1\xcf\x82"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, normalize_line(c.line, flags(c.flags)));
  }
}

TEST(NormalizeLine, EmptyLineStaysEmptyUnderEveryFlagCombination) {
  const char all[] = "iEZbw";
  for (unsigned mask = 0; mask < 32; ++mask) {
    std::string set;
    for (unsigned bit = 0; bit < 5; ++bit) {
      if (mask & (1u << bit))
        set.push_back(all[bit]);
    }
    SCOPED_TRACE(set);
    EXPECT_EQ("", normalize_line("", flags(set)));
  }
}

TEST(NormalizeLine, MatchesAndMismatchesBetweenLines) {
  struct Case {
    const char* name;
    std::string left;
    std::string right;
    const char* flags;
    bool match;
    std::uint64_t tabsize = 8;
  } cases[] = {
      {"longer space run, space change", "a b", "a    b", "b", true},
      {"longer space run, all space", "a b", "a    b", "w", true},
      {"longer space run, trailing only", "a b", "a    b", "Z", false},
      {"missing space, all space", "a b", "ab", "w", true},
      {"missing space, space change", "a b", "ab", "b", false},
      {"leading space, space change", "  a", "a", "b", false},
      {"leading space, trailing only", "  a", " a", "Z", false},
      {"tab against 7 spaces, size 8", "a\tb", "a       b", "E", true},
      {"tab against 3 spaces, size 4", "a\tb", "a   b", "E", true, 4},
      {"tab against 7 spaces, size 4", "a\tb", "a       b", "E", false, 4},
      {"dotted I against i and combining dot", "\xc4\xb0", "i\xcc\x87", "i",
       true},
      {"dotted I against plain i", "\xc4\xb0", "i", "i", false},
      {"kelvin sign against K", "5\xe2\x84\xaa", "5K", "i", true},
      {"case differs without the flag", "A", "a", "bwZE", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompareOptions options = flags(c.flags, c.tabsize);
    EXPECT_EQ(c.match, normalize_line(c.left, options) ==
                           normalize_line(c.right, options));
  }
}

// The comparison form built step by step as defined: tabs, at most one
// white-space step, then case. normalize_line takes shortcuts that must
// give the same form.
std::string form_step_by_step(std::string_view line,
                              const CompareOptions& options) {
  std::string form(line);
  if (options.ignore_tab_expansion)
    form = expand_tabs(form, options.tabsize);
  if (options.ignore_all_space) {
    std::string kept;
    for (std::size_t pos = 0; pos < form.size();) {
      std::size_t start = pos;
      if (!is_whitespace(decode_utf8(form, pos))) {
        kept.append(form, start, pos - start);
      }
    }
    form = kept;
  } else if (options.ignore_space_change) {
    form = collapse_whitespace(form);
  } else if (options.ignore_trailing_space) {
    form = std::string(trim_trailing_whitespace(form));
  }
  if (options.ignore_case)
    form = to_lowercase(form);
  return form;
}

TEST(NormalizeLine, EqualsTheStepByStepFormOnMixedLines) {
  // Letters, capital sigmas, cased and ignorable neighbours, and white
  // space of every width, so that runs, line ends and sigma contexts meet.
  const char* const pieces[] = {
      "A",
      "z",
      "Q",
      "\xce\xa3",
      "\xce\x91",
      "\xcf\x82",
      "'",
      ".",
      "\xcd\x85",
      "\xca\xb0",
      "\xc4\xb0",
      "\xcc\x87",
      "\xe1\xba\x9e",
      "\xc3\xa9",
      "\xe4\xb8\xad",
      "\xf0\x90\x90\x80",
      "\xe2\x80\x8b",
      " ",
      "  ",
      "\t",
      "\r",
      "\v",
      "\xc2\xa0",
      "\xc2\x85",
      "\xe1\x9a\x80",
      "\xe2\x80\x8a",
      "\xe2\x80\xa8",
      "\xe3\x80\x80",
      "longer_word",
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(0, 30);
  for (int n = 0; n < 2000; ++n) {
    std::string line;
    for (int k = length(random); k > 0; --k) line += pieces[piece(random)];
    for (unsigned mask = 0; mask < 32; ++mask) {
      CompareOptions options;
      options.tabsize = mask % 3 == 0 ? 4 : 8;
      options.ignore_case = mask & 1;
      options.ignore_tab_expansion = mask & 2;
      options.ignore_trailing_space = mask & 4;
      options.ignore_space_change = mask & 8;
      options.ignore_all_space = mask & 16;
      ASSERT_EQ(form_step_by_step(line, options), normalize_line(line, options))
          << "flags " << mask << ", line " << hex_bytes(line);
    }
  }
}

// The ASCII path takes eight bytes at a time where it can, so runs of white
// space, control characters and "!" are placed across and beside the block
// boundaries. The bytes after the line, which the blocks read, are white
// space and bytes that are not ASCII, so that a block that looked at them
// would go wrong.
TEST(NormalizeAsciiLine, EqualsTheStepByStepForm) {
  const char* const pieces[] = {"A",  "z",  "!",    " ",        "  ",
                                "\t", "\r", "\v",   "\x01",     "\x1f",
                                "~",  ".",  "Word", "ABCDEFGH", "abcdefg"};
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> pieces_per_line(0, 40);
  for (int n = 0; n < 3000; ++n) {
    std::string line;
    for (int k = pieces_per_line(random); k > 0; --k)
      line += pieces[piece(random)];
    for (unsigned mask = 0; mask < 16; ++mask) {
      CompareOptions options;
      options.ignore_case = mask & 1;
      options.ignore_trailing_space = mask & 2;
      options.ignore_space_change = mask & 4;
      options.ignore_all_space = mask & 8;
      const std::string padded = line + std::string(kAsciiLineSlack, ' ') +
                                 std::string(kAsciiLineSlack, '\xff');
      std::string out(line.size() + kAsciiLineSlack, '\0');
      const auto length = normalize_ascii_line(
          std::string_view(padded).substr(0, line.size()), options, out.data());
      ASSERT_TRUE(length.has_value()) << hex_bytes(line);
      out.resize(*length);
      ASSERT_EQ(form_step_by_step(line, options), out)
          << "flags " << mask << ", line " << hex_bytes(line);
    }
  }
}

TEST(NormalizeAsciiLine, LeavesOtherLinesToTheGeneralPath) {
  const char* const lines[] = {"caf\xc3\xa9", "0123456789abcdefgh\xc3\xa9"};
  std::string out(64, '\0');
  for (const char* line : lines) {
    const std::string padded = line + std::string(kAsciiLineSlack, 'x');
    EXPECT_FALSE(normalize_ascii_line(
        std::string_view(padded).substr(0, std::strlen(line)), flags("ib"),
        out.data()))
        << hex_bytes(line);
  }
  EXPECT_FALSE(normalize_ascii_line(
      std::string_view("a\tb" + std::string(kAsciiLineSlack, 'x')).substr(0, 3),
      flags("E"), out.data()));
}

TEST(ExpandTabs, FillsToTheNextTabStopCountingCharacters) {
  struct Case {
    const char* name;
    std::string text;
    std::uint64_t tabsize;
    std::string expected;
  } cases[] = {
      {"tab at column 0", "\tx", 8, "        x"},
      {"tab at column 3", "abc\tx", 8, "abc     x"},
      {"tab at column 8", "abcdefgh\tx", 8, "abcdefgh        x"},
      {"two tabs", "\t\t", 8, std::string(16, ' ')},
      {"unit 1", "a\tb\t", 1, "a b "},
      {"unit 4", "a\tb", 4, "a   b"},
      {"size 0 counts as 8", "a\tb", 0, "a       b"},
      {"two-byte character is one column", "\xc3\xa9\tx", 8,
       "\xc3\xa9       x"},
      {"wide character is one column", "\xe4\xb8\x80\tx", 8,
       "\xe4\xb8\x80       x"},
      {"carriage return is one column", "\r\tx", 8, "\r       x"},
      {"no tab", "plain", 8, "plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, expand_tabs(c.text, c.tabsize));
  }
}

TEST(CollapseWhitespace, MakesEachInnerRunOneSpaceAndDropsTheLast) {
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"a", "a"},
      {"a  b", "a b"},
      {"\t\ta", " a"},
      {"a \t\r\n\v\fb", "a b"},
      // NEL, U+2028, U+3000
      {"a\xc2\x85\xe2\x80\xa8\xe3\x80\x80z", "a z"},
      {"a b \xc2\xa0", "a b"},
      // U+200B is not white space
      {"a\xe2\x80\x8bz", "a\xe2\x80\x8bz"},
      {"word1   word2\t\tlonger_word_here \xc2\xa0tail \xe3\x80\x80",
       "word1 word2 longer_word_here tail"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.expected, collapse_whitespace(c.text));
  }
}

}  // namespace
}  // namespace io_utils
