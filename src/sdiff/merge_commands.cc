// Parsing an answer and applying the one-sided and two-sided choices.
#include "sdiff/merge_commands.h"

#include <optional>
#include <string>
#include <string_view>

#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace sdiff {
namespace {

struct Keyword {
  std::string_view answer;
  InteractiveCommandKind kind;
};

// The whole vocabulary; the empty answer is handled apart.
constexpr Keyword kKeywords[] = {
    {"l", InteractiveCommandKind::Left},
    {"1", InteractiveCommandKind::Left},
    {"<", InteractiveCommandKind::Left},
    {"r", InteractiveCommandKind::Right},
    {"2", InteractiveCommandKind::Right},
    {">", InteractiveCommandKind::Right},
    {"b", InteractiveCommandKind::Both},
    {"3", InteractiveCommandKind::Both},
    {"e", InteractiveCommandKind::Edit},
    {"el", InteractiveCommandKind::EditLeft},
    {"er", InteractiveCommandKind::EditRight},
    {"s", InteractiveCommandKind::Skip},
    {"q", InteractiveCommandKind::Quit},
    {"?", InteractiveCommandKind::Help},
    {"h", InteractiveCommandKind::Help},
    {"help", InteractiveCommandKind::Help},
    {"silent", InteractiveCommandKind::Silent},
};

void append_if_present(const std::optional<std::string_view>& text,
                       InteractiveMergeState& state) {
  if (text)
    state.output_lines.push_back(*text);
}

}  // namespace

InteractiveCommand InteractiveCommand::parse(std::string_view answer) {
  // The merge hands over checked UTF-8 only; anything else is no keyword,
  // and the white-space and case rules are defined on UTF-8 alone.
  if (!io_utils::is_valid_utf8(answer))
    return {Unrecognized};
  const std::string normalized =
      io_utils::to_lowercase(io_utils::trim_whitespace(answer));
  if (normalized.empty())
    return {Skip};
  for (const Keyword& keyword : kKeywords) {
    if (normalized == keyword.answer)
      return {keyword.kind};
  }
  return {Unrecognized};
}

void handle_interactive_choice(InteractiveCommand command, const SdiffLine& row,
                               InteractiveMergeState& state) {
  switch (command.kind) {
    case InteractiveCommand::Left:
      append_if_present(row.left_text, state);
      break;
    case InteractiveCommand::Right:
      append_if_present(row.right_text, state);
      break;
    case InteractiveCommand::Both:
      append_if_present(row.left_text, state);
      append_if_present(row.right_text, state);
      break;
    case InteractiveCommand::Silent:
      state.silent_mode = true;
      append_if_present(row.left_text, state);
      break;
    case InteractiveCommand::Edit:
    case InteractiveCommand::EditLeft:
    case InteractiveCommand::EditRight:
    case InteractiveCommand::Skip:
    case InteractiveCommand::Quit:
    case InteractiveCommand::Help:
    case InteractiveCommand::Unrecognized:
      break;
  }
}

}  // namespace sdiff
