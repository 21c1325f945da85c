// The editing step: a text reworked in the user's editor.
#ifndef VRELSDIFF_SDIFF_EDITOR_H_
#define VRELSDIFF_SDIFF_EDITOR_H_

#include <string>
#include <string_view>
#include <vector>

#include "io_utils/result.h"

namespace sdiff {

// Writes `text` to the temporary edit file, runs the editor on it and
// returns the saved lines without conflict-marker lines. Something that
// stands at the temporary path and is not a plain file of our own with a
// single name (a symbolic link, someone else's file, a hard link, a FIFO)
// is left alone and the step fails before the editor runs.
io_utils::Result<std::vector<std::string>> launch_editor_with_content(
    std::string_view text);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_EDITOR_H_
