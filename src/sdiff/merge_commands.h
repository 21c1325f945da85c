// The merge prompt's command language: parsing an answer and applying the
// commands that take one side or both sides of a row.
#ifndef VRELSDIFF_SDIFF_MERGE_COMMANDS_H_
#define VRELSDIFF_SDIFF_MERGE_COMMANDS_H_

#include <cstdint>
#include <string_view>

#include "sdiff/merge_state.h"
#include "sdiff/rows.h"

namespace sdiff {

enum class InteractiveCommandKind : std::uint8_t {
  Left,          // "l", "1", "<"
  Right,         // "r", "2", ">"
  Both,          // "b", "3"
  Edit,          // "e"
  EditLeft,      // "el"
  EditRight,     // "er"
  Skip,          // "s", or an empty answer
  Quit,          // "q"
  Help,          // "?", "h", "help"
  Silent,        // "silent"
  Unrecognized,  // anything else; resolves the row like Skip
};

struct InteractiveCommand {
  // Lets callers write InteractiveCommand::Left.
  using enum InteractiveCommandKind;

  InteractiveCommandKind kind;

  // Trims white space from both ends, lower-cases and matches the whole
  // answer; never fails. The answer may still hold its line end.
  static InteractiveCommand parse(std::string_view answer);

  friend bool operator==(InteractiveCommand, InteractiveCommand) = default;
};

// Appends the texts a Left, Right, Both or Silent command takes (Silent also
// sets silent_mode); any other command changes nothing.
void handle_interactive_choice(InteractiveCommand command, const SdiffLine& row,
                               InteractiveMergeState& state);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGE_COMMANDS_H_
