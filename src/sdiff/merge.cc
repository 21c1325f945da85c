// The merge walk: each differing row shown, asked and answered, then the
// merged file written.
#include "sdiff/merge.h"

#include <unistd.h>

#include <string>
#include <string_view>
#include <utility>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"
#include "sdiff/answer_reader.h"
#include "sdiff/editor.h"
#include "sdiff/merge_commands.h"
#include "sdiff/merge_state.h"
#include "sdiff/merged_file.h"
#include "sdiff/rows.h"
#include "sdiff/shown_row.h"

namespace sdiff {
namespace {

using io_utils::Result;

constexpr std::string_view kPrompt = "% ";

// Written one line per write; it ends with the prompt for the next answer.
constexpr std::string_view kCommandSummary[] = {
    "\nInteractive merge commands:\n",
    "  l, 1, <    - Select content from left (first) file\n",
    "  r, 2, >    - Select content from right (second) file\n",
    "  b, 3       - Include content from both files\n",
    "  e          - Edit the current difference manually\n",
    "  el         - Edit content starting with left file\n",
    "  er         - Edit content starting with right file\n",
    "  s, Enter   - Skip this difference\n",
    "  q          - Quit the program\n",
    "  ?, h       - Display this help\n",
    "\n",
    kPrompt,
};

// The line the listing prints for this row, with its "\n", in one write
// so that it leaves the process before the prompt.
Result<void> show_row(const SdiffLine& row, const RowLayout& layout,
                      std::string& line) {
  line.clear();
  append_shown_row(line, row, layout);
  line += '\n';
  return io_utils::write_all(STDOUT_FILENO, line,
                             io_utils::kWriteBufferedZeroText);
}

// Each line is a write of its own; nothing is held back in the process.
Result<void> write_command_summary() {
  for (std::string_view piece : kCommandSummary) {
    if (Result<void> written = io_utils::write_all(STDERR_FILENO, piece);
        !written.ok()) {
      return written;
    }
  }
  return {};
}

std::string conflict_text(const SdiffLine& row) {
  std::string text = "<<<<<< LEFT (first file)\n";
  if (row.left_text) {
    text += *row.left_text;
    text += '\n';
  }
  text += "======\n";
  if (row.right_text) {
    text += *row.right_text;
    text += '\n';
  }
  text += ">>>>>> RIGHT (second file)\n";
  return text;
}

Result<void> take_edited(std::string_view text, InteractiveMergeState& state) {
  auto edited = launch_editor_with_content(text);
  if (!edited.ok())
    return std::move(edited.error());
  for (std::string& line : edited.value()) {
    state.output_lines.push_back(
        state.edited_lines.emplace_back(std::move(line)));
  }
  return {};
}

// Prompts for the row and acts on the answer; Help shows the summary and
// asks again for the same row.
Result<void> answer_row(const SdiffLine& row, AnswerReader& reader,
                        InteractiveMergeState& state) {
  if (Result<void> prompted = io_utils::write_all(STDERR_FILENO, kPrompt);
      !prompted.ok()) {
    return prompted;
  }
  for (;;) {
    Result<std::string> answer = read_answer(reader);
    if (!answer.ok())
      return std::move(answer.error());
    const InteractiveCommand command =
        InteractiveCommand::parse(answer.value());
    switch (command.kind) {
      case InteractiveCommand::Help:
        if (Result<void> shown = write_command_summary(); !shown.ok()) {
          return shown;
        }
        continue;
      case InteractiveCommand::Quit:
        state.quit_requested = true;
        return {};
      case InteractiveCommand::Edit:
        return take_edited(conflict_text(row), state);
      case InteractiveCommand::EditLeft:
        return take_edited(row.left_text.value_or(""), state);
      case InteractiveCommand::EditRight:
        return take_edited(row.right_text.value_or(""), state);
      case InteractiveCommand::Left:
      case InteractiveCommand::Right:
      case InteractiveCommand::Both:
      case InteractiveCommand::Skip:
      case InteractiveCommand::Silent:
      case InteractiveCommand::Unrecognized:
        handle_interactive_choice(command, row, state);
        return {};
    }
  }
}

}  // namespace

Result<int> run_interactive_merge(const std::string& left_path,
                                  const std::string& right_path,
                                  const cli::sdiff::SdiffOptions& options) {
  // The process has one thread, so holding the standard streams for the
  // merge needs nothing beyond being their only user while it runs.
  AnswerReader reader;  // standard input

  auto rows = generate_sdiff_lines(left_path, right_path, options);
  if (!rows.ok())
    return std::move(rows.error());
  const RowLayout layout = row_layout(options);
  // Declared after the rows, so that its views of their lines go first.
  InteractiveMergeState state;
  state.output_lines.reserve(rows.value().size());
  std::string line;  // one buffer for every shown row

  for (const SdiffLine& row : rows.value()) {
    if (state.quit_requested)
      break;
    if (row.kind == SdiffLineKind::Common) {
      // The left file's form; a blank line of the right file alone, kept
      // as common by the blank-line option, adds nothing.
      if (row.left_text)
        state.output_lines.push_back(*row.left_text);
      continue;
    }
    if (Result<void> shown = show_row(row, layout, line); !shown.ok()) {
      return std::move(shown.error());
    }
    ++state.difference_count;
    if (state.silent_mode) {
      if (row.left_text)
        state.output_lines.push_back(*row.left_text);
      continue;
    }
    if (Result<void> answered = answer_row(row, reader, state);
        !answered.ok()) {
      return std::move(answered.error());
    }
  }

  // Only now, with every input read and every answer in, is an existing
  // output file (possibly one of the inputs) touched.
  if (Result<void> written =
          write_merged_file(*options.output, state.output_lines);
      !written.ok()) {
    return std::move(written.error());
  }
  return state.difference_count > 0 ? 1 : 0;
}

}  // namespace sdiff
