// Parsing merge answers and applying the choices that take a row's texts.
#include "sdiff/merge_commands.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace sdiff {
namespace {

using Kind = InteractiveCommandKind;

TEST(InteractiveCommandParse, RecognisesEveryAnswerAfterTrimAndLowerCase) {
  struct Case {
    std::string answer;
    Kind expected;
  } cases[] = {
      {"l\n", Kind::Left},
      {"1\n", Kind::Left},
      {"<\n", Kind::Left},
      {"r\n", Kind::Right},
      {"2\n", Kind::Right},
      {">\n", Kind::Right},
      {"b\n", Kind::Both},
      {"3\n", Kind::Both},
      {"e\n", Kind::Edit},
      {"el\n", Kind::EditLeft},
      {"er\n", Kind::EditRight},
      {"s\n", Kind::Skip},
      {"q\n", Kind::Quit},
      {"?\n", Kind::Help},
      {"h\n", Kind::Help},
      {"help\n", Kind::Help},
      {"silent\n", Kind::Silent},
      // Line ends, blanks and capitals.
      {"l", Kind::Left},
      {"  l \t", Kind::Left},
      {"L\r\n", Kind::Left},
      {"\u00a0l\n", Kind::Left},
      {"\u3000l\u3000\n", Kind::Left},
      {"\u2028r\u0085", Kind::Right},
      {"HELP\n", Kind::Help},
      {"Help\n", Kind::Help},
      {"H\n", Kind::Help},
      {"SILENT\n", Kind::Silent},
      {"EL\n", Kind::EditLeft},
      {"Er\n", Kind::EditRight},
      {"Q\n", Kind::Quit},
      // Empty answers: a bare line end, blanks only, end of input.
      {"\n", Kind::Skip},
      {" \t \n", Kind::Skip},
      {"\u00a0\u3000\r\n", Kind::Skip},
      {"", Kind::Skip},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("answer: \"" + c.answer + "\"");
    EXPECT_EQ(c.expected, InteractiveCommand::parse(c.answer).kind);
  }
}

TEST(InteractiveCommandParse, AnythingElseIsUnrecognized) {
  const std::string answers[] = {
      "left\n",
      "ll\n",
      "l r\n",
      "e l\n",
      "sil\n",
      "silently\n",
      "0\n",
      "4\n",
      "quit\n",
      "yes\n",
      "-l\n",
      std::string("l\0x", 3),
      // Non-ASCII letters never make a keyword, even where they lower-case
      // to something close to one.
      "\u0130\n",
      "\u212a\n",
      "\u00e9l\n",
      // Bytes that are no UTF-8 at all.
      "l\xff\n",
      "\xc3\n",
  };
  for (const std::string& answer : answers) {
    SCOPED_TRACE("answer: \"" + answer + "\"");
    EXPECT_EQ(Kind::Unrecognized, InteractiveCommand::parse(answer).kind);
  }
}

SdiffLine row_of(SdiffLineKind kind, std::optional<std::string_view> left,
                 std::optional<std::string_view> right) {
  SdiffLine row;
  row.kind = kind;
  if (left)
    row.left_line_number = 1;
  if (right)
    row.right_line_number = 1;
  row.left_text = left;
  row.right_text = right;
  return row;
}

TEST(HandleInteractiveChoice, AppendsTheTextsTheCommandTakes) {
  const SdiffLine changed = row_of(SdiffLineKind::Changed, "left", "right");
  const SdiffLine left_only = row_of(SdiffLineKind::LeftOnly, "gone", {});
  const SdiffLine right_only = row_of(SdiffLineKind::RightOnly, {}, "new");
  const SdiffLine empty_left = row_of(SdiffLineKind::Changed, "", "x");
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    Kind command;
    const SdiffLine& row;
    Lines expected;
    bool silent;
  } cases[] = {
      {"left of changed", Kind::Left, changed, {"left"}, false},
      {"right of changed", Kind::Right, changed, {"right"}, false},
      {"both of changed", Kind::Both, changed, {"left", "right"}, false},
      {"both of left-only", Kind::Both, left_only, {"gone"}, false},
      {"both of right-only", Kind::Both, right_only, {"new"}, false},
      {"right of left-only", Kind::Right, left_only, {}, false},
      {"left of right-only", Kind::Left, right_only, {}, false},
      {"empty left text", Kind::Left, empty_left, {""}, false},
      {"silent on changed", Kind::Silent, changed, {"left"}, true},
      {"silent on right-only", Kind::Silent, right_only, {}, true},
      {"skip", Kind::Skip, changed, {}, false},
      {"unrecognized", Kind::Unrecognized, changed, {}, false},
      {"edit", Kind::Edit, changed, {}, false},
      {"edit left", Kind::EditLeft, changed, {}, false},
      {"edit right", Kind::EditRight, changed, {}, false},
      {"quit", Kind::Quit, changed, {}, false},
      {"help", Kind::Help, changed, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InteractiveMergeState state;
    state.output_lines = {"earlier"};
    state.difference_count = 3;
    handle_interactive_choice({c.command}, c.row, state);
    Lines expected = {"earlier"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(expected,
              Lines(state.output_lines.begin(), state.output_lines.end()));
    EXPECT_EQ(c.silent, state.silent_mode);
    EXPECT_FALSE(state.quit_requested);
    EXPECT_EQ(3u, state.difference_count);
  }
}

}  // namespace
}  // namespace sdiff
