// The merge prompt's command language.
#ifndef VRELSDIFF_SDIFF_MERGE_COMMANDS_H_
#define VRELSDIFF_SDIFF_MERGE_COMMANDS_H_

#include <string_view>

#include "sdiff/merge.h"
#include "sdiff/rows.h"

namespace sdiff {

enum class InteractiveCommandKind {
  Left,
  Right,
  Both,
  Edit,
  EditLeft,
  EditRight,
  Skip,
  Quit,
  Help,
  Silent,
  Unrecognized,
};

struct InteractiveCommand {
  InteractiveCommandKind kind;

  // Trims white space, lower-cases and matches the whole answer.
  static InteractiveCommand parse(std::string_view answer);
};

// Appends the texts a Left, Right, Both or Silent command takes; any other
// command changes nothing.
void handle_interactive_choice(InteractiveCommand command, const SdiffLine& row,
                               InteractiveMergeState& state);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGE_COMMANDS_H_
