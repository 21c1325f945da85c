#include "sdiff/in_place_file.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sdiff/merged_lines.h"

namespace sdiff {

io_utils::Result<void> write_in_place(io_utils::FileDescriptor fd,
                                      const std::string& path,
                                      std::span<const std::string_view> lines) {
  struct stat status;
  if (::fstat(fd.get(), &status) != 0)
    return create_failed(path, errno);
  // Only a regular file has content to drop; a device or a FIFO has none.
  if (S_ISREG(status.st_mode) && ::ftruncate(fd.get(), 0) != 0)
    return create_failed(path, errno);
  if (io_utils::Result<void> written = write_lines(fd.get(), lines);
      !written.ok())
    return written;
  if (const int error = fd.close(); error != 0)
    return flush_failed(error);
  return {};
}

}  // namespace sdiff
