// Writing the merged lines to the output file.
#ifndef VRELSDIFF_SDIFF_MERGED_FILE_H_
#define VRELSDIFF_SDIFF_MERGED_FILE_H_

#include <span>
#include <string>
#include <string_view>

#include "io_utils/result.h"

namespace sdiff {

// Writes each line followed by "\n" to `path` through one 8192-byte buffer.
// A regular file with one name, or a path that names nothing yet, gets the
// lines whole or keeps its old content: they go to a new file in the same
// folder, stored and closed, that then takes its place by rename, with the
// old file's owner, group, extended attributes (access-control lists among
// them) and permission bits, or 0666 less the umask when new. A symbolic
// link stays and the file it leads to is replaced. Anything else (a device,
// a FIFO, a file with more names, a file whose owner, group or attributes
// the new one cannot take, a folder where no new file may be made) is
// written in place; a regular file there keeps its old content when the
// lines cannot fit, and otherwise on failure keeps what reached it. An
// existing file that this process may not write is refused before anything
// is written. SIGINT, SIGTERM and SIGHUP while the new file exists remove
// it before they end the process.
io_utils::Result<void> write_merged_file(
    const std::string& path, std::span<const std::string_view> lines);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGED_FILE_H_
