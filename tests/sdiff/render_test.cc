// Column geometry, the half-line renderer and whole rows, byte for byte.
#include "sdiff/render.h"

#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

using sdiff::column_geometry;
using sdiff::format_sdiff_line_output;
using sdiff::sdiff_print_half_line;

std::string tabs(std::size_t n) {
  return std::string(n, '\t');
}
std::string spaces(std::size_t n) {
  return std::string(n, ' ');
}

TEST(ColumnGeometry, MatchesTheLayoutTable) {
  struct Case {
    std::uint64_t width;
    std::uint64_t tabsize;
    bool expand;
    std::uint64_t half_width;
    std::uint64_t right_column_start;
    std::uint64_t marker_column;
  };
  const Case cases[] = {
      {20, 8, false, 5, 8, 6},        {20, 8, true, 8, 12, 9},
      {20, 1, false, 8, 12, 9},       {20, 16, false, 4, 16, 9},
      {20, 19, false, 1, 19, 9},      {20, 20, false, 0, 20, 9},
      {21, 8, false, 5, 16, 10},      {40, 8, false, 16, 24, 19},
      {72, 8, false, 32, 40, 35},     {80, 8, false, 37, 40, 38},
      {80, 8, true, 38, 42, 39},      {80, 4, false, 37, 40, 38},
      {100, 4, false, 48, 52, 49},    {130, 8, false, 61, 64, 62},
      {130, 8, true, 63, 67, 64},     {130, 4, false, 62, 68, 64},
      {130, 32, false, 61, 64, 62},   {200, 8, false, 96, 104, 99},
      {500, 8, false, 245, 248, 246}, {500, 32, false, 244, 256, 249},
      {500, 8, true, 248, 252, 249},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width << " tabsize "
                                    << c.tabsize << " expand " << c.expand);
    const auto geometry = column_geometry(c.width, c.tabsize, c.expand);
    EXPECT_EQ(c.half_width, geometry.half_width);
    EXPECT_EQ(c.right_column_start, geometry.right_column_start);
    // The marker's column, seen in a row of spaces up to it.
    EXPECT_EQ(spaces(c.marker_column) + "|",
              format_sdiff_line_output(std::nullopt, '|', std::nullopt,
                                       geometry.half_width,
                                       geometry.right_column_start, c.tabsize,
                                       /*expand_tabs=*/true));
  }
}

TEST(ColumnGeometry, LeavesNoHalvesWhenTheWidthIsTooSmall) {
  struct Case {
    std::uint64_t width;
    std::uint64_t tabsize;
  };
  const Case cases[] = {{20, 21}, {20, 32}, {32, 32}, {0, 8}, {3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "width " << c.width << " tabsize " << c.tabsize);
    const auto geometry = column_geometry(c.width, c.tabsize, false);
    EXPECT_EQ(0u, geometry.half_width);
    EXPECT_EQ(c.width, geometry.right_column_start);
  }
}

TEST(ColumnGeometry, CountsTabSizeZeroAsOne) {
  const auto geometry = column_geometry(20, 0, false);
  EXPECT_EQ(8u, geometry.half_width);
  EXPECT_EQ(12u, geometry.right_column_start);
}

TEST(ColumnGeometry, KeepsItsBoundsOverTheAcceptedRanges) {
  for (std::uint64_t width = 20; width <= 500; ++width) {
    for (std::uint64_t tabsize = 1; tabsize <= 32; ++tabsize) {
      for (bool expand : {false, true}) {
        const auto g = column_geometry(width, tabsize, expand);
        const std::uint64_t unit = expand ? 1 : tabsize;
        if (g.half_width == 0) {
          EXPECT_EQ(width, g.right_column_start);
          EXPECT_TRUE(!expand && tabsize >= width) << width << " " << tabsize;
          continue;
        }
        const std::uint64_t marker =
            (g.half_width + g.right_column_start - 1) / 2;
        ASSERT_EQ(0u, g.right_column_start % unit) << width << " " << tabsize;
        ASSERT_LE(g.half_width + 3, g.right_column_start) << width;
        ASSERT_LE(g.right_column_start + g.half_width, width) << width;
        ASSERT_LT(g.half_width, marker) << width << " " << tabsize;
        ASSERT_LT(marker, g.right_column_start) << width << " " << tabsize;
      }
    }
  }
}

