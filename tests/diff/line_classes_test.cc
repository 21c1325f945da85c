// Line numbering: equal numbers across the two lists exactly for equal
// normalised bytes.
#include "diff/line_classes.h"

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
    const std::optional<LineClasses> numbered =
        line_classes(test::plain(left_texts), test::plain(right_texts));
    ASSERT_TRUE(numbered.has_value());
    const LineClasses& classes = *numbered;
    ASSERT_EQ(left_texts.size(), classes.left.size());
    ASSERT_EQ(right_texts.size(), classes.right.size());
    for (std::size_t i = 0; i < left_texts.size(); ++i) {
      for (std::size_t j = 0; j < right_texts.size(); ++j) {
        SCOPED_TRACE(testing::Message() << "left " << i << ", right " << j);
        EXPECT_EQ(left_texts[i] == right_texts[j],
                  classes.left[i] == classes.right[j]);
      }
    }
    EXPECT_TRUE(classes.shared);
  }
}

TEST(LineClasses, SharedOnlyWhenSomeLineIsOnBothSides) {
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
    EXPECT_EQ(c.shared, classes->shared);
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
  EXPECT_FALSE(line_classes(lines, lines, 0).has_value());
  EXPECT_TRUE(line_classes(lines, lines).has_value());

  const auto blank = test::plain(std::vector<std::string>(1000, ""));
  EXPECT_TRUE(line_classes(blank, blank, 0).has_value());
}

}  // namespace
}  // namespace diff
