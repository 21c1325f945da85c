// The edit script: records from matched lines, the choice of strategy and
// the blank filter.
#include "diff/compute_diff.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script_check.h"

namespace diff {
namespace {

using test::describe;
using test::letters;
using test::plain;
using Script = std::vector<std::string>;

CommonPairs runs_of(const test::Pairs& pairs) {
  CommonPairs runs;
  for (const auto& [l, r] : pairs) runs.push_back({l, r, 1});
  return runs;
}

TEST(EditsFromPairs, OneRecordPerGap) {
  struct Case {
    const char* name;
    const char* left;
    const char* right;
    test::Pairs pairs;
    Script expected;
  } cases[] = {
      {"no pair: one change over both files",
       "ABC",
       "XY",
       {},
       {"Change 1 3 1 2 [a,b,c] [x,y]"}},
      {"all matched", "AB", "AB", {{0, 0}, {1, 1}}, {}},
      {"swapped, left A matched",
       "AB",
       "BA",
       {{0, 1}},
       {"Insert 0 0 1 1 [] [b]", "Delete 2 2 2 2 [b] []"}},
      {"swapped, B matched",
       "AB",
       "BA",
       {{1, 0}},
       {"Delete 1 1 0 0 [a] []", "Insert 2 2 2 2 [] [a]"}},
      {"first of two left lines deleted",
       "AA",
       "A",
       {{1, 0}},
       {"Delete 1 1 0 0 [a] []"}},
      {"second of two left lines deleted",
       "AA",
       "A",
       {{0, 0}},
       {"Delete 2 2 1 1 [a] []"}},
      {"first right line inserted",
       "A",
       "AA",
       {{0, 1}},
       {"Insert 0 0 1 1 [] [a]"}},
      {"second right line inserted",
       "A",
       "AA",
       {{0, 0}},
       {"Insert 1 1 2 2 [] [a]"}},
      {"change between common lines",
       "AXB",
       "AYB",
       {{0, 0}, {2, 2}},
       {"Change 2 2 2 2 [x] [y]"}},
      {"delete and insert around a common line",
       "XA",
       "AY",
       {{1, 0}},
       {"Delete 1 1 0 0 [x] []", "Insert 2 2 2 2 [] [y]"}},
      {"runs of several lines",
       "PQABCRS",
       "ABCTU",
       {{2, 0}, {3, 1}, {4, 2}},
       {"Delete 1 2 0 0 [p,q] []", "Change 6 7 4 5 [r,s] [t,u]"}},
      {"left empty", "", "ABC", {}, {"Insert 0 0 1 3 [] [a,b,c]"}},
      {"right empty", "AB", "", {}, {"Delete 1 2 0 0 [a,b] []"}},
      {"both empty", "", "", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto left = letters(c.left);
    const auto right = letters(c.right);
    const auto script = edits_from_pairs(left, right, runs_of(c.pairs));
    EXPECT_EQ(c.expected, describe(script));
    EXPECT_EQ("", test::check_script(left, right, script));
  }
}

TEST(EditsFromPairs, ARunCountsAsItsPairs) {
  const auto left = letters("PQABCRS");
  const auto right = letters("ABCTU");
  EXPECT_EQ(describe(edits_from_pairs(left, right,
                                      runs_of({{2, 0}, {3, 1}, {4, 2}}))),
            describe(edits_from_pairs(left, right, {{2, 0, 3}})));
}

TEST(ComputeDiff, SmallInputs) {
  struct Case {
    const char* name;
    std::vector<types::CompareLine> left;
    std::vector<types::CompareLine> right;
    Script expected;
  } cases[] = {
      {"both empty", {}, {}, {}},
      {"left empty", {}, letters("XYZ"), {"Insert 0 0 1 3 [] [x,y,z]"}},
      {"right empty", letters("AB"), {}, {"Delete 1 2 0 0 [a,b] []"}},
      {"equal normalised forms, different texts",
       {{.text = "Hello", .normalized = "hello"},
        {.text = "x", .normalized = "x"}},
       {{.text = "HELLO", .normalized = "hello"},
        {.text = "x", .normalized = "x"}},
       {}},
      {"nothing in common",
       letters("ABC"),
       letters("XY"),
       {"Change 1 3 1 2 [a,b,c] [x,y]"}},
      {"swapped lines take the table's choice",
       letters("AB"),
       letters("BA"),
       {"Insert 0 0 1 1 [] [b]", "Delete 2 2 2 2 [b] []"}},
      {"doubled left line: the first is deleted",
       letters("AA"),
       letters("A"),
       {"Delete 1 1 0 0 [a] []"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool ignore_blank_lines : {false, true}) {
      const auto script = compute_diff(
          c.left, c.right, {.ignore_blank_lines = ignore_blank_lines});
      EXPECT_EQ(c.expected, describe(script));
    }
  }
}

// Lines A, B or B, A, then fillers f0, f1, ... common to both sides.
std::vector<types::CompareLine> swapped_head(bool swapped, int fillers,
                                             int extra = 0) {
  std::vector<std::string> texts = {swapped ? "B" : "A", swapped ? "A" : "B"};
  for (int i = 0; i < fillers; ++i) texts.push_back("f" + std::to_string(i));
  for (int i = 0; i < extra; ++i) texts.push_back("g" + std::to_string(i));
  return plain(texts);
}

TEST(ComputeDiff, TableBelowAMillionLinePairsDiagonalSearchFromThere) {
  // The two strategies match different lines of a swapped pair, which shows
  // which one ran.
  struct Case {
    const char* name;
    std::vector<types::CompareLine> left;
    std::vector<types::CompareLine> right;
    Script expected;
  } cases[] = {
      {"999 x 1001 lines: the table",
       swapped_head(false, 997),
       swapped_head(true, 997, 2),
       {"Insert 0 0 1 1 [] [B]", "Delete 2 2 2 2 [B] []",
        "Insert 999 999 1000 1001 [] [g0,g1]"}},
      {"1000 x 1000 lines: the diagonal search",
       swapped_head(false, 998),
       swapped_head(true, 998),
       {"Delete 1 1 0 0 [A] []", "Insert 2 2 2 2 [] [A]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto script = compute_diff(c.left, c.right, {});
    EXPECT_EQ(c.expected, describe(script));
    EXPECT_EQ("", test::check_script(c.left, c.right, script));
  }
}

TEST(ComputeDiff, IgnoreBlankLinesDropsOnlyAllBlankRecords) {
  struct Case {
    const char* name;
    std::vector<std::string> left;
    std::vector<std::string> right;
    Script script;    // before the filter
    Script filtered;  // with ignore_blank_lines
  } cases[] = {
      {"insert of space, tab and empty lines",
       {"a"},
       {"a", " ", "\t", ""},
       {"Insert 1 1 2 4 [] [ ,\t,]"},
       {}},
      {"change from spaces to an empty line",
       {"a", "   ", "b"},
       {"a", "", "b"},
       {"Change 2 2 2 2 [   ] []"},
       {}},
      {"change from a non-blank line to an empty one",
       {"a", "x", "b"},
       {"a", "", "b"},
       {"Change 2 2 2 2 [x] []"},
       {"Change 2 2 2 2 [x] []"}},
      {"delete of an empty and a non-blank line",
       {"", "x", "a"},
       {"a"},
       {"Delete 1 2 0 0 [,x] []"},
       {"Delete 1 2 0 0 [,x] []"}},
      {"left empty, right all blank",
       {},
       {"", " "},
       {"Insert 0 0 1 2 [] [, ]"},
       {}},
      {"numbers after a dropped record stay",
       {"a", " ", "b", "c"},
       {"a", "b", "d"},
       {"Delete 2 2 1 1 [ ] []", "Change 4 4 3 3 [c] [d]"},
       {"Change 4 4 3 3 [c] [d]"}},
      {"other Unicode white space",
       {"a"},
       {"a", "\u3000\u00a0", "\u2028"},
       {"Insert 1 1 2 3 [] [\u3000\u00a0,\u2028]"},
       {}},
      {"a visible character among spaces",
       {"a"},
       {"a", " \u00b7 "},
       {"Insert 1 1 2 2 [] [ \u00b7 ]"},
       {"Insert 1 1 2 2 [] [ \u00b7 ]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto left = plain(c.left);
    const auto right = plain(c.right);
    EXPECT_EQ(c.script, describe(compute_edit_script(left, right)));
    EXPECT_EQ(c.script, describe(compute_diff(left, right, {})));
    EXPECT_EQ(c.filtered, describe(compute_diff(left, right,
                                                {.ignore_blank_lines = true})));
  }
}

TEST(ComputeDiff, BlankFilterLooksAtTheTextsNotTheNormalisedForms) {
  const std::vector<types::CompareLine> left = {
      {.text = "a", .normalized = "a"},
      {.text = "  ", .normalized = "blank"},
      {.text = "b", .normalized = "b"},
      {.text = "x", .normalized = ""}};
  const std::vector<types::CompareLine> right = {
      {.text = "a", .normalized = "a"}, {.text = "b", .normalized = "b"}};
  EXPECT_EQ(Script{"Delete 4 4 2 2 [x] []"},
            describe(compute_diff(left, right, {.ignore_blank_lines = true})));
}

}  // namespace
}  // namespace diff
