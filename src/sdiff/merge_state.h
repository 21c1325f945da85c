// InteractiveMergeState: what the merge has taken so far.
#ifndef VRELSDIFF_SDIFF_MERGE_STATE_H_
#define VRELSDIFF_SDIFF_MERGE_STATE_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "io_utils/page_memory.h"

namespace sdiff {

struct InteractiveMergeState {
  // The merged file, line by line: views of the rows' lines, which outlive
  // the state, or of the lines in `edited_lines`.
  std::vector<std::string_view, io_utils::PageAllocator<std::string_view>>
      output_lines;
  // The lines the editor gave back. A deque never moves its elements, so
  // the views of them stay valid while it grows.
  std::deque<std::string> edited_lines;
  std::uint64_t difference_count = 0;  // differing rows shown
  bool silent_mode = false;  // take every later left text without asking
  bool quit_requested = false;
};

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGE_STATE_H_
