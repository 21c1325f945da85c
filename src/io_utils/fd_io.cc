// Writing a whole buffer to a descriptor, turning failures into DiffError.
#include "io_utils/fd_io.h"

#include <errno.h>
#include <unistd.h>

#include <string>

namespace io_utils {

Result<void> write_all(int fd, std::string_view data,
                       std::string_view zero_write_text) {
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return DiffError::message(os_error_text(errno));
    }
    if (written == 0)
      return DiffError::message(std::string(zero_write_text));
    data.remove_prefix(static_cast<size_t>(written));
  }
  return {};
}

}  // namespace io_utils
