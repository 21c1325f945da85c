// Telling whether two paths name one file, by device and inode.
#include "io_utils/same_file.h"

#include <sys/stat.h>

namespace io_utils {

bool same_file(const std::string& left, const std::string& right) {
  struct stat left_status;
  struct stat right_status;
  if (::stat(left.c_str(), &left_status) != 0)
    return false;
  if (::stat(right.c_str(), &right_status) != 0)
    return false;
  return left_status.st_dev == right_status.st_dev &&
         left_status.st_ino == right_status.st_ino;
}

}  // namespace io_utils
