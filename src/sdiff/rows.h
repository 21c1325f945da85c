// The side-by-side rows of two files.
#ifndef VRELSDIFF_SDIFF_ROWS_H_
#define VRELSDIFF_SDIFF_ROWS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/sdiff_options.h"
#include "io_utils/read_lines.h"
#include "io_utils/result.h"

namespace sdiff {

enum class SdiffLineKind : std::uint8_t {
  Common,     // lines matched by the comparison, or of a dropped blank edit
  Changed,    // the i-th left and right lines of a Change
  LeftOnly,   // a left line without a partner
  RightOnly,  // a right line without a partner
};

// One row of the listing. A side's number is present exactly when its text
// is; a blank line is an empty text, never an absent one. The texts are
// views of the lines as read, which the row list owns.
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
  std::optional<std::string_view> left_text;
  std::optional<std::string_view> right_text;
  SdiffLineKind kind = SdiffLineKind::Common;
};

// Consecutive rows of one kind whose lines follow each other in both files:
// row t of the run shows left line left_first + t when the run has a left
// side, and right line right_first + t when it has a right side (0-based
// list positions). A file's common stretch, however long, is one run.
struct RowRun {
  SdiffLineKind kind = SdiffLineKind::Common;
  bool has_left = false;
  bool has_right = false;
  std::uint64_t left_first = 0;
  std::uint64_t right_first = 0;
  std::uint64_t count = 0;
};

// The ordered rows of two files, with the two line lists that they show:
// the rows are valid for as long as the list is. Rows are made one at a
// time as the list is walked, from runs of rows.
class SdiffLines {
 public:
  class Iterator {
   public:
    using value_type = SdiffLine;
    using difference_type = std::ptrdiff_t;

    SdiffLine operator*() const;
    Iterator& operator++();
    bool operator==(const Iterator&) const = default;

   private:
    friend class SdiffLines;
    const SdiffLines* rows_ = nullptr;
    std::size_t run_ = 0;       // the run of the current row
    std::uint64_t offset_ = 0;  // the row's place in its run
  };

  Iterator begin() const;
  Iterator end() const;
  std::uint64_t size() const;

 private:
  friend io_utils::Result<SdiffLines> generate_sdiff_lines(
      const std::string& left_path, const std::string& right_path,
      const cli::sdiff::SdiffOptions& options);

  io_utils::CompareLines left_;
  io_utils::CompareLines right_;
  std::vector<RowRun> runs_;
};

// Reads the left file, then the right one, compares them and walks the edit
// script into rows: every line of each file in exactly one row, in file
// order on each side.
io_utils::Result<SdiffLines> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_ROWS_H_
