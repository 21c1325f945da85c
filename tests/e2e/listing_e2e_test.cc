// The side-by-side listing through the built program: rows, markers,
// layout options, comparison options and the exit status.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

std::string tabs(std::size_t n) {
  return std::string(n, '\t');
}
std::string spaces(std::size_t n) {
  return std::string(n, ' ');
}

// `text` followed by spaces up to `column`; for the expanded layouts, where
// every fill is spaces. With -t -w 40 a half holds 18 columns, the marker
// stands at column 19 and the right text starts at column 22.
std::string pad(const std::string& text, std::size_t column) {
  return text + spaces(column - text.size());
}

// The default layout (width 130, tabs of 8): from a short left text (under
// 8 columns) to the marker at column 62, and to the right text at 64.
const std::string kToMarker = tabs(7) + spaces(6);
const std::string kToRight = tabs(8);

struct Case {
  const char* name;
  std::vector<std::string> options;
  std::string left;
  std::string right;
  std::string out;
  int status;
};

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::vector<std::string> args = c.options;
    args.push_back(dir.write("left", c.left));
    args.push_back(dir.write("right", c.right));
    const auto result = run_vrelsdiff(args);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(c.status, result.status);
  }
}

TEST(Listing, MarksEachKindOfRow) {
  check({
      {"changed and common",
       {},
       "abc\nsame\n",
       "abd\nsame\n",
       "abc" + kToMarker + "|\tabd\n" + "same" + kToRight + "same\n",
       1},
      {"left only, common, right only",
       {},
       "p\na\n",
       "a\nq\n",
       "p" + kToMarker + "<\n" + "a" + kToRight + "a\n" + kToMarker + ">\tq\n",
       1},
      {"identical files",
       {},
       "one\ntwo\n",
       "one\ntwo\n",
       "one" + kToRight + "one\n" + "two" + kToRight + "two\n",
       0},
      {"both files empty", {}, "", "", "", 0},
      {"left file empty",
       {},
       "",
       "x\ny",
       kToMarker + ">\tx\n" + kToMarker + ">\ty\n",
       1},
      {"right file empty", {}, "x\n", "", "x" + kToMarker + "<\n", 1},
      {"a last line without its line end",
       {},
       "a",
       "a\nb",
       "a" + kToRight + "a\n" + kToMarker + ">\tb\n",
       1},
      {"a blank line against text",
       {},
       "a\n\n",
       "a\nx\n",
       "a" + kToRight + "a\n" + kToMarker + "|\tx\n",
       1},
      {"text against a blank line",
       {},
       "x\n",
       "\n",
       "x" + kToMarker + "|\n",
       1},
  });
}

// Left a, b, c, d against a, x, y, z, d: a change longer on the right.
const std::string kLeft = "a\nb\nc\nd\n";
const std::string kRight = "a\nx\ny\nz\nd\n";

TEST(Listing, ChoosesRowsAndMarkersByOption) {
  const std::vector<std::string> narrow = {"-t", "-w", "40"};
  auto with = [&](std::vector<std::string> more) {
    more.insert(more.end(), narrow.begin(), narrow.end());
    return more;
  };
  check({
      {"every row", narrow, kLeft, kRight,
       pad("a", 22) + "a\n" + pad("b", 19) + "|  x\n" + pad("c", 19) +
           "|  y\n" + pad("", 19) + ">  z\n" + pad("d", 22) + "d\n",
       1},
      {"-s keeps the differing rows", with({"-s"}), kLeft, kRight,
       pad("b", 19) + "|  x\n" + pad("c", 19) + "|  y\n" + pad("", 19) +
           ">  z\n",
       1},
      {"-s on identical files prints nothing", with({"-s"}), kLeft, kLeft, "",
       0},
      {"-l shows common rows in the left column", with({"-l"}), kLeft, kRight,
       pad("a", 19) + "(\n" + pad("b", 19) + "|  x\n" + pad("c", 19) +
           "|  y\n" + pad("", 19) + ">  z\n" + pad("d", 19) + "(\n",
       1},
      {"-l on identical files", with({"-l"}), "a\n", "a\n",
       pad("a", 19) + "(\n", 0},
      {"-l -s drops the common rows", with({"-l", "-s"}), kLeft, kRight,
       pad("b", 19) + "|  x\n" + pad("c", 19) + "|  y\n" + pad("", 19) +
           ">  z\n",
       1},
      {"-l -s on identical files", with({"-l", "-s"}), kLeft, kLeft, "", 0},
      {"a left-only row with -s", with({"-s"}), "a\nb\nc\n", "a\nc\n",
       pad("b", 19) + "<\n", 1},
  });
}

