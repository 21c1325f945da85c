// Writing the merged lines to the output file.
#ifndef VRELSDIFF_SDIFF_MERGED_FILE_H_
#define VRELSDIFF_SDIFF_MERGED_FILE_H_

#include <span>
#include <string>
#include <string_view>

#include "io_utils/result.h"

namespace sdiff {

// Creates or truncates `path` (0666 less the umask when new) and writes each
// line followed by "\n" through one 8192-byte buffer. On failure the file
// keeps what reached it.
io_utils::Result<void> write_merged_file(
    const std::string& path, std::span<const std::string_view> lines);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGED_FILE_H_
