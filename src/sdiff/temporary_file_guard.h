// The merge's temporary file, removed when SIGINT, SIGTERM or SIGHUP ends
// the process while it still has its temporary name.
#ifndef VRELSDIFF_SDIFF_TEMPORARY_FILE_GUARD_H_
#define VRELSDIFF_SDIFF_TEMPORARY_FILE_GUARD_H_

#include <sys/types.h>

#include <string>

#include "io_utils/fd_io.h"

namespace sdiff {

// Makes `path` exclusively, for writing, with `mode`. Until the file is
// renamed or removed below, each of the three signals that the process
// does not ignore first removes it and then ends the process as it would
// have without a handler. One such file exists at a time.
io_utils::OpenedFile create_guarded_file(const std::string& path, mode_t mode);

// Renames the guarded file to `target` and returns 0, after which the
// signals act as they did before the file was made; or returns the errno
// of the rename, and the file stays guarded.
int rename_guarded_file(const std::string& target);

// Removes the guarded file; the signals then act as they did before.
void remove_guarded_file();

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_TEMPORARY_FILE_GUARD_H_