TEST(SdiffPrintHalfLine, CutsAtTheBound) {
  struct Case {
    const char* name;
    std::string text;
    std::uint64_t bound;
    std::uint64_t tabsize;
    bool expand;
    std::string written;
    std::uint64_t column;
  };
  const std::string cjk = "\xe4\xb8\xad";  // one character, three bytes
  const Case cases[] = {
      {"tab before the bound", "ab\t", 10, 8, false, "ab\t", 8},
      {"tab stop at the bound is dropped", "ab\t", 8, 8, false, "ab", 2},
      {"leading tab in tab mode", "\tabc", 8, 8, false, "", 0},
      {"leading tab in expand mode", "\tabc", 8, 8, true, spaces(8), 8},
      {"expanded tab inside the text", "a\tb", 20, 8, true,
       "a" + spaces(7) + "b", 9},
      {"expanded tab cut at the bound", "abc\tz", 6, 8, true, "abc" + spaces(3),
       6},
      {"text after a cut tab is dropped", "a\tbcdef", 8, 8, false, "a", 1},
      {"text longer than the bound", "abcdefghij", 8, 8, false, "abcdefgh", 8},
      {"text exactly the bound", "abcde", 5, 8, false, "abcde", 5},
      {"tab after the cut moves nothing", "abcdef\tg", 4, 2, false, "abcd", 4},
      {"wide characters count one column each", cjk + cjk + cjk + cjk, 3, 8,
       false, cjk + cjk + cjk, 3},
      {"cut after a tab", "ab\tcdefgh", 10, 8, false, "ab\tcd", 10},
      {"wide characters cut after a tab", "\t" + cjk + cjk + cjk, 10, 8, false,
       "\t" + cjk + cjk, 10},
      {"a carriage return is copied and counts", "a\rb\r", 3, 8, false, "a\rb",
       3},
      {"empty text", "", 10, 8, false, "", 0},
      {"bound 0", "abc", 0, 8, false, "", 0},
      {"bound 0 with a tab in expand mode", "\tabc", 0, 8, true, "", 0},
      {"tab size 0 counts as 1", "a\tb", 5, 0, false, "a\tb", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = ">";
    EXPECT_EQ(c.column,
              sdiff_print_half_line(out, c.text, c.bound, c.tabsize, c.expand));
    EXPECT_EQ(">" + c.written, out);
  }
}

TEST(FormatSdiffLineOutput, WorkedRows) {
  struct Case {
    const char* name;
    std::optional<std::string> left;
    char marker;
    std::optional<std::string> right;
    std::uint64_t width;
    std::uint64_t tabsize;
    bool expand;
    std::string row;
  };
  std::string ten_cjk;
  for (int i = 0; i < 10; ++i) ten_cjk += "\xe4\xb8\x80";  // 10 characters
  const Case cases[] = {
      {"changed", "abc", '|', "abd", 130, 8, false,
       "abc" + tabs(7) + spaces(6) + "|\tabd"},
      {"common", "abc", ' ', "abc", 130, 8, false, "abc" + tabs(8) + "abc"},
      {"left column", "abc", '(', std::nullopt, 130, 8, false,
       "abc" + tabs(7) + spaces(6) + "("},
      {"right only", std::nullopt, '>', "xyz", 130, 8, false,
       tabs(7) + spaces(6) + ">\txyz"},
      {"expand mode cuts both halves", "abcdefghij", '|', "x\ty", 20, 8, true,
       "abcdefgh" + spaces(1) + "|" + spaces(2) + "x" + spaces(7)},
      {"no room for the halves", "abc", '|', "abd", 20, 20, false,
       spaces(9) + "|\t"},
      {"wide characters", ten_cjk, '|', "x", 20, 8, false,
       ten_cjk.substr(0, 15) + " |\tx"},
      // Edge cases around absent and empty texts.
      {"empty right text writes nothing after the marker", "abc", '|', "", 130,
       8, false, "abc" + tabs(7) + spaces(6) + "|"},
      {"blank marker and empty right text", "abc", ' ', "", 130, 8, false,
       "abc"},
      {"blank marker and absent right text", "abc", ' ', std::nullopt, 130, 8,
       false, "abc"},
      {"left only with an empty text", "", '<', std::nullopt, 130, 8, false,
       tabs(7) + spaces(6) + "<"},
      {"common row with both texts empty", "", ' ', "", 130, 8, false, ""},
      {"common row without a left text", std::nullopt, ' ', "x", 72, 8, false,
       tabs(5) + "x"},
      {"no halves, blank marker, right present", "abc", ' ', "abd", 20, 20,
       false, "\t"},
      {"right text's tab stops start at the right column", "a", '|', "b\tc", 72,
       8, false, "a" + tabs(4) + spaces(3) + "|\tb\tc"},
      {"expand mode pads with spaces", "ab", ' ', "cd", 40, 8, true,
       "ab" + spaces(20) + "cd"},
      {"expanded tab cut at the bound leaves trailing spaces", "a", '|',
       "bc\t\t\t", 20, 8, true,
       "a" + spaces(8) + "|" + spaces(2) + "bc" + spaces(6)},
      {"full left text in tab mode", "0123456789abcdef", '<', std::nullopt, 40,
       8, false, "0123456789abcdef" + spaces(3) + "<"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto g = column_geometry(c.width, c.tabsize, c.expand);
    const std::optional<std::string_view> left =
        c.left ? std::optional<std::string_view>(*c.left) : std::nullopt;
    const std::optional<std::string_view> right =
        c.right ? std::optional<std::string_view>(*c.right) : std::nullopt;
    EXPECT_EQ(c.row, format_sdiff_line_output(
                         left, c.marker, right, g.half_width,
                         g.right_column_start, c.tabsize, c.expand));
  }
}

}  // namespace
