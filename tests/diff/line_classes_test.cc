// Line numbering: equal numbers exactly for equal normalised bytes.
#include "diff/line_classes.h"

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
  // Every text on both sides, the right side in reverse and doubled.
  std::vector<std::string> right_texts(texts.rbegin(), texts.rend());
  right_texts.insert(right_texts.end(), texts.begin(), texts.end());
  const auto left = test::plain(texts);
  const auto right = test::plain(right_texts);
  const LineClasses classes = line_classes(left, right);
  ASSERT_EQ(left.size(), classes.left.size());
  ASSERT_EQ(right.size(), classes.right.size());
  for (std::size_t i = 0; i < left.size(); ++i) {
    for (std::size_t j = 0; j < left.size(); ++j) {
      SCOPED_TRACE(testing::Message() << "left " << i << ", left " << j);
      EXPECT_EQ(texts[i] == texts[j], classes.left[i] == classes.left[j]);
    }
    for (std::size_t j = 0; j < right.size(); ++j) {
      SCOPED_TRACE(testing::Message() << "left " << i << ", right " << j);
      EXPECT_EQ(texts[i] == right_texts[j],
                classes.left[i] == classes.right[j]);
    }
  }
}

}  // namespace
}  // namespace diff
