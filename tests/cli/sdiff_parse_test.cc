// The argument walk: argument lists against the whole resulting record.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/sdiff.h"

namespace cli::sdiff {
namespace {

// Every field in one line, so a failure names the field that differs.
std::string fields(const SdiffOptions& o) {
  auto text = [](const std::optional<std::string>& s) {
    return s ? "\"" + *s + "\"" : std::string("absent");
  };
  std::string out = "output=" + text(o.output) +
                    " width=" + std::to_string(o.width) +
                    " tabsize=" + std::to_string(o.tabsize) +
                    " horizon_lines=" + std::to_string(o.horizon_lines) +
                    " diff_program=" + text(o.diff_program) + " flags=";
  for (bool flag :
       {o.left_column, o.suppress_common_lines, o.expand_tabs, o.ignore_case,
        o.ignore_tab_expansion, o.ignore_trailing_space, o.ignore_space_change,
        o.ignore_all_space, o.ignore_blank_lines, o.text, o.strip_trailing_cr,
        o.help, o.version, o.verbose, o.minimal, o.speed_large_files}) {
    out += flag ? '1' : '0';
  }
  out += " files=[";
  for (const std::string& f : o.files) out += "\"" + f + "\",";
  return out + "]";
}

struct Case {
  const char* name;
  std::vector<std::string> args;  // after argument 0
  SdiffOptions expected;
};

void expect_parses(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"vrelsdiff"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(fields(c.expected), fields(parse_args_from(args)));
  }
}

TEST(ParseArgsFrom, OperandsAndEndOfOptions) {
  expect_parses({
      {"no arguments", {}, {}},
      {"options between operands",
       {"a", "-l", "b"},
       {.left_column = true, .files = {"a", "b"}}},
      {"dash and empty are operands",
       {"-", "", "-"},
       {.files = {"-", "", "-"}}},
      {"after -- everything is an operand",
       {"-s", "--", "-l", "--", "--width=9"},
       {.suppress_common_lines = true, .files = {"-l", "--", "--width=9"}}},
      {"many operands are kept", {"a", "b", "c"}, {.files = {"a", "b", "c"}}},
  });
}

// The rows above compare against the record's own defaults; this pins them.
TEST(ParseArgsFrom, OperandsAloneGiveTheDefaults) {
  EXPECT_EQ(
      "output=absent width=130 tabsize=8 horizon_lines=0 diff_program=absent "
      "flags=0000000000000000 files=[\"a\",\"-\",]",
      fields(parse_args_from({"vrelsdiff", "a", "-"})));
}

TEST(ParseArgsFrom, FlagsLongAndShort) {
  expect_parses({
      {"bundle of every short flag",
       {"-abBEhilstvZ"},
       {.left_column = true,
        .suppress_common_lines = true,
        .expand_tabs = true,
        .ignore_case = true,
        .ignore_tab_expansion = true,
        .ignore_trailing_space = true,
        .ignore_space_change = true,
        .ignore_blank_lines = true,
        .text = true,
        .help = true,
        .version = true}},
      {"every long flag",
       {"--left-column", "--suppress-common-lines", "--expand-tabs",
        "--ignore-case", "--ignore-tab-expansion", "--ignore-trailing-space",
        "--ignore-space-change", "--ignore-all-space", "--ignore-blank-lines",
        "--text", "--strip-trailing-cr", "--help", "--version", "--verbose",
        "--minimal", "--speed-large-files"},
       {.left_column = true,
        .suppress_common_lines = true,
        .expand_tabs = true,
        .ignore_case = true,
        .ignore_tab_expansion = true,
        .ignore_trailing_space = true,
        .ignore_space_change = true,
        .ignore_all_space = true,
        .ignore_blank_lines = true,
        .text = true,
        .strip_trailing_cr = true,
        .help = true,
        .version = true,
        .verbose = true,
        .minimal = true,
        .speed_large_files = true}},
      {"a repeated flag stays set",
       {"-l", "-ll", "--left-column"},
       {.left_column = true}},
  });
}

TEST(ParseArgsFrom, ShortWidth) {
  expect_parses({
      {"-w80", {"-w80"}, {.width = 80}},
      {"-w 80", {"-w", "80"}, {.width = 80}},
      {"-W 80", {"-W", "80"}, {.width = 80}},
      {"flags before -w in a bundle",
       {"-lw80", "a"},
       {.width = 80, .left_column = true, .files = {"a"}}},
      {"below 20 clamps", {"-w10"}, {.width = 20}},
      {"above 500 clamps", {"-w", "1000"}, {.width = 500}},
      {"largest 64-bit value clamps",
       {"-w18446744073709551615"},
       {.width = 500}},
      {"too large for 64 bits falls back",
       {"-w", "99999999999999999999"},
       {.width = 130}},
      {"leading zeros", {"-w0080"}, {.width = 80}},
      {"a rest with a letter is dropped, the next argument is the value",
       {"-w8x", "90"},
       {.width = 90}},
      {"a rest of letters is dropped whole, flags included",
       {"-wl", "90"},
       {.width = 90}},
      {"= in a bundle is no separator", {"-w=80", "90"}, {.width = 90}},
      {"the last one wins", {"-w80", "--width=abc"}, {.width = 130}},
  });
}

TEST(ParseArgsFrom, LongValues) {
  expect_parses({
      {"--width=80", {"--width=80"}, {.width = 80}},
      {"--width 80", {"--width", "80"}, {.width = 80}},
      {"--width with a plus sign", {"--width=+80"}, {.width = 80}},
      {"--width with letters falls back", {"--width=abc"}, {.width = 130}},
      {"--width empty falls back", {"--width="}, {.width = 130}},
      {"--width lone plus falls back", {"--width=+"}, {.width = 130}},
      {"--width negative falls back", {"--width", "-80"}, {.width = 130}},
      {"--width digits then letters fall back",
       {"--width=80x"},
       {.width = 130}},
      {"--width with blanks falls back", {"--width= 80"}, {.width = 130}},
      {"--tabsize is not clamped", {"--tabsize=99"}, {.tabsize = 99}},
      {"--tabsize 0 is stored", {"--tabsize", "0"}, {.tabsize = 0}},
      {"--tabsize not a number falls back, last one wins",
       {"--tabsize=4", "--tabsize=x"},
       {.tabsize = 8}},
      {"--horizon-lines", {"--horizon-lines=+12"}, {.horizon_lines = 12}},
      {"--horizon-lines not a number",
       {"--horizon-lines=7", "--horizon-lines=-1"},
       {.horizon_lines = 0}},
      {"--diff-program keeps its text",
       {"--diff-program", "my prog"},
       {.diff_program = "my prog"}},
      {"a value may hold further =", {"--output=a=b"}, {.output = "a=b"}},
      {"a separate value is taken whatever it looks like",
       {"--output", "--left-column"},
       {.output = "--left-column"}},
      {"--output= is the empty text", {"--output="}, {.output = ""}},
  });
}

TEST(ParseArgsFrom, OutputAndDiffProgramLetters) {
  expect_parses({
      {"-o in the same argument", {"-oout"}, {.output = "out"}},
      {"-o swallows option letters",
       {"-lol"},
       {.output = "l", .left_column = true}},
      {"-o then = keeps the =", {"-o=name"}, {.output = "=name"}},
      {"-o takes - as its value",
       {"-o", "-", "a"},
       {.output = "-", .files = {"a"}}},
      {"-o takes -- and it ends nothing",
       {"-o", "--", "-l"},
       {.output = "--", .left_column = true}},
      {"-o takes an empty value", {"-o", ""}, {.output = ""}},
      {"-d next argument",
       {"-d", "prog", "a"},
       {.diff_program = "prog", .files = {"a"}}},
      {"the last output wins", {"-o", "x", "--output=y"}, {.output = "y"}},
  });
}

// A value in an argument of its own is used up, and the walk goes on with
// the argument after it: neither is it skipped nor taken as a value again.
TEST(ParseArgsFrom, TheArgumentAfterASeparateValueIsWalkedNext) {
  expect_parses({
      {"--width then a flag",
       {"--width", "60", "-l", "a"},
       {.width = 60, .left_column = true, .files = {"a"}}},
      {"--output then an operand",
       {"--output", "out", "a"},
       {.output = "out", .files = {"a"}}},
      {"--tabsize then the end of options",
       {"--tabsize", "4", "--", "-s"},
       {.tabsize = 4, .files = {"-s"}}},
      {"--diff-program then a flag",
       {"--diff-program", "p", "-s", "b"},
       {.suppress_common_lines = true, .diff_program = "p", .files = {"b"}}},
      {"--horizon-lines then two operands",
       {"--horizon-lines", "3", "x", "y"},
       {.horizon_lines = 3, .files = {"x", "y"}}},
      {"two separate values in a row",
       {"--output", "o", "--width", "70", "z"},
       {.output = "o", .width = 70, .files = {"z"}}},
  });
}

TEST(ParseLongWithValue, SetsTheFieldOfTheName) {
  SdiffOptions options;
  parse_long_with_value(options, "width", "60", 3);
  parse_long_with_value(options, "output", "", 7);
  EXPECT_EQ(60u, options.width);
  EXPECT_EQ(std::optional<std::string>(""), options.output);
}

}  // namespace
}  // namespace cli::sdiff
