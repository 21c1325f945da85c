#include "sdiff/editor.h"

namespace sdiff {

io_utils::Result<std::vector<std::string>> launch_editor_with_content(
    std::string_view text) {
  (void)text;
  return std::vector<std::string>{};  // TODO
}

}  // namespace sdiff
