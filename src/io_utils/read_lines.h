// Reading an input file whole into lines and their comparison forms.
#ifndef VRELSDIFF_IO_UTILS_READ_LINES_H_
#define VRELSDIFF_IO_UTILS_READ_LINES_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io_utils/compare_options.h"
#include "io_utils/fixed_block.h"
#include "io_utils/page_memory.h"
#include "io_utils/result.h"
#include "types/compare_line.h"

namespace io_utils {

// A file's lines in order, each without "\n" and one "\r" before it. The
// lines are views into the file's bytes, which the list owns; moving the
// list does not move the bytes.
class FileLines {
 public:
  std::span<const std::string_view> lines() const { return lines_; }

 private:
  friend Result<FileLines> read_file_lines(const std::string& path);

  ByteBuffer bytes_;
  std::vector<std::string_view, PageAllocator<std::string_view>> lines_;
};

// A file's lines as CompareLine records numbered from 1, with the storage
// their views point into: the file's bytes, and the comparison forms of the
// lines that the options change (every other line is compared as it
// reads). Moving the list does not move the bytes.
class CompareLines {
 public:
  std::span<const types::CompareLine> lines() const { return lines_; }

 private:
  friend Result<CompareLines> read_and_normalize(const std::string& path,
                                                 const CompareOptions& options);

  ByteBuffer bytes_;
  std::vector<FixedBlock> forms_;  // filled in turn
  std::vector<types::CompareLine, PageAllocator<types::CompareLine>> lines_;
};

Result<FileLines> read_file_lines(const std::string& path);

Result<CompareLines> read_and_normalize(const std::string& path,
                                        const CompareOptions& options);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_READ_LINES_H_
