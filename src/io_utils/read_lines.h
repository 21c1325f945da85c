// Reading an input file whole into lines and their comparison forms.
#ifndef VRELSDIFF_IO_UTILS_READ_LINES_H_
#define VRELSDIFF_IO_UTILS_READ_LINES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "io_utils/result.h"
#include "types/compare_line.h"

namespace io_utils {

// Settings of reading, normalisation and comparison.
struct CompareOptions {
  std::uint64_t tabsize = 8;  // tab stops for ignore_tab_expansion; 0 is 8
  bool text = false;          // carried, read by nothing
  bool strip_trailing_cr = false;
  bool ignore_case = false;
  bool ignore_space_change = false;
  bool ignore_all_space = false;
  bool ignore_trailing_space = false;
  bool ignore_tab_expansion = false;
  bool ignore_blank_lines = false;
};

// The file's lines in order, each without "\n" and one "\r" before it.
Result<std::vector<std::string>> read_file_lines(const std::string& path);

// The file's lines as CompareLine records numbered from 1.
Result<std::vector<types::CompareLine>> read_and_normalize(
    const std::string& path, const CompareOptions& options);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_READ_LINES_H_