TEST(Listing, LaysOutTabsAndWidths) {
  const std::string long_a(100, 'a');
  const std::string long_b(300, 'b');
  std::string cjk;
  for (int i = 0; i < 10; ++i) cjk += "\xe4\xb8\x80";  // ten characters
  check({
      {"-t expands tabs in the texts",
       {"-t", "-w", "40"},
       "a\tb\n",
       "a\tc\n",
       "a" + spaces(7) + "b" + spaces(10) + "|  a" + spaces(7) + "c\n",
       1},
      {"tabs kept in tab mode",
       {},
       "a\tb\n",
       "a\tb\n",
       "a\tb" + tabs(7) + "a\tb\n",
       0},
      {"--tabsize 4",
       {"--tabsize", "4", "-w", "80"},
       "a\tb\n",
       "a\tc\n",
       "a\tb" + tabs(8) + "  |\ta\tc\n",
       1},
      {"width 20",
       {"-w", "20"},
       "abcdefg\nsame\n",
       "abcdefh\nsame\n",
       "abcde |\tabcde\nsame\tsame\n",
       1},
      {"expanded tabs cut at the half width",
       {"-t", "-w", "20"},
       "abcdefghij\n",
       "x\ty\n",
       "abcdefgh |  x" + spaces(7) + "\n",
       1},
      {"no room for the halves",
       {"-w", "20", "--tabsize", "20"},
       "abc\n",
       "abd\n",
       spaces(9) + "|\t\n",
       1},
      {"width 500",
       {"-w", "500"},
       "L\n" + long_b + "\n",
       "R\ny\n",
       "L" + tabs(30) + spaces(6) + "|\tR\n" + long_b.substr(0, 245) +
           " |\ty\n",
       1},
      {"long lines cut at the half width",
       {},
       long_a + "\n",
       long_b + "\n",
       long_a.substr(0, 61) + " |\t" + long_b.substr(0, 61) + "\n",
       1},
      {"CJK characters count one column each",
       {"-w", "20"},
       cjk + "\n",
       "x\n",
       cjk.substr(0, 15) + " |\tx\n",
       1},
      {"CJK common row",
       {},
       "\xe4\xb8\xad\xe6\x96\x87\n",
       "\xe4\xb8\xad\xe6\x96\x87\n",
       "\xe4\xb8\xad\xe6\x96\x87" + kToRight + "\xe4\xb8\xad\xe6\x96\x87\n",
       0},
      {"CRLF line ends are removed",
       {},
       "a\r\nb\r\n",
       "a\nc\n",
       "a" + kToRight + "a\n" + "b" + kToMarker + "|\tc\n",
       1},
      {"a carriage return inside a line is kept",
       {},
       "x\ry\n",
       "x\ry\n",
       "x\ry" + kToRight + "x\ry\n",
       0},
  });
}

TEST(Listing, CommonRowsShowBothTextsAsRead) {
  check({
      {"-i", {"-i"}, "Hello\n", "hELLO\n", "Hello" + kToRight + "hELLO\n", 0},
      {"-b", {"-b"}, "a  b\n", "a b\n", "a  b" + kToRight + "a b\n", 0},
      {"--ignore-all-space",
       {"--ignore-all-space"},
       "a b c\n",
       "abc\n",
       "a b c" + kToRight + "abc\n",
       0},
      {"-Z", {"-Z"}, "a\n", "a  \n", "a" + kToRight + "a  \n", 0},
      {"-E",
       {"-E"},
       "a\tb\n",
       "a       b\n",
       "a\tb" + tabs(7) + "a       b\n",
       0},
      {"a real difference still counts",
       {"-i"},
       "Hello\nx\n",
       "hello\ny\n",
       "Hello" + kToRight + "hello\n" + "x" + kToMarker + "|\ty\n",
       1},
  });
}

