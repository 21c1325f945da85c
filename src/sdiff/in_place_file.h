// The merged file written into the file that is already there, for what no
// new file can replace.
#ifndef VRELSDIFF_SDIFF_IN_PLACE_FILE_H_
#define VRELSDIFF_SDIFF_IN_PLACE_FILE_H_

#include <span>
#include <string>
#include <string_view>

#include "io_utils/fd_io.h"
#include "io_utils/result.h"

namespace sdiff {

// Writes the lines to the file open as `fd`. A regular file keeps its old
// content when the lines cannot all fit, under the file size limit or in
// the room its file system can reserve, and the failure is the one the
// writing would have met; otherwise it is written from its start and then
// cut to the new length. Anything else (a device, a FIFO) just takes the
// lines. A write that fails later leaves what reached the file. `path` is
// the output path for the messages.
io_utils::Result<void> write_in_place(io_utils::FileDescriptor fd,
                                      const std::string& path,
                                      std::span<const std::string_view> lines);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_IN_PLACE_FILE_H_
