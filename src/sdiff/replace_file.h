// The merged file as a new file that takes the old one's place whole, by
// rename, once it is stored.
#ifndef VRELSDIFF_SDIFF_REPLACE_FILE_H_
#define VRELSDIFF_SDIFF_REPLACE_FILE_H_

#include <sys/stat.h>

#include <span>
#include <string>
#include <string_view>

#include "io_utils/result.h"

namespace sdiff {

// The file a new one is to replace: open, and its status.
struct ReplacedFile {
  int fd = -1;
  struct stat status;
};

// Writes the lines to a new file in the folder of `target` that then
// replaces `old` there, or takes the name `target` when `old` is null. The
// new file has the old one's owner, group, extended attributes and
// permission bits, or 0666 less the umask when there is no old one. False,
// with nothing changed, where that cannot be done and the caller is to
// write in place. On every failure the new file is gone; `path` is the
// output path for the messages.
io_utils::Result<bool> replace_file(const std::string& target,
                                    const ReplacedFile* old,
                                    std::span<const std::string_view> lines,
                                    const std::string& path);

// The folder part of `path` with its final "/", or "" for a bare name:
// where a file beside `path` is made, and what a relative symbolic link at
// `path` starts from.
std::string folder_of(const std::string& path);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_REPLACE_FILE_H_
