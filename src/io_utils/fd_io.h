// Whole writes to a file descriptor, with the error texts the modes report.
#ifndef VRELSDIFF_IO_UTILS_FD_IO_H_
#define VRELSDIFF_IO_UTILS_FD_IO_H_

#include <string_view>

#include "io_utils/result.h"

namespace io_utils {

// Writes every byte of `data` to `fd`, retrying interrupted and partial
// writes. On failure the error is a Message holding the I/O error's text
// alone: the errno text, or `zero_write_text` when the system accepted zero
// bytes.
Result<void> write_all(int fd, std::string_view data,
                       std::string_view zero_write_text = kWriteZeroText);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_FD_IO_H_
