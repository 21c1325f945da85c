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

// One row of the listing. A side's number is present exactly when its text
// is; a blank line is an empty text, never an absent one.
//
// Changed rows hold both sides, LeftOnly only the left, RightOnly only the
// right. Common rows usually hold both sides, but the lines of a blank edit
// dropped by ignore_blank_lines are paired only while both of its runs have
// lines: the surplus of the longer run becomes Common rows with one side
// alone (left text and number only, or right text and number only). Such a
// row is never a difference; code that takes the left text of a Common row
// must take nothing when it is absent.
struct SdiffLine {
  std::optional<std::uint64_t> left_line_number;
  std::optional<std::uint64_t> right_line_number;
  std::optional<std::string> left_text;
  std::optional<std::string> right_text;
  SdiffLineKind kind = SdiffLineKind::Common;
};

// Reads the left file, then the right one, compares them and walks the edit
// script into rows: every line of each file in exactly one row, in file
// order on each side.
io_utils::Result<std::vector<SdiffLine>> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_ROWS_H_
