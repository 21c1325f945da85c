// Line numbering: equal numbers across the two lists exactly for equal
// normalised bytes.
#include "diff/line_classes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script_check.h"

namespace diff {
namespace {

TEST(LineClasses, EqualNumbersExactlyForEqualBytes) {
  // Lines that agree in length and in their first eight bytes or more, or
  // differ only past a NUL, or only in length, must not share a number.
  const std::vector<std::string> texts = {
      "",
      std::string("\0", 1),
      std::string("\0\0", 2),
      "abcdefgh",
      "abcdefgh1",
      "abcdefgh2",
      "abcdefgh12",
      std::string("abcdefgh\0x", 10),
      std::string("abcdefgh\0y", 10),
      "abcdefg",
      "a line long enough for three rounds, 1",
      "a line long enough for three rounds, 2",
      "a line long enough for three rounds! 1",
      "\xff\xfe",
      "\x01\x02",
  };
  // Every text on one side; on the other the texts in reverse and doubled,
  // and some found nowhere else. Either side may be the longer one.
  std::vector<std::string> others(texts.rbegin(), texts.rend());
  others.insert(others.end(), texts.begin(), texts.end());
  others.insert(others.end(), {"only here", "abcdefgh3", " "});
  for (bool others_left : {false, true}) {
    SCOPED_TRACE(others_left ? "longer list on the left" : "on the right");
    const auto& left_texts = others_left ? others : texts;
    const auto& right_texts = others_left ? texts : others;
    const auto left = test::plain(left_texts);
    const auto right = test::plain(right_texts);
    const std::optional<LineClasses> numbered = line_classes(left, right);
    ASSERT_TRUE(numbered.has_value());
    const LineClasses& classes = *numbered;
    // The key moves lines about in the table, never their numbers, so that
    // a run's output does not depend on it.
    const std::optional<LineClasses> other_key =
        line_classes(left, right, {.key = {.k0 = 1, .k1 = 2}});
    ASSERT_TRUE(other_key.has_value());
    EXPECT_EQ(classes.left, other_key->left);
    EXPECT_EQ(classes.right, other_key->right);
    ASSERT_EQ(left_texts.size(), classes.left.size());
    ASSERT_EQ(right_texts.size(), classes.right.size());
    for (std::size_t i = 0; i < left_texts.size(); ++i) {
      for (std::size_t j = 0; j < right_texts.size(); ++j) {
        SCOPED_TRACE(testing::Message() << "left " << i << ", right " << j);
        EXPECT_EQ(left_texts[i] == right_texts[j],
                  classes.left[i] == classes.right[j]);
      }
    }
  }
}

TEST(LineClasses, PartneredLinesOnlyWhenSomeLineIsOnBothSides) {
  struct Case {
    std::vector<std::string> left;
    std::vector<std::string> right;
    bool shared;
  } cases[] = {
      {{"a", "b", "a"}, {"c", "d", "ab", "A", "a "}, false},
      {{"x", "y", "z", "w"}, {"w"}, true},
      {{"", "", ""}, {"\t"}, false},
      {{"", "", ""}, {" ", ""}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.left) + " / " +
                 testing::PrintToString(c.right));
    const std::optional<LineClasses> classes =
        line_classes(test::plain(c.left), test::plain(c.right));
    ASSERT_TRUE(classes.has_value());
    const PartneredLists lists = partnered_lines(*classes);
    EXPECT_EQ(c.shared, !lists.left.classes.empty());
    EXPECT_EQ(c.shared, !lists.right.classes.empty());
  }
}

// Lines whose hashes collide make look-ups step over many slots. Short of
// such lines, a budget of no slot at all stands in: a thousand distinct
// lines in a table of 2,048 slots cannot all land where their hash points.
// Lines that all equal one another never step over a slot.
TEST(LineClasses, GivesUpWhenLookUpsStepOverTooManySlots) {
  std::vector<std::string> distinct;
  for (int i = 0; i < 1000; ++i)
    distinct.push_back("line " + std::to_string(i));
  const auto lines = test::plain(distinct);
  const NumberingLimits no_slot = {.slots_per_line = 0};
  EXPECT_FALSE(line_classes(lines, lines, no_slot).has_value());
  EXPECT_TRUE(line_classes(lines, lines).has_value());

  const auto blank = test::plain(std::vector<std::string>(1000, ""));
  EXPECT_TRUE(line_classes(blank, blank, no_slot).has_value());

  // One line fills one of the two slots of the shorter list's table without
  // a look-up stepping over anything; among a thousand other lines of the
  // longer list, some land on that slot and step over it.
  const auto one = test::plain({"line 0"});
  for (bool one_left : {false, true}) {
    SCOPED_TRACE(one_left ? "the one line on the left" : "on the right");
    const auto& left = one_left ? one : lines;
    const auto& right = one_left ? lines : one;
    EXPECT_FALSE(line_classes(left, right, no_slot).has_value());
    EXPECT_TRUE(line_classes(left, right).has_value());
  }
}

TEST(LineClasses, PartneredLinesKeepOnlyLinesOnBothSides) {
  struct Case {
    const char* left;
    const char* right;
    std::vector<std::uint32_t> left_kept;  // positions
    std::vector<std::uint32_t> right_kept;
  } cases[] = {
      {"AxBAy", "zBAw", {0, 2, 3}, {1, 2}},
      {"ABC", "XYZ", {}, {}},
      {"AAAA", "A", {0, 1, 2, 3}, {0}},
      {"A", "xAxAx", {0}, {1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.right);
    const std::optional<LineClasses> classes =
        line_classes(test::letters(c.left), test::letters(c.right));
    ASSERT_TRUE(classes.has_value());
    const PartneredLists lists = partnered_lines(*classes);
    EXPECT_EQ(c.left_kept, lists.left.positions);
    EXPECT_EQ(c.right_kept, lists.right.positions);
    for (std::size_t i = 0; i < lists.left.positions.size(); ++i) {
      EXPECT_EQ(classes->left[lists.left.positions[i]], lists.left.classes[i]);
      EXPECT_LT(lists.left.classes[i], lists.count);
    }
    for (std::size_t j = 0; j < lists.right.positions.size(); ++j) {
      EXPECT_EQ(classes->right[lists.right.positions[j]],
                lists.right.classes[j]);
    }
  }
}

TEST(LineClasses, PartneredRunsMapBackToRunsOfTheWholeLists) {
  // Left A x B A y, right z B A w: kept left 0, 2, 3 and right 1, 2.
  const std::optional<LineClasses> classes =
      line_classes(test::letters("AxBAy"), test::letters("zBAw"));
  ASSERT_TRUE(classes.has_value());
  const PartneredLists lists = partnered_lines(*classes);
  // B A of the kept lists is one run; on the whole lists it is left 2, 3
  // against right 1, 2, still one run.
  const CommonPairs runs =
      whole_list_pairs({{.left = 1, .right = 0, .length = 2}}, lists);
  EXPECT_EQ((CommonPairs{{.left = 2, .right = 1, .length = 2}}), runs);
  // A of the kept lists' first left line against right A: apart on the
  // whole lists from nothing, one pair.
  EXPECT_EQ((CommonPairs{{.left = 0, .right = 2, .length = 1}}),
            whole_list_pairs({{.left = 0, .right = 1, .length = 1}}, lists));
}

}  // namespace
}  // namespace diff