TEST(Listing, BlankLinesIgnoredAreCommonRows) {
  check({
      {"an even blank change",
       {"-B"},
       "a\n\nb\n",
       "a\n \nb\n",
       "a" + kToRight + "a\n" + kToRight + " \n" + "b" + kToRight + "b\n",
       0},
      {"an inserted empty line stands alone as an empty row",
       {"-B"},
       "a\nb\n",
       "a\n\nb\n",
       "a" + kToRight + "a\n" + "\n" + "b" + kToRight + "b\n",
       0},
      {"an inserted blank line stands in the right column",
       {"-B"},
       "a\nb\n",
       "a\n  \nb\n",
       "a" + kToRight + "a\n" + kToRight + "  \n" + "b" + kToRight + "b\n",
       0},
      {"blank lines inserted at the top",
       {"-B"},
       "a\n",
       " \n\na\n",
       kToRight + " \n" + "\n" + "a" + kToRight + "a\n",
       0},
      {"blank lines added at the end",
       {"-B"},
       "a\n",
       "a\n\t\n",
       "a" + kToRight + "a\n" + kToRight + "\t\n",
       0},
      {"a blank change of two lines against one",
       {"-B"},
       "a\n\n \nb\n",
       "a\n\t\nb\n",
       "a" + kToRight + "a\n" + kToRight + "\t\n" + " \n" + "b" + kToRight +
           "b\n",
       0},
      {"-s hides them",
       {"-B", "-s"},
       "a\nb\n",
       "a\n\nb\nc\n",
       kToMarker + ">\tc\n",
       1},
      {"-l shows the left column form",
       {"-B", "-l"},
       "a\nb\n",
       "a\n\nb\n",
       "a" + kToMarker + "(\n" + kToMarker + "(\n" + "b" + kToMarker + "(\n",
       0},
      {"matched lines keep their partners",
       {"-B"},
       "a\nb\nc\n",
       "\na\nx\nc\n",
       "\na" + kToRight + "a\n" + "b" + kToMarker + "|\tx\n" + "c" + kToRight +
           "c\n",
       1},
      {"without -B the blank line is a difference",
       {},
       "a\nb\n",
       "a\n\nb\n",
       "a" + kToRight + "a\n" + kToMarker + ">\n" + "b" + kToRight + "b\n",
       1},
  });
}

TEST(Listing, ReadsDashFromStandardInput) {
  TempDir dir;
  const std::string file = dir.write("file", "a\nc\n");
  const std::string piped = "a\nb\n";
  struct DashCase {
    const char* name;
    std::vector<std::string> args;
    std::string out;
  };
  const DashCase cases[] = {
      {"dash on the left",
       {"-", file},
       "a" + kToRight + "a\n" + "b" + kToMarker + "|\tc\n"},
      {"dash on the right",
       {file, "-"},
       "a" + kToRight + "a\n" + "c" + kToMarker + "|\tb\n"},
  };
  for (const DashCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = run_vrelsdiff(c.args, RunOptions{.input = piped});
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(1, result.status);
  }
}

TEST(Listing, ReportsAClosedPipeOnStandardOutput) {
  TempDir dir;
  // More than a pipe holds, so that some row meets the closed pipe even if
  // the program starts writing before the reader has gone.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "line " + std::to_string(i) + "\n";
  const auto result =
      run_vrelsdiff({dir.write("left", many), dir.write("right", many)},
                    RunOptions{.stdout_broken = true});
  EXPECT_EQ("vrelsdiff: Broken pipe (os error 32)\n", result.err);
  EXPECT_EQ(2, result.status);
}

TEST(Listing, ReportsAFileThatCannotBeRead) {
  TempDir dir;
  const std::string bad = dir.write("bad", "ok\n\xc3\n");
  const auto result = run_vrelsdiff({bad, dir.write("good", "ok\n")});
  EXPECT_EQ("", result.out);
  EXPECT_EQ("vrelsdiff: " + bad + ": invalid UTF-8 content\n", result.err);
  EXPECT_EQ(2, result.status);
}

}  // namespace
