// Whether two paths name one file.
#ifndef VRELSDIFF_IO_UTILS_SAME_FILE_H_
#define VRELSDIFF_IO_UTILS_SAME_FILE_H_

#include <string>

namespace io_utils {

// True iff both paths can be examined (links followed) and have the same
// device and inode numbers.
bool same_file(const std::string& left, const std::string& right);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_SAME_FILE_H_
