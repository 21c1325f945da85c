// The side-by-side rows of two files.
#ifndef VRELSDIFF_SDIFF_ROWS_H_
#define VRELSDIFF_SDIFF_ROWS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/sdiff.h"
#include "io_utils/result.h"

namespace sdiff {

enum class SdiffLineKind : std::uint8_t {
  Common,     // lines matched by the comparison, or of a dropped blank edit
  Changed,    // the i-th left and right lines of a Change
  LeftOnly,   // a left line without a partner
  RightOnly,  // a right line without a partner
};

// A side's number is present exactly when its text is.
struct SdiffLine {
  std::optional<std::uint64_t> left_line_number;
  std::optional<std::uint64_t> right_line_number;
  std::optional<std::string> left_text;
  std::optional<std::string> right_text;
  SdiffLineKind kind = SdiffLineKind::Common;
};

// Reads the left file, then the right one, compares them and walks the edit
// script into rows.
io_utils::Result<std::vector<SdiffLine>> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_ROWS_H_
