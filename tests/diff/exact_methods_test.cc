// Every way of finding the matched lines of large inputs against the full
// trace of the diagonal search: the walk over a plain table of lengths,
// the search on the lines as given, the search on the partnered lines'
// numbers, the bit-parallel rows, the choice between them by cost, and the
// search after numbering gave up.
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "diff/diagonal_search.h"
#include "diff/lcs_walk.h"
#include "diff/myers_common_pairs.h"
#include "reference_pairs.h"
#include "script_check.h"

namespace diff {
namespace {

using test::Pairs;
using types::CompareLine;
using List = std::vector<CompareLine>;

// Each way, by name, with what it found.
std::vector<std::pair<std::string, Pairs>> every_way(const List& left,
                                                     const List& right) {
  std::vector<std::pair<std::string, Pairs>> found;
  test::TableLengths table(left, right);
  found.emplace_back(
      "walk over the table",
      test::expand(walk_lengths(left.size(), right.size(), table)));
  found.emplace_back("search on the records",
                     test::expand(*diagonal_search(left, right, {})));
  found.emplace_back(
      "search on the partnered lines",
      test::expand(myers_common_pairs_with(
          left, right,
          {.min_gap = 2, .method = PartneredMethod::kDiagonalSearch})));
  for (std::size_t rows_per_block : {1u, 2u, 3u, 0u}) {
    found.emplace_back("rows, blocks of " + std::to_string(rows_per_block),
                       test::expand(myers_common_pairs_with(
                           left, right,
                           {.method = PartneredMethod::kRows,
                            .rows_per_block = rows_per_block})));
  }
  found.emplace_back("by cost", test::expand(myers_common_pairs(left, right)));
  return found;
}

// True when every way finds what the full trace finds; reports those that
// do not.
bool every_way_agrees(const List& left, const List& right) {
  const Pairs expected = test::full_trace_pairs(left, right);
  bool agree = true;
  for (const auto& [way, pairs] : every_way(left, right)) {
    if (pairs != expected) {
      ADD_FAILURE() << way << " differs from the full trace";
      agree = false;
    }
  }
  return agree;
}

// `length` lines drawn from "<tag>0" .. "<tag><alphabet - 1>"; with
// `unique_percent`, that share are lines found nowhere else.
List random_list(std::mt19937& rng, std::size_t length, int alphabet,
                 int unique_percent, const std::string& tag) {
  std::uniform_int_distribution<int> letter(0, alphabet - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < length; ++i) {
    texts.push_back(percent(rng) < unique_percent
                        ? tag + " only " + std::to_string(i)
                        : std::to_string(letter(rng)));
  }
  return test::plain(texts);
}

TEST(ExactMethods, AgreeOnRandomShapes) {
  struct Shape {
    const char* name;
    int rounds;
    int left_min, left_max;
    int right_min, right_max;
    int alphabet;
    int unique_percent;
  } shapes[] = {
      {"many unique lines", 60, 1, 120, 1, 120, 8, 70},
      {"some unique lines", 60, 1, 120, 1, 120, 5, 20},
      {"no unique line, small alphabet", 60, 1, 120, 1, 120, 3, 0},
      {"no unique line, large alphabet", 60, 1, 120, 1, 120, 40, 0},
      {"one kind of line", 20, 1, 100, 1, 100, 1, 0},
      {"lopsided, left short", 30, 1, 8, 50, 400, 4, 30},
      {"lopsided, right short", 30, 50, 400, 1, 8, 4, 30},
      {"all unique", 10, 1, 60, 1, 60, 1, 100},
      // Rows of several words, which the choice by cost takes.
      {"long, three kinds of line", 6, 250, 400, 250, 400, 3, 0},
      {"long, many kinds of line", 6, 250, 400, 250, 400, 200, 0},
  };
  std::mt19937 rng(20261210);
  for (const Shape& shape : shapes) {
    std::uniform_int_distribution<std::size_t> left_length(
        static_cast<std::size_t>(shape.left_min),
        static_cast<std::size_t>(shape.left_max));
    std::uniform_int_distribution<std::size_t> right_length(
        static_cast<std::size_t>(shape.right_min),
        static_cast<std::size_t>(shape.right_max));
    for (int round = 0; round < shape.rounds; ++round) {
      SCOPED_TRACE(std::string(shape.name) + ", round " +
                   std::to_string(round));
      const List left = random_list(rng, left_length(rng), shape.alphabet,
                                    shape.unique_percent, "left");
      const List right = random_list(rng, right_length(rng), shape.alphabet,
                                     shape.unique_percent, "right");
      if (!every_way_agrees(left, right))
        return;
    }
  }
}

// Every pair of lists of 1 to 5 lines over two shared lines and one found
// only on its own side.
TEST(ExactMethods, AgreeOnEveryShortPair) {
  std::vector<std::string> lists[2];
  for (int side = 0; side < 2; ++side) {
    const std::string letters = side == 0 ? "ABx" : "ABy";
    std::vector<std::string> shorter = {""};
    for (int length = 1; length <= 5; ++length) {
      std::vector<std::string> longer;
      for (const std::string& s : shorter) {
        for (char c : letters) longer.push_back(s + c);
      }
      lists[side].insert(lists[side].end(), longer.begin(), longer.end());
      shorter = std::move(longer);
    }
  }
  for (const std::string& l : lists[0]) {
    const List left = test::letters(l);
    for (const std::string& r : lists[1]) {
      SCOPED_TRACE(l + " / " + r);
      if (!every_way_agrees(left, test::letters(r)))
        return;
    }
  }
}

// Rows of 63 to 129 bits, where the additions carry from word to word, with
// the bits over either side; one kind of line makes carries run longest.
TEST(ExactMethods, AgreeWhereRowsSpanWords) {
  std::mt19937 rng(63);
  for (std::size_t bits : {63u, 64u, 65u, 127u, 128u, 129u}) {
    for (int alphabet : {1, 2, 4}) {
      for (bool bits_over_left : {false, true}) {
        SCOPED_TRACE(std::to_string(bits) + " bits, alphabet of " +
                     std::to_string(alphabet) +
                     (bits_over_left ? ", bits over the left" : ""));
        const List shorter = random_list(rng, bits, alphabet, 10, "short");
        const List longer = random_list(rng, bits + 40, alphabet, 10, "long");
        const bool agree = bits_over_left ? every_way_agrees(shorter, longer)
                                          : every_way_agrees(longer, shorter);
        if (!agree)
          return;
      }
    }
  }
}

// The bits (the shorter list) are 64 A, 64 B and 3 C. The rows' C lines
// leave the first two words all set; then the A line's addition carries
// out of the first word, through the second, all set and none of it
// matched, into the third. A row that lost that carry would count one
// line too many there, and the walk, comparing it with the row below,
// would match the A with a C.
TEST(ExactMethods, AgreeWhereACarryCrossesAWordWithoutMatches) {
  const std::string bits =
      std::string(64, 'A') + std::string(64, 'B') + std::string(3, 'C');
  const std::string rows = std::string(132, 'C') + "AB";
  EXPECT_TRUE(every_way_agrees(test::letters(rows), test::letters(bits)));
  EXPECT_TRUE(every_way_agrees(test::letters(bits), test::letters(rows)));
}

// `length` lines of `kinds` kinds, and the same with `edits` lines moved
// to other places.
std::pair<List, List> moved_lines(std::mt19937& rng, std::size_t length,
                                  int kinds, int edits) {
  List left = random_list(rng, length, kinds, 0, "");
  List right = left;
  std::uniform_int_distribution<std::size_t> position(0, length - 1);
  for (int edit = 0; edit < edits; ++edit) {
    right.erase(right.begin() + static_cast<std::ptrdiff_t>(position(rng)));
    right.insert(right.begin() + static_cast<std::ptrdiff_t>(position(rng)),
                 left[position(rng)]);
  }
  return {left, right};
}

// Random lines of two kinds at the top, and below them the same thousands
// of lines on both sides: the search crawls through the top, then crosses
// the rest in one pass.
std::pair<List, List> differing_top(std::mt19937& rng) {
  List left = random_list(rng, 1000, 2, 0, "");
  List right = random_list(rng, 1000, 2, 0, "");
  std::vector<std::string> rest;
  for (int i = 0; i < 20000; ++i) rest.push_back("rest " + std::to_string(i));
  for (List* side : {&left, &right}) {
    const List tail = test::plain(rest);
    side->insert(side->end(), tail.begin(), tail.end());
  }
  return {left, right};
}

// Which way the choice by cost takes. Every way finds the same pairs, so
// only the time tells a wrong choice: here, the ways taken.
TEST(ExactMethods, ChoiceByCost) {
  std::mt19937 rng(5);
  struct Case {
    const char* name;
    std::pair<List, List> lists;
    FoundBy expected;
  } cases[] = {
      {"a few changes", moved_lines(rng, 2000, 200, 3),
       FoundBy::kSearchOnRecords},
      {"a hundred changes", moved_lines(rng, 6000, 200, 100),
       FoundBy::kSearchOnNumbers},
      // Some runs of equal lines are long, but they are spread evenly, and
      // the search would cost more than the rows.
      {"a tenth of the lines moved", moved_lines(rng, 6000, 200, 600),
       FoundBy::kRows},
      {"three kinds of line throughout",
       {random_list(rng, 400, 3, 0, ""), random_list(rng, 400, 3, 0, "")},
       FoundBy::kRows},
      {"many kinds of line throughout",
       {random_list(rng, 400, 200, 0, ""), random_list(rng, 400, 200, 0, "")},
       FoundBy::kRows},
      // Judged by its progress through the top, the search would seem to
      // have far to go.
      {"differing top, the same below", differing_top(rng),
       FoundBy::kSearchOnNumbers},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& [left, right] = c.lists;
    FoundBy found_by;
    const CommonPairs pairs =
        myers_common_pairs_with(left, right, {}, &found_by);
    EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(found_by));
    EXPECT_EQ(test::expand(*diagonal_search(left, right, {})),
              test::expand(pairs));
  }
}

// Hundreds of distinct lines in a table of 1,024 slots cannot all land
// where their hash points, so with no slot to spare numbering gives up, and
// the search goes on over the records, from where it stopped or at once.
TEST(ExactMethods, SearchGoesOnWhereNumberingGivesUp) {
  std::mt19937 rng(17);
  const List left = random_list(rng, 300, 1000, 0, "");
  const List right = random_list(rng, 300, 1000, 0, "");
  const NumberingLimits no_slot = {.slots_per_line = 0};
  ASSERT_FALSE(line_classes(left, right, no_slot).has_value());
  const Pairs expected = test::full_trace_pairs(left, right);
  ASSERT_FALSE(expected.empty());
  for (PartneredMethod method :
       {PartneredMethod::kCheaper, PartneredMethod::kRows}) {
    EXPECT_EQ(expected,
              test::expand(myers_common_pairs_with(
                  left, right, {.method = method, .numbering = no_slot})));
  }
}

}  // namespace
}  // namespace diff
