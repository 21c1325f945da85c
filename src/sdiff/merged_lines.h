// The merged lines as the output file gets them, each followed by "\n"
// through one buffer of 8192 bytes, and the messages of the writing.
#ifndef VRELSDIFF_SDIFF_MERGED_LINES_H_
#define VRELSDIFF_SDIFF_MERGED_LINES_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "io_utils/diff_error.h"
#include "io_utils/result.h"

namespace sdiff {

// Writes each line and then "\n" to `fd`: a piece larger than the room left
// in the buffer first sends the buffer on, and a piece as large as the
// whole buffer then goes straight to the file. A failure is "Write error: "
// or, in the final flush, "Flush error: " and the I/O error's text; what is
// still buffered then gets one more try, whose result is ignored.
io_utils::Result<void> write_lines(int fd,
                                   std::span<const std::string_view> lines);

// The size of the file that write_lines makes.
std::uint64_t merged_size(std::span<const std::string_view> lines);

// What write_lines reports, writing from the start of a file, when the
// file takes only its first `room` bytes and fails with `error` beyond
// them. Always an error: without a write that passes `room`, the one the
// final flush would give.
io_utils::DiffError predicted_failure(std::span<const std::string_view> lines,
                                      std::uint64_t room, int error);

// "Cannot create output file '<path>': " and the text of `error`.
io_utils::DiffError create_failed(const std::string& path, int error);

// "Flush error: " and the text of `error`.
io_utils::DiffError flush_failed(int error);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGED_LINES_H_
