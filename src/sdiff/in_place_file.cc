// Writing in place checks for room before it changes a byte, since a write
// that fails half-way has nothing whole to fall back on.
#include "sdiff/in_place_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "sdiff/merged_lines.h"

namespace sdiff {
namespace {

using io_utils::Result;

// Errors of a reservation that say the blocks are not there to be had;
// any other (a file system that cannot reserve, say) leaves the question
// to the writing itself.
bool is_lack_of_room(int error) {
  return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

int reserve(int fd, std::uint64_t size) {
  int result;
  do {
    result = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

// Whether the regular file `status` describes can take `lines` from its
// start; if not, the failure their writing would have reported.
Result<void> check_room(int fd, const struct stat& status,
                        std::span<const std::string_view> lines) {
  const std::uint64_t size = merged_size(lines);
  rlimit limit;
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 &&
      limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
    return predicted_failure(lines, limit.rlim_cur, EFBIG);
  if (size == 0)
    return {};
  const int error = reserve(fd, size);
  if (error == 0 || !is_lack_of_room(error))
    return {};
  // A reservation that failed part-way may keep blocks beyond the end of
  // the file; cutting it to its own length gives them back.
  struct stat after;
  if (::fstat(fd, &after) == 0 && after.st_blocks > status.st_blocks)
    (void)::ftruncate(fd, status.st_size);
  // Writing over the old content needs no new blocks, so the writing would
  // have failed first past the blocks the file has.
  const std::uint64_t allocated =
      static_cast<std::uint64_t>(status.st_blocks) * 512;
  return predicted_failure(lines, allocated, error);
}

}  // namespace

Result<void> write_in_place(io_utils::FileDescriptor fd,
                            const std::string& path,
                            std::span<const std::string_view> lines) {
  struct stat status;
  if (::fstat(fd.get(), &status) != 0)
    return create_failed(path, errno);
  // Only a regular file has content to keep or to cut; a device or a FIFO
  // has none.
  const bool regular = S_ISREG(status.st_mode);
  if (regular) {
    if (Result<void> room = check_room(fd.get(), status, lines); !room.ok())
      return room;
  }
  if (Result<void> written = write_lines(fd.get(), lines); !written.ok())
    return written;
  if (regular &&
      ::ftruncate(fd.get(), static_cast<off_t>(merged_size(lines))) != 0)
    return create_failed(path, errno);
  if (const int error = fd.close(); error != 0)
    return flush_failed(error);
  return {};
}

}  // namespace sdiff
