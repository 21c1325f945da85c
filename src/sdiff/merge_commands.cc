#include "sdiff/merge_commands.h"

namespace sdiff {

InteractiveCommand InteractiveCommand::parse(std::string_view answer) {
  (void)answer;
  return {InteractiveCommandKind::Skip};  // TODO
}

void handle_interactive_choice(InteractiveCommand command, const SdiffLine& row,
                               InteractiveMergeState& state) {
  (void)command;
  (void)row;
  (void)state;  // TODO
}

}  // namespace sdiff
