// CompareOptions: the settings of reading, normalisation and comparison.
#ifndef VRELSDIFF_IO_UTILS_COMPARE_OPTIONS_H_
#define VRELSDIFF_IO_UTILS_COMPARE_OPTIONS_H_

#include <cstdint>

namespace io_utils {

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

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_COMPARE_OPTIONS_H_
